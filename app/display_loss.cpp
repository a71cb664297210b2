#include "app/display_loss.h"

#include "serial/emergency_byte.h"

#include <QCoreApplication>
#include <QString>
#include <QThread>

#include <unistd.h>

#include <atomic>
#include <cstring>

namespace {

// Messages come from any thread.
std::atomic<DisplayLoss*> g_instance{nullptr};
std::atomic<bool> g_handled{false};

void say(const char* text)
{
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, text, strlen(text));
}

}  // namespace

DisplayLoss::DisplayLoss(std::function<void()> lastWords) : lastWords_(std::move(lastWords))
{
    g_instance = this;
    g_handled = false;
    previous_ = qInstallMessageHandler(&DisplayLoss::handle);
}

DisplayLoss::~DisplayLoss()
{
    qInstallMessageHandler(previous_);
    g_instance = nullptr;
}

bool DisplayLoss::isConnectionLost(QtMsgType type, const QString& message)
{
    return (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) &&
           (message.startsWith(QLatin1String("The X11 connection broke")) ||
            message.startsWith(QLatin1String("The Wayland connection broke")) ||
            message.startsWith(QLatin1String("The Wayland connection experienced a fatal error")));
}

void DisplayLoss::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    DisplayLoss* self = g_instance;
    const QtMessageHandler previous = self ? self->previous_ : nullptr;
    if (previous)
        previous(type, context, message);
    if (!self || !isConnectionLost(type, message) || g_handled.exchange(true))
        return;
    emergency_byte::send();
    // The settings are the window's, which only its own thread may read.
    if (QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread() &&
        self->lastWords_) {
        self->lastWords_();
        return;
    }
    say("zelt-esc: the display has gone; the settings could not be written\n");
}
