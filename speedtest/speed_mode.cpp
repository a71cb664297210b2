#include "speedtest/speed_mode.h"

#include "link/hex_text.h"
#include "link/link.h"
#include "link/status_texts.h"
#include "link/wire_codes.h"
#include "speedtest/speed_math.h"

#include <algorithm>

namespace {

// At most this long for the release to leave before the stop byte is disarmed.
constexpr int kReleaseSentMs = 20;

constexpr int kAnswerChars = 4;  // two bytes of period, high byte first
constexpr int kSendDrainMs = 100;
constexpr int kInitialPoles = 2;

bool whole_answer(const QString& recv)
{
    return recv.size() == kAnswerChars;
}

}  // namespace

SpeedMode::SpeedMode(Link& link, SharedState& st, EscView& view, WindowTimer& pollTimer)
    : link_(link), st_(st), view_(view), pollTimer_(pollTimer), throttlePosition_(speed::kSliderMin), poles_(kInitialPoles)
{
}

void SpeedMode::showMode(OperationMode mode)
{
    st_.mode = mode;
    view_.showMode(mode);
}

Outcome SpeedMode::switch_mode(OperationMode mode)
{
    showMode(mode);
    if (mode == OperationMode::Speed) {
        if (st_.esc_ok)
            start_speed_test();
        // Without an ESC the ticks keep the status line telling the user so.
        polling_ = true;
        pollTimer_.start();
        link_.setStatus(QString::fromLatin1(status::kTesting));
        return Outcome::ok();
    }
    if (st_.esc_ok) {
        link_.send_code(request::kReleaseMotor);
        // The stop byte stays armed until the release has reached the driver:
        // a crash while it is still queued would lose it with the process.
        link_.wait_sent(kReleaseSentMs);
    }
    link_.keep_stop_byte_ready(false);
    record_unanswered();
    polling_ = false;
    pollTimer_.stop();
    link_.setStatus(QString::fromLatin1(status::kIdle));
    return Outcome::ok();
}

void SpeedMode::start_speed_test()
{
    if (closing_)
        return;
    link_.send_code(request::kStartSpeedTest);
    link_.keep_stop_byte_ready(true);
    answerPending_ = false;
    resyncing_ = false;
    stale_ = false;
    samples_ = 0;
    measuredSpeed_.clear();
    sinceSample_.start();
    sinceStart_.start();
    shownRpm_ = 0;
    pendingTick_.reset();
    polling_ = true;
    pollTimer_.start();
    throttleArmed_ = false;
}

void SpeedMode::stop_poll()
{
    record_unanswered();
    polling_ = false;
    pollTimer_.stop();
}

void SpeedMode::beforeClose()
{
    closing_ = true;
    polling_ = false;
    pollTimer_.stop();
    if (st_.mode != OperationMode::Speed || !st_.esc_ok)
        return;
    link_.send_code(request::kReleaseMotor);
    // Closing the port discards what is still queued, so the byte has to be
    // on its way first.
    link_.wait_sent(kSendDrainMs);
    link_.keep_stop_byte_ready(false);
}

Outcome SpeedMode::set_throttle(int position)
{
    throttlePosition_ = position;
    view_.showThrottleText(QString::number(position) + QStringLiteral("us"));
    return Outcome::ok();
}

Outcome SpeedMode::set_pole_count(int poles)
{
    poles_ = poles;
    view_.showPoleCountText(QString::number(poles));
    return Outcome::ok();
}

void SpeedMode::poll_tick()
{
    if (st_.mode == OperationMode::Parameter || closing_)
        return;
    if (!st_.esc_ok) {
        note_staleness();
        link_.setStatus(QString::fromLatin1(status::kIdle));
        return;
    }
    // No tick may run during the exchange: the wait below processes messages.
    pollTimer_.stop();
    poll();
    note_staleness();
    // A switch to Parameter or a close inside the wait has ended the poll.
    if (polling_)
        pollTimer_.start();
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
    if (position < speed::kArmBelow && !stale_)
        showSpeed(0);
    if (answerPending_)
        take_late_answer();
    // No code goes out while the bytes of an answer given up may still come.
    if (!line_quiet())
        return;
    const int code = speed::throttle_code(position, throttleArmed_);
    SpeedTick tick{sinceStart_.elapsed(), position, code, {}, {}, {}};

    QElapsedTimer sent;
    sent.start();
    const QString answer = link_.exchange(QByteArray(1, static_cast<char>(code)),
                                          {answerWait_.ms(), whole_answer, Link::Pass::ProcessOnce, whole_answer});
    if (whole_answer(answer)) {
        measured(answer, sent.elapsed(), tick);
        record(tick);
        return;
    }
    // No answer yet, or a garbled one: a late one may still come.
    answerPending_ = true;
    pendingSent_ = sent;
    pendingTick_ = tick;
}

