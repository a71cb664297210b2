#pragma once
// One conversation with a setting card and the ESC behind it, wired once: the
// port, the state the operations share, the watchdog, reply and poll timers,
// the link, the settings, setup-file, firmware and speed operations and,
// when asked for, the port-loss follower. It routes the timer ticks.
//
// The window and the command line each make one and hand it their view,
// their dialogs and their choices. The operations (params.read(), ...) run
// as commands of the link, one at a time: run() as the window's clicks do,
// perform() when the caller wants the outcome at once.

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

    // What the stop path needs: whether speed mode is on (a motor may be
    // turning); the release goes out on comm.
    bool speedModeOn() const { return state.mode == OperationMode::Speed; }

    TComm comm;
    SharedState state;
    WindowTimer watchdog{1000};
    WindowTimer replyTimer{1000, Qt::PreciseTimer};
    WindowTimer pollTimer{5, Qt::PreciseTimer};
    Link link;
    ParamOps params;
    SetupFiles setupFiles;
    FirmwareUpdate firmware;
    SpeedMode speed;
    // Null unless SessionChoices::followPortLoss.
    std::unique_ptr<PortLoss> portLoss;
};
