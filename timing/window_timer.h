#pragma once
// A window timer as the program's procedures expect it: created stopped,
// start() on a running timer keeps its period running (it does not restart
// it, unlike QTimer::start), stop() on a stopped timer does nothing.
//
// A tick that arrives while `deferWhile` says an exchange is in progress is
// held back and delivered when flushDeferred() runs after the exchange; a stop()
// in between cancels it, as it would cancel a tick still in the queue.
//
// A precise timer keeps its period to the microsecond (see PreciseClock);
// a coarse one is a plain QTimer.

#include "timing/precise_clock.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class WindowTimer : public QObject {
    Q_OBJECT
public:
    WindowTimer(int intervalMs, Qt::TimerType type = Qt::CoarseTimer, QObject* parent = nullptr);
    ~WindowTimer() override;

    void start();
    void stop();
    bool isActive() const;  // running, or holding a deferred tick
    void setInterval(int ms);
    int interval() const;

    void setDeferWhile(std::function<bool()> busy);
    void flushDeferred();

signals:
    void tick();

private:
    bool running() const;
    void halt();  // the period stops; a held-back tick stays
    void onTimeout();
    QTimer timer_;
    std::unique_ptr<PreciseClock> clock_;  // set for a precise timer
    std::function<bool()> busy_;
    bool deferred_ = false;
};
