#pragma once
// One run of a command against the setting card: the port, the state and the
// timers the operations share, and the operations themselves, wired as the
// window wires them, with the console for a view.

#include "cli/console_dialogs.h"
#include "cli/console_view.h"
#include "firmware/firmware_update.h"
#include "link/link.h"
#include "link/shared_state.h"
#include "link/window_timer.h"
#include "params/param_ops.h"
#include "params/setup_files.h"
#include "serial/tcomm.h"
#include "speedtest/speed_mode.h"

#include <functional>

namespace cli {

class Session {
public:
    // programDir: where the window's program lies, for the firmware images.
    explicit Session(const QString& programDir);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    enum class Found { Nothing, Card, Esc };
    // Searches for the setting card on `port`, or over the listed ports when
    // it is empty, and asks it for the ESC. The quiet search says nothing;
    // the user's search ("Auto find hardware") reports in its box.
    Found find(const QString& port, bool userSearch = false);
    // The quiet search; true when an ESC answered. Otherwise the reason is
    // on stderr.
    bool connect_esc(const QString& port);

    // Runs an operation as the window runs a click.
    void run(const std::function<void()>& operation, CommandKind kind = CommandKind::Click);

    ConsoleView view;
    ConsoleDialogs dialogs;
    TComm comm;
    SharedState state;
    WindowTimer timer1{1000};
    WindowTimer timer2{1000, Qt::PreciseTimer};
    WindowTimer timer3{5, Qt::PreciseTimer};
    Link link;
    ParamOps params;
    SetupFiles setupFiles;
    FirmwareUpdate firmware;
    SpeedMode speed;

private:
    void explain_not_found(const QString& port, const QStringList& searched) const;
};

}  // namespace cli
