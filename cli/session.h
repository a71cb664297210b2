#pragma once
// One run of a command against the setting card: the console for a view and
// for boxes, and the core session over them.
//
// The watchdog does not run here. A command searches when it starts and ends
// with an exit status that says how it went; a watchdog search or its
// "Hardware not connect" report in the middle of a command would only be a
// second, later account of what the command's own outcome already reports.
// The port-loss follower does not run either: nothing waits for a port to
// come back once the command has ended.

#include "cli/console_dialogs.h"
#include "cli/console_view.h"
#include "core/esc_session.h"

namespace cli {

class Session {
public:
    // programDir: where the window's program lies, for the firmware images;
    // answerYes: the user's answer to every question (--yes).
    explicit Session(const QString& programDir, bool answerYes = false);
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

    // Runs an operation now and returns how it ended.
    Outcome perform(const Link::Command& operation, CommandKind kind = CommandKind::Click)
    {
        return core.perform(operation, kind);
    }

    ConsoleView view;
    ConsoleDialogs dialogs;
    EscSession core;

private:
    void explain_not_found(const QString& port, const QStringList& searched) const;
};

}  // namespace cli
