#pragma once
// The two operation modes and the rotate-speed test. In Speed mode the poll
// timer sends one throttle code per tick and turns the ESC's period answer into a
// speed, shown once per four consistent samples. An answer that comes after
// its tick's wait still counts for its own code, an answer is taken whole or
// not at all, and a speed that nothing has measured for a while is not shown
// as if it were.

#include "link/outcome.h"
#include "speedtest/answer_wait.h"
#include "speedtest/speed_tick.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>

class EscView;
class Link;
class WindowTimer;
struct SharedState;
enum class OperationMode;

class SpeedMode {
public:
    // pollTimer is the 5 ms poll timer, whose ticks the owner routes to poll_tick.
    SpeedMode(Link& link, SharedState& st, EscView& view, WindowTimer& pollTimer);

    // To Speed mode (the test starts when an ESC is there) or to Parameter
    // mode (the ESC gets its release, FF, first). Always Done.
    Outcome switch_mode(OperationMode mode);
    Outcome set_throttle(int position);  // the throttle slider, 900 to 2100 microseconds
    Outcome set_pole_count(int poles);   // the motor's pole count, 2 to 24
    void poll_tick();
    void start_speed_test();

    // The port has gone: the poll ends without a byte. An ESC identified
    // again while Speed is selected starts the test afresh.
    void stop_poll();

    // Run before the owner closes its port: an ESC left in speed mode would
    // keep driving the motor with the last throttle code. Ends the poll.
    void beforeClose();

    // The throttle has been armed: the ESC got its first throttle code after
    // the start byte.
    bool throttle_armed() const { return throttleArmed_; }

    // Samples measured since the speed test started, and the speed last
    // shown from them (empty before the first).
    int measured_samples() const { return samples_; }
    const QString& measured_speed() const { return measuredSpeed_; }
    // Milliseconds since the last measured sample; -1 before the first.
    qint64 since_sample_ms() const { return samples_ > 0 ? sinceSample_.elapsed() : -1; }

    // Without a measured sample for this long, the rotate-speed box shows
    // "-" and the status line says that the answers have stopped.
    static constexpr int kStaleMs = 500;
    // An answer whose first bytes have come is waited for while its bytes
    // keep coming, up to kTrickleMs after its code went out; it is given up
    // once the line has been quiet for kQuietMs, longer than the gaps of a
    // line that trickles. Until the line has been that quiet no code goes out.
    static constexpr int kTrickleMs = 250;
    static constexpr int kQuietMs = 100;

    // Called with the record of every tick that sent a throttle code, once
    // its answer is settled (a late one at the next tick); unset, the poll
    // builds no record.
    std::function<void(const SpeedTick&)> onTick;

private:
    void poll();
    void take_late_answer();
    // True when the line is settled: a whole answer or none, or the line has
    // been quiet since the last part came.
    bool await_rest_of_answer();
    // After an answer given up: true once the line has been quiet for
    // kQuietMs; what arrives until then is thrown away.
    bool line_quiet();
    void measured(const QString& answer, qint64 answeredAfterMs, SpeedTick& tick);
    void record(SpeedTick& tick);
    // The poll ends: a code whose answer was still awaited is recorded unanswered.
    void record_unanswered();
    void note_staleness();
    void showMode(OperationMode mode);
    void showSpeed(int32_t rpm);

    Link& link_;
    SharedState& st_;
    EscView& view_;
    WindowTimer& pollTimer_;
    int throttlePosition_;
    int poles_;
    bool throttleArmed_ = false;
    // The speed filter's running sum and the position of its next sample (0 to 3).
    int32_t rpmValue_ = 0;
    int32_t rpmCount_ = 0;
    // Speed mode has started the poll and no switch has stopped it. A switch to
    // Parameter run inside a tick's wait must not see the tick restart it.
    bool polling_ = false;
    bool closing_ = false;  // nothing may drive the ESC once the owner is closing

    speed::AnswerWait answerWait_;
    // The last code's answer was not whole when its wait ended: what comes
    // later still answers that code, and is taken before the next goes out.
    bool answerPending_ = false;
    QElapsedTimer pendingSent_;
    bool resyncing_ = false;     // an answer was given up; waiting for a quiet line
    QElapsedTimer lineQuiet_;    // since the last byte while resyncing_
    QElapsedTimer sinceSample_;  // since the last measured sample, or the test's start
    bool stale_ = false;
    int samples_ = 0;
    QString measuredSpeed_;
    QElapsedTimer sinceStart_;             // the tick records' clock, from the start byte
    std::optional<int32_t> shownRpm_ = 0;  // the display starts at "0"; none while it shows "-"
    std::optional<SpeedTick> pendingTick_;  // the record of the code whose answer may still come
};
