#include "core/esc_session.h"

#include "link/line_settings.h"

EscSession::EscSession(EscView& view, Dialogs& dialogs, const SessionChoices& choices)
    : link(comm, state, view, dialogs, watchdog, replyTimer),
      params(link, view, dialogs),
      setupFiles(state, view, dialogs),
      firmware(link, state, view, dialogs, choices.programDir),
      speed(link, state, view, pollTimer)
{
    apply_link_line_settings(comm);
    // The port's data and the reply timer's tick go to the link, which takes them itself.
    if (choices.watchdog)
        QObject::connect(&watchdog, &WindowTimer::tick, &link, [this] {
            link.run_command(Link::Command([this] { return link.watchdog_expired(); }), CommandKind::Watchdog);
        });
    QObject::connect(&pollTimer, &WindowTimer::tick, &link,
                     [this] { link.run_command([this] { speed.poll_tick(); }, CommandKind::SpeedTick); });
    link.start_speed_test = [this] { speed.start_speed_test(); };
    if (choices.followPortLoss) {
        portLoss = std::make_unique<PortLoss>(link, comm, state, view, dialogs, watchdog, choices.watcher);
        portLoss->stop_speed_poll = [this] { speed.stop_poll(); };
    }
}

EscSession::~EscSession()
{
    // The follower and the link let go of the port's callbacks before it closes.
    portLoss.reset();
    comm.CloseComm();
}

bool EscSession::run(const Link::Command& operation, CommandKind kind)
{
    return link.run_command(operation, kind);
}

Outcome EscSession::perform(const Link::Command& operation, CommandKind kind)
{
    if (link.holding_back())
        return Outcome::fail(Outcome::Kind::Refused);
    link.run_command(operation, kind);
    return link.last_outcome();
}
