#include "link/termination_signals.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace {

// The handler may only write to a descriptor; the event loop reads the other end.
int g_pair[2] = {-1, -1};
constexpr int kSignals[2] = {SIGINT, SIGTERM};
struct sigaction g_previous[2];

void on_signal(int signal)
{
    const int saved = errno;
    const char number = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_pair[0], &number, 1);
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_pair) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::onReadable);
    struct sigaction sa = {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int i = 0; i < 2; ++i)
        ::sigaction(kSignals[i], &sa, &g_previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_)
        return;
    for (int i = 0; i < 2; ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    ::close(g_pair[0]);
    ::close(g_pair[1]);
    g_pair[0] = g_pair[1] = -1;
}

void TerminationSignals::onReadable()
{
    char numbers[16];
    ssize_t n;
    while ((n = ::read(g_pair[1], numbers, sizeof numbers)) > 0) {
        if (caught_ == 0)
            caught_ = numbers[0];
    }
    if (caught_ != 0)
        emit stopRequested(caught_);
}
