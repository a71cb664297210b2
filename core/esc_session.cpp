#include "core/esc_session.h"

#include "link/line_settings.h"

EscSession::EscSession(EscView& view, Dialogs& dialogs, const SessionChoices& choices)
    : link_(comm_, state_, view, dialogs, watchdog_, replyTimer_),
      params_(link_, dialogs),
      setupFiles_(dialogs),
      firmware_(link_, state_, dialogs, choices.programDir),
      speed_(link_, state_, view, pollTimer_)
{
    apply_link_line_settings(comm_);
    // The port's data and the reply timer's tick go to the link, which takes them itself.
    if (choices.watchdog)
        QObject::connect(&watchdog_, &WindowTimer::tick, &link_, [this] {
            link_.run_command(Link::Command([this] { return link_.watchdog_expired(); }), CommandKind::Watchdog);
        });
    QObject::connect(&pollTimer_, &WindowTimer::tick, &link_,
                     [this] { link_.run_command([this] { speed_.poll_tick(); }, CommandKind::SpeedTick); });
    link_.start_speed_test = [this] { speed_.start_speed_test(); };
    if (choices.followPortLoss) {
        portLoss_ = std::make_unique<PortLoss>(link_, comm_, state_, view, dialogs, watchdog_, choices.watcher);
        portLoss_->stop_speed_poll = [this] { speed_.stop_poll(); };
    }
}

EscSession::~EscSession()
{
    // The follower and the link let go of the port's callbacks before it closes.
    portLoss_.reset();
    comm_.CloseComm();
}

bool EscSession::run(const Link::Command& operation, CommandKind kind)
{
    return link_.run_command(operation, kind);
}

Outcome EscSession::perform(const Link::Command& operation, CommandKind kind)
{
    if (link_.holding_back())
        return Outcome::fail(Outcome::Kind::Refused);
    link_.run_command(operation, kind);
    return link_.last_outcome();
}
