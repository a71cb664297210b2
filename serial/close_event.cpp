#include "serial/close_event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

std::unique_ptr<CloseEvent> CloseEvent::create()
{
    const int fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<CloseEvent>(new CloseEvent(fd));
}

CloseEvent::~CloseEvent()
{
    ::close(fd_);
}

void CloseEvent::set()
{
    // Nobody reads the counter, so the descriptor stays readable: manual reset.
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(fd_, &one, sizeof one);
}

bool CloseEvent::isSet() const
{
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

bool StopSignals::isSet() const
{
    for (const CloseEvent* e : events_) {
        if (e && e->isSet()) {
            return true;
        }
    }
    return false;
}

int StopSignals::fill(pollfd* out) const
{
    int n = 0;
    for (const CloseEvent* e : events_) {
        if (e) {
            out[n++] = pollfd{e->fd(), POLLIN, 0};
        }
    }
    return n;
}
