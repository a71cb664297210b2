#pragma once
// The two operation modes and the rotate-speed test. In Speed mode the poll
// timer sends one throttle code per tick and turns the ESC's period answer
// into a speed, shown once per four consistent samples.

#include "link/outcome.h"

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

private:
    void poll();
    void showMode(OperationMode mode);

    Link& link_;
    SharedState& st_;
    EscView& view_;
    WindowTimer& pollTimer_;
    int throttlePosition_;
    int poles_;
    // Speed mode has started the poll and no switch has stopped it. A switch to
    // Parameter run inside a tick's wait must not see the tick restart it.
    bool polling_ = false;
    bool closing_ = false;  // nothing may drive the ESC once the owner is closing
};
