#include "app/close_on_signal.h"
#include "serial/link_trace.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

bool g_closing = false;
bool g_failed = false;

}  // namespace

CloseOnSignal::CloseOnSignal(QWidget* window) : window_(window)
{
    g_closing = g_failed = false;
    connect(&termination_, &TerminationSignals::stopRequested, this, &CloseOnSignal::onSignal);
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

bool CloseOnSignal::failed()
{
    return g_failed;
}

void CloseOnSignal::reportFailure(const QString& text)
{
    g_failed = true;
    qCWarning(lcLink).noquote() << text;
}
