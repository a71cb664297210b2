#include "speedtest/speed_mode.h"

#include "link/hex_text.h"
#include "link/link.h"
#include "link/status_texts.h"
#include "speedtest/speed_math.h"

namespace {

constexpr int kAnswerWaitMs = 20;
constexpr int kAnswerChars = 4;  // two bytes of period, high byte first
constexpr int kSendDrainMs = 100;
constexpr int kInitialPoles = 2;

bool whole_answer(const QString& recv)
{
    return recv.size() == kAnswerChars;
}

}  // namespace

SpeedMode::SpeedMode(Link& link, SharedState& st, EscView& view, WindowTimer& timer3)
    : link_(link), st_(st), view_(view), timer3_(timer3), throttlePosition_(speed::kSliderMin), poles_(kInitialPoles)
{
}

void SpeedMode::showMode(OperationMode mode)
{
    st_.mode = mode;
    view_.showMode(mode);
}

void SpeedMode::RadioButton2Click()
{
    showMode(OperationMode::Speed);
    if (st_.esc_ok)
        start_speed_test();
    // Without an ESC the ticks keep the status line telling the user so.
    polling_ = true;
    timer3_.start();
    link_.setStatus(QString::fromLatin1(status::kTesting));
}

void SpeedMode::RadioButton1Click()
{
    showMode(OperationMode::Parameter);
    if (st_.esc_ok)
        link_.mscomm1send(QStringLiteral("FF"));
    polling_ = false;
    timer3_.stop();
    link_.setStatus(QString::fromLatin1(status::kIdle));
}

void SpeedMode::start_speed_test()
{
    if (closing_)
        return;
    link_.mscomm1send(QStringLiteral("06"));
    sinceStart_.start();
    polling_ = true;
    timer3_.start();
    st_.throttle_armed = false;
}

void SpeedMode::stop_poll()
{
    polling_ = false;
    timer3_.stop();
}

void SpeedMode::beforeClose()
{
    closing_ = true;
    polling_ = false;
    timer3_.stop();
    if (st_.mode != OperationMode::Speed || !st_.esc_ok)
        return;
    link_.mscomm1send(QStringLiteral("FF"));
    // Closing the port discards what is still queued, so the byte has to be
    // on its way first.
    link_.wait_sent(kSendDrainMs);
}

void SpeedMode::TrackBar1Change(int position)
{
    throttlePosition_ = position;
    view_.showThrottleText(QString::number(position) + QStringLiteral("us"));
}

void SpeedMode::UpDown1Click(int poles)
{
    poles_ = poles;
    view_.showPoleCountText(QString::number(poles));
}

void SpeedMode::Timer3Timer()
{
    if (st_.mode == OperationMode::Parameter || closing_)
        return;
    if (!st_.esc_ok) {
        link_.setStatus(QString::fromLatin1(status::kIdle));
        return;
    }
    // No tick may run during the exchange: the wait below processes messages.
    timer3_.stop();
    poll();
    // A switch to Parameter or a close inside the wait has ended the poll.
    if (polling_)
        timer3_.start();
}

void SpeedMode::showSpeed(int32_t rpm)
{
    shownRpm_ = rpm;
    view_.showRotateSpeed(QString::number(rpm));
}

void SpeedMode::poll()
{
    // The slider is read once, here: a move during the exchange belongs to the next tick.
    const int position = throttlePosition_;
    if (position < speed::kArmBelow)
        showSpeed(0);
    const int code = speed::throttle_code(position, st_.throttle_armed);
    SpeedTick tick{sinceStart_.elapsed(), position, code, {}, {}, {}};

    const QString answer = link_.exchange(QString::asprintf("%02X", code),
                                          {kAnswerWaitMs, whole_answer, Link::Pass::ProcessOnce, whole_answer});
    // No answer or a garbled one: the tick is dropped, only its record says so.
    if (whole_answer(answer)) {
        const int64_t period = hex_to_int(answer);
        const int32_t sample = speed::period_to_rpm(period, poles_);
        tick.period = period;
        tick.sampleRpm = sample;
        speed::RpmFilter filter{st_.rpm_value, st_.rpm_count};
        if (const auto shown = filter.add(sample)) {
            showSpeed(*shown);
            link_.pumped_delay(2);
        }
    }
    if (onTick) {
        tick.shownRpm = shownRpm_;
        onTick(tick);
    }
}
