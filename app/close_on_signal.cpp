#include "app/close_on_signal.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QWidget>

#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace {

// The handler may only write to a descriptor; the event loop reads the other end.
int g_pipe[2] = {-1, -1};
struct sigaction g_previous[2];
constexpr int kSignals[2] = {SIGTERM, SIGINT};
bool g_closing = false;
bool g_failed = false;

Q_LOGGING_CATEGORY(lcLink, "zelt.link")

void on_signal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[0], &byte, 1);
    errno = saved;
}

}  // namespace

CloseOnSignal::CloseOnSignal(QWidget* window) : window_(window)
{
    g_closing = g_failed = false;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CloseOnSignal::onSignal);

    struct sigaction sa = {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int i = 0; i < 2; ++i)
        ::sigaction(kSignals[i], &sa, &g_previous[i]);
}

CloseOnSignal::~CloseOnSignal()
{
    g_closing = false;
    if (!notifier_)
        return;
    for (int i = 0; i < 2; ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void CloseOnSignal::onSignal()
{
    char bytes[16];
    while (::read(g_pipe[1], bytes, sizeof bytes) > 0) {
    }
    g_closing = true;
    window_->close();
    // A message box still open would keep the program running.
    QCoreApplication::quit();
}

bool CloseOnSignal::closing()
{
    return g_closing;
}

bool CloseOnSignal::failed()
{
    return g_failed;
}

void CloseOnSignal::reportFailure(const QString& text)
{
    g_failed = true;
    qCWarning(lcLink).noquote() << text;
}
