#pragma once
// One conversation with a setting card and the ESC behind it, wired once: the
// port, the state the operations share, the watchdog, reply and poll timers,
// the link, the settings, setup-file, firmware and speed operations and,
// when asked for, the port-loss follower. It routes the timer ticks.
//
// The window, the command line and the station each make one and hand it
// their view, their dialogs and their choices. The operations (params().read(),
// ...) take what they work on as arguments and return what they found; they
// run as commands of the link, one at a time: run() as the window's clicks
// do, perform() when the caller wants the outcome at once.
//
// A session lives in the thread that makes it, which must run an event loop:
// its timers, its port's events and its waits are that thread's. Sessions in
// different threads share nothing but the stop path.

#include "firmware/firmware_update.h"
#include "link/dialogs.h"
#include "link/esc_view.h"
#include "link/link.h"
#include "link/outcome.h"
#include "link/port_loss.h"
#include "link/shared_state.h"
#include "timing/window_timer.h"
#include "params/param_ops.h"
#include "params/setup_files.h"
#include "serial/tcomm.h"
#include "speedtest/speed_mode.h"

#include <QString>
#include <memory>

class PortWatcher;

struct SessionChoices {
    // The folder that holds the firmware images.
    QString programDir;
    // Whether the watchdog's ticks run it: with the card silent for its
    // period, a quiet search, or the "Hardware not connect" report.
    bool watchdog = true;
    // Whether the port going away (its hang-up, or its node removed as
    // watcher reports; watcher may be null) takes the link down, and its
    // return brings the link back.
    bool followPortLoss = false;
    PortWatcher* watcher = nullptr;
};

class EscSession {
public:
    EscSession(EscView& view, Dialogs& dialogs, const SessionChoices& choices);
    ~EscSession();
    EscSession(const EscSession&) = delete;
    EscSession& operator=(const EscSession&) = delete;

    // Runs an operation as the user's command (Link::run_command): refused
    // or kept for later while another one runs.
    bool run(const Link::Command& operation, CommandKind kind = CommandKind::Click);
    // Runs an operation now and returns how it ended; Refused, without a box,
    // when another command runs.
    Outcome perform(const Link::Command& operation, CommandKind kind = CommandKind::Click);
    // The same for an operation that returns what it found with its outcome.
    template <class T>
    Found<T> perform(const std::function<Found<T>()>& operation, CommandKind kind = CommandKind::Click)
    {
        Found<T> found{Outcome::fail(Outcome::Kind::Refused)};
        perform(Link::Command([&] {
                    found = operation();
                    return found.outcome;
                }),
                kind);
        return found;
    }

    // The operations, for run() and perform(), and what they tell.
    Link& link() { return link_; }
    const Link& link() const { return link_; }
    ParamOps& params() { return params_; }
    SetupFiles& setupFiles() { return setupFiles_; }
    FirmwareUpdate& firmware() { return firmware_; }
    SpeedMode& speed() { return speed_; }
    // Null unless SessionChoices::followPortLoss.
    PortLoss* portLoss() { return portLoss_.get(); }

    // The port: its name, opening and closing it, its events.
    TComm& comm() { return comm_; }
    const TComm& comm() const { return comm_; }
    // The watchdog (Timer1), the reply timer (Timer2) and the speed poll (Timer3).
    WindowTimer& watchdog() { return watchdog_; }
    WindowTimer& replyTimer() { return replyTimer_; }
    WindowTimer& pollTimer() { return pollTimer_; }

    // What the operations share, to read; only the operations change it.
    const SharedState& state() const { return state_; }

    // What the stop path needs: whether speed mode is on (a motor may be
    // turning); the release goes out on comm().
    bool speedModeOn() const { return state_.mode == OperationMode::Speed; }

private:
    // The test rigs set the identification flags that a real search would.
    friend struct EscSessionTestPeer;

    TComm comm_;
    SharedState state_;
    WindowTimer watchdog_{1000};
    WindowTimer replyTimer_{1000, Qt::PreciseTimer};
    WindowTimer pollTimer_{5, Qt::PreciseTimer};
    Link link_;
    ParamOps params_;
    SetupFiles setupFiles_;
    FirmwareUpdate firmware_;
    SpeedMode speed_;
    std::unique_ptr<PortLoss> portLoss_;
};
