#include "window_timer.h"

WindowTimer::WindowTimer(int intervalMs, Qt::TimerType type, QObject* parent) : QObject(parent)
{
    timer_.setInterval(intervalMs);
    timer_.setTimerType(type);
    connect(&timer_, &QTimer::timeout, this, &WindowTimer::onTimeout);
}

void WindowTimer::start()
{
    if (!isActive())
        timer_.start();
}

void WindowTimer::stop()
{
    timer_.stop();
    deferred_ = false;
}

bool WindowTimer::isActive() const
{
    return timer_.isActive() || deferred_;
}

void WindowTimer::setInterval(int ms)
{
    timer_.setInterval(ms);
}

int WindowTimer::interval() const
{
    return timer_.interval();
}

void WindowTimer::setDeferWhile(std::function<bool()> busy)
{
    busy_ = std::move(busy);
}

void WindowTimer::flushDeferred()
{
    if (!deferred_)
        return;
    deferred_ = false;
    emit tick();
}

void WindowTimer::onTimeout()
{
    if (busy_ && busy_()) {
        timer_.stop();
        deferred_ = true;
        return;
    }
    emit tick();
}
