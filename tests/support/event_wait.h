#pragma once
// Waits for tests and benchmarks that let the event loop run meanwhile. They
// block in the loop until the next event instead of spinning the CPU.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Handles events until cond holds or timeoutMs has passed; returns whether
// cond held. The heartbeat re-checks cond when it depends on another thread
// (a simulator, a pseudo-terminal peer) that posts no event to this one. The
// one-shot wakes the loop at the deadline, so that no wait outlives it by
// more than a millisecond.
inline bool wait_until(const std::function<bool()>& cond, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs, Qt::PreciseTimer);
    QTimer heartbeat;
    heartbeat.start(5);
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        if (!wake.isActive() && !deadline.isForever())
            wake.start(static_cast<int>(deadline.remainingTime()) + 1);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Handles events for ms, e.g. to show that nothing more arrives.
inline void settle(int ms)
{
    wait_until([] { return false; }, ms);
}
