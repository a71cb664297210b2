#pragma once
// The two operation modes and the rotate-speed test. In Speed mode Timer3
// sends one throttle code per tick and turns the ESC's period answer into a
// speed, shown once per four consistent samples.

#include "speedtest/speed_tick.h"

#include <QElapsedTimer>
#include <functional>
#include <optional>

class EscView;
class Link;
class WindowTimer;
struct SharedState;
enum class OperationMode;

class SpeedMode {
public:
    // timer3 is the 5 ms poll timer, whose ticks the owner routes to Timer3Timer.
    SpeedMode(Link& link, SharedState& st, EscView& view, WindowTimer& timer3);

    void RadioButton1Click();  // to Parameter mode
    void RadioButton2Click();  // to Speed mode
    void TrackBar1Change(int position);  // the throttle slider, 900 to 2100 microseconds
    void UpDown1Click(int poles);        // the motor's pole count, 2 to 24
    void Timer3Timer();
    void start_speed_test();

    // The port has gone: the poll ends without a byte. An ESC identified
    // again while Speed is selected starts the test afresh.
    void stop_poll();

    // Run before the owner closes its port: an ESC left in speed mode would
    // keep driving the motor with the last throttle code. Ends the poll.
    void beforeClose();

    // Called with the record of every tick that sent a throttle code; unset,
    // the poll builds no record.
    std::function<void(const SpeedTick&)> onTick;

private:
    void poll();
    void showMode(OperationMode mode);
    void showSpeed(int32_t rpm);

    Link& link_;
    SharedState& st_;
    EscView& view_;
    WindowTimer& timer3_;
    int throttlePosition_;
    int poles_;
    // Speed mode has started Timer3 and no switch has stopped it. A switch to
    // Parameter run inside a tick's wait must not see the tick restart Timer3.
    bool polling_ = false;
    bool closing_ = false;  // nothing may drive the ESC once the owner is closing
    QElapsedTimer sinceStart_;          // the tick records' clock, from the start byte
    std::optional<int32_t> shownRpm_ = 0;  // the display starts at "0"
};
