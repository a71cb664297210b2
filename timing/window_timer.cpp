#include "timing/window_timer.h"

WindowTimer::WindowTimer(int intervalMs, Qt::TimerType type, QObject* parent) : QObject(parent)
{
    timer_.setInterval(intervalMs);
    timer_.setTimerType(type);
    if (type == Qt::PreciseTimer)
        clock_ = PreciseClock::create();
    if (clock_)
        connect(clock_.get(), &PreciseClock::expired, this, &WindowTimer::onTimeout);
    else
        connect(&timer_, &QTimer::timeout, this, &WindowTimer::onTimeout);
}

WindowTimer::~WindowTimer() = default;

bool WindowTimer::running() const
{
    return clock_ ? clock_->isActive() : timer_.isActive();
}

void WindowTimer::start()
{
    if (isActive())
        return;
    if (clock_)
        clock_->start(timer_.interval());
    else
        timer_.start();
}

void WindowTimer::halt()
{
    if (clock_)
        clock_->stop();
    else
        timer_.stop();
}

void WindowTimer::stop()
{
    halt();
    deferred_ = false;
}

bool WindowTimer::isActive() const
{
    return running() || deferred_;
}

void WindowTimer::setInterval(int ms)
{
    // As QTimer::setInterval: a running timer starts its new period now.
    timer_.setInterval(ms);
    if (clock_ && clock_->isActive())
        clock_->start(ms);
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
        halt();
        deferred_ = true;
        return;
    }
    emit tick();
}
