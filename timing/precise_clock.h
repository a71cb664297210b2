#pragma once
// A periodic tick that arrives when its period is up, to the microsecond.
// A QTimer's expiry reaches the event loop through a poll() whose time-out
// is rounded up to whole milliseconds, so a 5 ms timer ticks after 5 to 6 ms;
// a timerfd watched by the event loop wakes it at the exact time instead.
// Ticks that fall due while the loop is busy come as one, as with QTimer.

#include <QObject>
#include <memory>

class QSocketNotifier;

class PreciseClock : public QObject {
    Q_OBJECT
public:
    // Null when the system has no timerfd to give.
    static std::unique_ptr<PreciseClock> create(QObject* parent = nullptr);
    ~PreciseClock() override;

    void start(int intervalMs);  // (re)starts the period from now
    void stop();                 // no tick follows, not even one already due
    bool isActive() const { return active_; }

signals:
    void expired();

private:
    explicit PreciseClock(int fd, QObject* parent);
    bool takeExpiry();  // true when a period had ended
    void onReadable();

    int fd_;
    QSocketNotifier* notifier_;
    bool active_ = false;
};
