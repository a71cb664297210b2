#include "shutdown/stop_signals.h"

#include "serial/emergency_byte.h"
#include "shutdown/finish_first.h"

#include <QSocketNotifier>
#include <QTextStream>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <iterator>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};
struct sigaction g_previous[std::size(kSignals)];
bool g_installed[std::size(kSignals)];

// The handler may only write to descriptors: the event loop reads the first
// pair, the deadline's thread the second.
int g_loop[2] = {-1, -1};
int g_deadline[2] = {-1, -1};
// Set by the handler itself, so that a wait that looks after its next
// event sees it however that event was handled.
std::atomic<bool> g_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void on_signal(int signal)
{
    const int saved = errno;
    g_requested.store(true);
    const char number = static_cast<char>(signal);
    [[maybe_unused]] ssize_t n = ::send(g_loop[0], &number, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    n = ::send(g_deadline[0], &number, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    errno = saved;
}

void close_pair(int (&pair)[2])
{
    for (int& fd : pair) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

}  // namespace

StopSignals::StopSignals(const QString& program, bool closedOutputStops) : program_(program)
{
    g_requested.store(false);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_loop) != 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_deadline) != 0) {
        close_pair(g_loop);
        return;
    }
    notifier_ = new QSocketNotifier(g_loop[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::onReadable);
    deadline_ = std::thread(&StopSignals::watchDeadline, this, g_deadline[1]);
    FinishFirst::wakeOnEnd(g_deadline[0]);

    struct sigaction sa = {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    // No SA_RESETHAND: a second signal must not reach the default action.
    sa.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        g_installed[i] = kSignals[i] != SIGPIPE || closedOutputStops;
        if (g_installed[i])
            ::sigaction(kSignals[i], &sa, &g_previous[i]);
    }
}

StopSignals::~StopSignals()
{
    if (!notifier_)
        return;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        if (g_installed[i])
            ::sigaction(kSignals[i], &g_previous[i], nullptr);
    FinishFirst::wakeOnEnd(-1);
    g_requested.store(false);
    // The deadline's thread sees its pair close and ends.
    ::shutdown(g_deadline[0], SHUT_RDWR);
    deadline_.join();
    close_pair(g_deadline);
    close_pair(g_loop);
}

bool StopSignals::requested()
{
    return g_requested.load();
}

void StopSignals::onReadable()
{
    char numbers[16];
    ssize_t n;
    while ((n = ::read(g_loop[1], numbers, sizeof numbers)) > 0) {
        if (caught_ != 0)
            continue;
        caught_ = numbers[0];
        if (FinishFirst::active())
            QTextStream(stderr) << program_
                                << ": the firmware update goes on to its end, since an ESC left with half an image "
                                   "may not start again; the program ends after it\n";
        emit stopRequested(caught_);
    }
}

// Runs on its own thread from the start, so that the bound holds even when
// the event loop is held up.
void StopSignals::watchDeadline(int readEnd)
{
    using Clock = std::chrono::steady_clock;
    // Bytes: a signal's number, or 0 when the last FinishFirst has ended.
    char first = 0;
    do {
        if (::read(readEnd, &first, 1) != 1)
            return;  // the owner has ended without a signal
    } while (first == 0);
    auto deadline = Clock::now() + std::chrono::milliseconds(kDeadlineMs);
    bool wasHeld = FinishFirst::active();
    for (;;) {
        const bool held = FinishFirst::active();
        if (wasHeld && !held)  // a firmware update has ended: the shut-down goes on from here
            deadline = Clock::now() + std::chrono::milliseconds(kDeadlineMs);
        wasHeld = held;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (!held && left <= 0)
            break;
        pollfd more{readEnd, POLLIN, 0};
        if (::poll(&more, 1, held ? -1 : static_cast<int>(left)) > 0) {
            char next;
            if (::read(readEnd, &next, 1) != 1)
                return;  // the owner has ended in time
            if (next == 0)  // one began and ended between two looks
                deadline = Clock::now() + std::chrono::milliseconds(kDeadlineMs);
        }
    }
    emergency_byte::send();
    const QByteArray text = (program_ + QStringLiteral(": the shut-down took longer than %1 s; ended at once\n")
                                            .arg(kDeadlineMs / 1000))
                                .toLocal8Bit();
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, text.constData(), static_cast<size_t>(text.size()));
    ::_exit(128 + first);
}
