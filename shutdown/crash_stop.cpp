#include "shutdown/crash_stop.h"

#include "serial/emergency_byte.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iterator>

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
// What handled each before (the default action, or a sanitizer's report).
struct sigaction g_previous[std::size(kFatalSignals)];

// A stack overflow leaves no room to run the handler on the thread's own stack.
alignas(16) char g_altStack[64 * 1024];

void on_fatal_signal(int signal)
{
    emergency_byte::send();
    for (size_t i = 0; i < std::size(kFatalSignals); ++i)
        if (kFatalSignals[i] == signal)
            ::sigaction(signal, &g_previous[i], nullptr);
    // SA_NODEFER lets the previous action take the signal now.
    ::raise(signal);
}

void on_exit()
{
    // Armed only on the ports whose link has not stopped the motor itself: an
    // exit() called from inside a library (a lost display) ends here.
    emergency_byte::send();
}

}  // namespace

void install_crash_stop()
{
    static std::atomic<bool> installed{false};
    if (installed.exchange(true))
        return;

    stack_t stack{};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof g_altStack;
    ::sigaltstack(&stack, nullptr);

    struct sigaction sa = {};
    sa.sa_handler = on_fatal_signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_NODEFER | SA_ONSTACK;
    for (size_t i = 0; i < std::size(kFatalSignals); ++i)
        ::sigaction(kFatalSignals[i], &sa, &g_previous[i]);
    std::atexit(on_exit);
}