void SpeedMode::take_late_answer()
{
    answerPending_ = false;
    const bool settled = await_rest_of_answer();
    SpeedTick tick = pendingTick_.value_or(SpeedTick{});
    pendingTick_.reset();
    const QString answer = link_.take_received();
    if (whole_answer(answer)) {
        measured(answer, pendingSent_.elapsed(), tick);
    } else if (!settled) {
        // More than one answer, or bytes that kept coming: what comes next
        // may be the rest, and paired with the next answer's bytes it would
        // make a speed nobody measured.
        resyncing_ = true;
        lineQuiet_.start();
    }
    // Dropped: only the tick's record says so.
    record(tick);
}

bool SpeedMode::await_rest_of_answer()
{
    QElapsedTimer quiet;  // since the last bytes seen
    quiet.start();
    qsizetype seen = st_.recv_str.size();
    for (;;) {
        const qsizetype got = st_.recv_str.size();
        if (got >= kAnswerChars)
            return got == kAnswerChars;
        if (link_.on_lost_port())
            return true;
        if (got != seen) {
            seen = got;
            quiet.start();
        }
        // Nothing yet: the answer may still come whole until the cap. Part of
        // one: its rest trickles in, so it is waited for while bytes keep
        // coming; once the line has been quiet, nothing more belongs to it.
        const qint64 left = got == 0 ? speed::AnswerWait::kCapMs - pendingSent_.elapsed()
                                     : std::min<qint64>(kQuietMs - quiet.elapsed(),
                                                        kTrickleMs - pendingSent_.elapsed());
        if (left <= 0)
            return got == 0 || quiet.elapsed() >= kQuietMs;
        const auto more = [seen](const QString& recv) { return recv.size() != seen; };
        link_.await_more({static_cast<int>(left), more, Link::Pass::ProcessOnce, [](const QString&) { return false; }});
    }
}

bool SpeedMode::line_quiet()
{
    if (!resyncing_)
        return true;
    if (!st_.recv_str.isEmpty()) {
        link_.take_received();  // the rest of an answer given up
        lineQuiet_.start();
    }
    if (lineQuiet_.elapsed() < kQuietMs)
        return false;
    resyncing_ = false;
    return true;
}

void SpeedMode::record_unanswered()
{
    answerPending_ = false;
    if (!pendingTick_)
        return;
    SpeedTick tick = *pendingTick_;
    pendingTick_.reset();
    record(tick);
}

void SpeedMode::record(SpeedTick& tick)
{
    if (!onTick)
        return;
    tick.shownRpm = shownRpm_;
    onTick(tick);
}

void SpeedMode::measured(const QString& answer, qint64 answeredAfterMs, SpeedTick& tick)
{
    answerWait_.answered(static_cast<int>(answeredAfterMs));
    ++samples_;
    sinceSample_.start();
    const int64_t period = hex_to_int(answer);
    const int32_t sample = speed::period_to_rpm(period, poles_);
    tick.period = period;
    tick.sampleRpm = sample;
    speed::RpmFilter filter{rpmValue_, rpmCount_};
    const std::optional<int32_t> shown = filter.add(sample);
    if (stale_) {
        // Answers again: the box shows a measured speed at once.
        stale_ = false;
        link_.setStatus(QString::fromLatin1(status::kTesting));
        showSpeed(shown.value_or(sample));
        measuredSpeed_ = QString::number(*shownRpm_);
        return;
    }
    if (shown) {
        showSpeed(*shown);
        measuredSpeed_ = QString::number(*shown);
        link_.pumped_delay(2);
    }
}

void SpeedMode::note_staleness()
{
    if (stale_ || !sinceSample_.isValid() || sinceSample_.elapsed() < kStaleMs || st_.mode != OperationMode::Speed)
        return;
    stale_ = true;
    shownRpm_.reset();
    view_.showRotateSpeed(QStringLiteral("-"));
    link_.setStatus(QString::fromLatin1(status::kSpeedAnswersStopped));
}
