#include "sim/port_watch.h"

#include <sys/inotify.h>
#include <unistd.h>
#include <algorithm>
#include <cstddef>

namespace sim {

PortWatch::~PortWatch()
{
    stop();
}

bool PortWatch::start(const std::string& path)
{
    stop();
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return false;
    if (inotify_add_watch(fd_, path.c_str(), IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        stop();
        return false;
    }
    holders_ = 0;
    return true;
}

void PortWatch::stop()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    holders_ = 0;
}

bool PortWatch::take_events()
{
    bool last_closed = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = fd_ < 0 ? -1 : read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            return last_closed;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN)
                ++holders_;
            if (event->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
                // A close without a counted open (a holder from before the
                // watch) also leaves nobody on the port.
                holders_ = std::max(0, holders_ - 1);
                if (holders_ == 0)
                    last_closed = true;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

}  // namespace sim
