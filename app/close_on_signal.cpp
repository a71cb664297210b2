#include "app/close_on_signal.h"
#include "serial/link_trace.h"
#include "shutdown/stop_signals.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

namespace {

bool g_closing = false;
bool g_failed = false;

}  // namespace

CloseOnSignal::CloseOnSignal(QWidget* window, StopSignals& stop) : window_(window)
{
    g_closing = g_failed = false;
    connect(&stop, &StopSignals::stopRequested, this, &CloseOnSignal::onSignal);
    if (stop.caught() != 0)
        QTimer::singleShot(0, this, &CloseOnSignal::onSignal);
}

CloseOnSignal::~CloseOnSignal()
{
    g_closing = false;
}

void CloseOnSignal::onSignal()
{
    g_closing = true;
    window_->close();
    // A message box still open would keep the program running.
    QCoreApplication::quit();
}

bool CloseOnSignal::closing()
{
    return g_closing;
}

void CloseOnSignal::beginUnattendedEnd()
{
    g_closing = true;
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
