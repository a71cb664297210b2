#include "serial/emergency_byte.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace emergency_byte {
namespace {

// Each entry holds a descriptor and its byte in one word, so that a signal
// handler always reads a pair that belongs together: fd + 1 in the high bits,
// the byte in the low eight; 0 while free, so that the table starts free
// before any code runs.
using Entry = std::atomic<long long>;
static_assert(Entry::is_always_lock_free, "read inside signal handlers");
constexpr long long kFree = 0;

Entry g_entries[kPorts];

constexpr long long pack(int fd, unsigned char byte)
{
    return ((static_cast<long long>(fd) + 1) << 8) | byte;
}

constexpr int fd_of(long long entry)
{
    return static_cast<int>((entry >> 8) - 1);
}

// The port is non-blocking: a full transmit buffer gets short waits, shared
// by all the ports still waiting, up to this many.
constexpr int kRounds = 20;
constexpr int kRoundMs = 50;

}  // namespace

bool arm(int fd, unsigned char byte)
{
    if (fd < 0)
        return false;
    // The port's own entry first: one port never holds two.
    for (Entry& e : g_entries) {
        long long current = e.load();
        while (current != kFree && fd_of(current) == fd) {
            if (e.compare_exchange_weak(current, pack(fd, byte)))
                return true;
        }
    }
    for (Entry& e : g_entries) {
        long long expected = kFree;
        if (e.compare_exchange_strong(expected, pack(fd, byte)))
            return true;
    }
    return false;
}

void release(int fd)
{
    for (Entry& e : g_entries) {
        long long current = e.load();
        while (current != kFree && fd_of(current) == fd && !e.compare_exchange_weak(current, kFree)) {
        }
    }
}

int send() noexcept
{
    const int saved = errno;
    // What is still to go out: fd and byte, taken once so that each port gets
    // its byte once even if its entry changes meanwhile.
    int fds[kPorts];
    unsigned char bytes[kPorts];
    int pending = 0;
    for (Entry& e : g_entries) {
        const long long current = e.load();
        if (current == kFree)
            continue;
        fds[pending] = fd_of(current);
        bytes[pending] = static_cast<unsigned char>(current & 0xFF);
        ++pending;
    }
    int sent = 0;
    for (int round = 0; round < kRounds && pending > 0; ++round) {
        pollfd full[kPorts];
        int waiting = 0;
        for (int i = 0; i < pending; ++i) {
            ssize_t n;
            do {
                n = ::write(fds[i], &bytes[i], 1);
            } while (n < 0 && errno == EINTR);
            if (n == 1) {
                ++sent;
            } else if (n < 0 && errno == EAGAIN) {
                fds[waiting] = fds[i];
                bytes[waiting] = bytes[i];
                full[waiting] = {fds[i], POLLOUT, 0};
                ++waiting;
            }
        }
        pending = waiting;
        if (pending > 0)
            ::poll(full, static_cast<nfds_t>(pending), kRoundMs);
    }
    errno = saved;
    return sent;
}

}  // namespace emergency_byte
