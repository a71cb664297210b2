#include "timing/precise_clock.h"

#include <QSocketNotifier>

#include <sys/prctl.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

std::unique_ptr<PreciseClock> PreciseClock::create(QObject* parent)
{
    const int fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    // The thread that keeps a precise timer waits to the microsecond in its
    // other sleeps too: the default 50 us timer slack would lengthen each
    // 1 ms pause of the speed poll's display step, and every loop time-out.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    return std::unique_ptr<PreciseClock>(new PreciseClock(fd, parent));
}

PreciseClock::PreciseClock(int fd, QObject* parent)
    : QObject(parent), fd_(fd), notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this))
{
    connect(notifier_, &QSocketNotifier::activated, this, &PreciseClock::onReadable);
}

PreciseClock::~PreciseClock()
{
    delete notifier_;
    ::close(fd_);
}

void PreciseClock::start(int intervalMs)
{
    // A window timer's shortest period is a millisecond; a zero expiry
    // would disarm the timerfd instead of ticking.
    const int64_t ns = int64_t(std::max(intervalMs, 1)) * 1000000;
    const timespec period{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    const itimerspec setting{period, period};
    // Setting the timerfd also discards an expiry the loop has not yet seen.
    ::timerfd_settime(fd_, 0, &setting, nullptr);
    active_ = true;
}

void PreciseClock::stop()
{
    const itimerspec off{};
    ::timerfd_settime(fd_, 0, &off, nullptr);
    active_ = false;
}

bool PreciseClock::takeExpiry()
{
    uint64_t expiries = 0;
    return ::read(fd_, &expiries, sizeof expiries) == sizeof expiries && expiries > 0;
}

void PreciseClock::onReadable()
{
    // The loop may have seen the descriptor readable before a stop() or a
    // restart in the same pass took the expiry back: then there is none.
    if (takeExpiry())
        emit expired();
}
