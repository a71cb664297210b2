#include "serial/emergency_byte.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace emergency_byte {
namespace {

// The descriptor and the byte in one word, so that a signal handler always
// reads a pair that belongs together: fd in the high half, the byte in the low
// one; -1 while disarmed.
std::atomic<long long> g_armed{-1};
static_assert(std::atomic<long long>::is_always_lock_free, "read inside signal handlers");

}  // namespace

void arm(int fd, unsigned char byte)
{
    if (fd < 0)
        return;
    g_armed.store((static_cast<long long>(fd) << 8) | byte);
}

void disarm()
{
    g_armed.store(-1);
}

void release(int fd)
{
    long long current = g_armed.load();
    while (current >= 0 && (current >> 8) == fd && !g_armed.compare_exchange_weak(current, -1)) {
    }
}

bool armed()
{
    return g_armed.load() >= 0;
}

bool send() noexcept
{
    const long long current = g_armed.load();
    if (current < 0)
        return false;
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(current & 0xFF);
    const int fd = static_cast<int>(current >> 8);
    // The port is non-blocking: a full transmit buffer gets a short wait.
    ssize_t n = -1;
    for (int tries = 0; tries < 20 && n != 1; ++tries) {
        n = ::write(fd, &byte, 1);
        if (n < 0 && errno == EAGAIN) {
            pollfd out{fd, POLLOUT, 0};
            ::poll(&out, 1, 50);
        } else if (n < 0 && errno != EINTR) {
            break;
        }
    }
    errno = saved;
    return n == 1;
}

}  // namespace emergency_byte
