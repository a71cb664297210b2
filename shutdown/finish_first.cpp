#include "shutdown/finish_first.h"

#include <sys/socket.h>

#include <atomic>

namespace {

std::atomic<int> g_count{0};
std::atomic<int> g_wake{-1};

}  // namespace

FinishFirst::FinishFirst()
{
    ++g_count;
}

FinishFirst::~FinishFirst()
{
    if (--g_count != 0)
        return;
    if (const int socket = g_wake.load(); socket >= 0) {
        const char ended = 0;
        [[maybe_unused]] const ssize_t n = ::send(socket, &ended, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    }
}

bool FinishFirst::active()
{
    return g_count.load() > 0;
}

void FinishFirst::wakeOnEnd(int socket)
{
    g_wake.store(socket);
}
