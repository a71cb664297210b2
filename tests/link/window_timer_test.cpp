#include "timing/window_timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

constexpr double kTickMs = 5.0;

// Runs the event loop, blocking between events, until the timer has ticked
// `ticks` times or `limitMs` has passed; returns the ticks seen.
int run_for_ticks(WindowTimer& timer, int ticks, int limitMs)
{
    int seen = 0;
    const QMetaObject::Connection c = QObject::connect(&timer, &WindowTimer::tick, [&] { ++seen; });
    QTimer guard;  // ends a wait for a tick that never comes
    guard.setSingleShot(true);
    guard.start(limitMs);
    while (seen < ticks && guard.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QObject::disconnect(c);
    return seen;
}

double ms_since(const QElapsedTimer& clock)
{
    return clock.nsecsElapsed() / 1e6;
}

TEST(PreciseWindowTimer, TicksOnItsPeriodNotOnTheNextWholeMillisecond)
{
    WindowTimer timer(static_cast<int>(kTickMs), Qt::PreciseTimer);
    // The loop looks at the timer half a millisecond into the period, when a
    // millisecond poll() would be rounded up to 5 ms and tick at 5.5 ms.
    // Load only makes a tick later, so the earliest of several runs is kept.
    double earliest = 1e9;
    for (int run = 0; run < 10; ++run) {
        QElapsedTimer clock;
        clock.start();
        timer.start();
        QThread::usleep(500);
        ASSERT_EQ(run_for_ticks(timer, 1, 1000), 1);
        const double ms = ms_since(clock);
        timer.stop();
        EXPECT_GE(ms, kTickMs) << "run " << run;
        earliest = std::min(earliest, ms);
    }
    EXPECT_LT(earliest, kTickMs + 0.3);
}

TEST(PreciseWindowTimer, StopTakesBackATickAlreadyDue)
{
    WindowTimer timer(static_cast<int>(kTickMs), Qt::PreciseTimer);
    timer.start();
    QThread::msleep(3 * static_cast<int>(kTickMs));  // due, but the loop has not looked
    timer.stop();
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(run_for_ticks(timer, 1, 50), 0);
}

TEST(PreciseWindowTimer, StopInTheSamePassAsTheExpiryEndsTheTimer)
{
    // Both fall due before the loop looks; whichever ticks first stops the
    // other, whose expiry the loop has already seen.
    WindowTimer first(static_cast<int>(kTickMs), Qt::PreciseTimer);
    WindowTimer second(static_cast<int>(kTickMs), Qt::PreciseTimer);
    int ticks = 0;
    QObject::connect(&first, &WindowTimer::tick, [&] { ++ticks, first.stop(), second.stop(); });
    QObject::connect(&second, &WindowTimer::tick, [&] { ++ticks, first.stop(), second.stop(); });
    first.start();
    second.start();
    QThread::msleep(3 * static_cast<int>(kTickMs));
    run_for_ticks(first, 2, 50);
    EXPECT_EQ(ticks, 1);
}

TEST(PreciseWindowTimer, StartOnARunningTimerKeepsItsPeriod)
{
    WindowTimer timer(100, Qt::PreciseTimer);
    QElapsedTimer clock;
    clock.start();
    timer.start();
    QThread::msleep(60);
    timer.start();  // a restart would tick at 160 ms
    ASSERT_EQ(run_for_ticks(timer, 1, 1000), 1);
    const double ms = ms_since(clock);
    EXPECT_GE(ms, 100.0);
    EXPECT_LT(ms, 150.0);
    EXPECT_TRUE(timer.isActive());  // periodic: it goes on ticking
    EXPECT_EQ(run_for_ticks(timer, 2, 1000), 2);
}

TEST(PreciseWindowTimer, NewIntervalOnARunningTimerStartsFromNow)
{
    WindowTimer timer(1000, Qt::PreciseTimer);
    timer.start();
    QElapsedTimer clock;
    clock.start();
    timer.setInterval(20);
    EXPECT_EQ(timer.interval(), 20);
    ASSERT_EQ(run_for_ticks(timer, 1, 900), 1);
    const double ms = ms_since(clock);
    EXPECT_GE(ms, 20.0);
    EXPECT_LT(ms, 500.0);
}

TEST(PreciseWindowTimer, TickDuringAnExchangeWaitsForItsEnd)
{
    WindowTimer timer(static_cast<int>(kTickMs), Qt::PreciseTimer);
    bool busy = true;
    timer.setDeferWhile([&] { return busy; });
    timer.start();
    EXPECT_EQ(run_for_ticks(timer, 1, 30), 0);
    EXPECT_TRUE(timer.isActive());  // holding the tick
    busy = false;
    int seen = 0;
    QObject::connect(&timer, &WindowTimer::tick, [&] { ++seen; });
    timer.flushDeferred();
    EXPECT_EQ(seen, 1);
    EXPECT_FALSE(timer.isActive());  // the held tick was the last one
}

}  // namespace
