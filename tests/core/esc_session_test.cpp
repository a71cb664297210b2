// What the session decides for its owner: whether the watchdog's ticks run
// it, and that an operation asked for while another runs is refused, not run.

#include "core/esc_session.h"
#include "testing/session_peer.h"
#include "testing/event_wait.h"
#include "testing/fake_view.h"
#include "testing/qstring_printer.h"
#include "testing/recording_dialogs.h"

#include <gtest/gtest.h>

namespace {

QStringList shown(const RecordingDialogs& dialogs)
{
    QStringList boxes;
    for (const RecordedBox& b : dialogs.boxes)
        boxes << b.title + "|" + b.text;
    return boxes;
}

TEST(EscSession, TheWatchdogReportsTheCardGoneOnlyWhenTheOwnerLetsItRun)
{
    const struct {
        const char* name;
        bool watchdog;
        QStringList boxes;
        Outcome::Kind last;
    } cases[] = {
        {"the window's choice", true, {"Comm error|Hardware not connect or Comm port select error"},
         Outcome::Kind::NoAnswer},
        {"the command line's choice", false, {}, Outcome::Kind::Done},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeView view;
        RecordingDialogs dialogs;
        EscSession session(view, dialogs, SessionChoices{.watchdog = c.watchdog});
        EscSessionTestPeer::state(session).esc_ok = true;  // the card went quiet after an ESC was found
        session.watchdog().setInterval(20);
        session.watchdog().start();
        settle(200);
        EXPECT_EQ(shown(dialogs), c.boxes);
        EXPECT_EQ(session.link().last_outcome().kind, c.last);
        EXPECT_EQ(session.state().esc_ok, !c.watchdog);
        if (c.watchdog) {
            EXPECT_EQ(session.link().last_outcome().box, c.boxes.front().section('|', 1));
            EXPECT_EQ(view.status, QStringLiteral("Comm error"));
            EXPECT_FALSE(session.watchdog().isActive()) << "one report, not one a second";
        }
        session.watchdog().stop();
    }
}

TEST(EscSession, AnOperationAskedForWhileAnotherRunsIsRefusedWithoutABox)
{
    FakeView view;
    RecordingDialogs dialogs;
    EscSession session(view, dialogs, SessionChoices{.watchdog = false});
    bool innerRan = false;
    Outcome inner;
    const Outcome outer = session.perform([&] {
        inner = session.perform([&] {
            innerRan = true;
            return Outcome::ok();
        });
        return Outcome::fail(Outcome::Kind::NoAnswer, QStringLiteral("outer's own"));
    });
    EXPECT_FALSE(innerRan);
    EXPECT_EQ(inner.kind, Outcome::Kind::Refused);
    EXPECT_TRUE(inner.box.isEmpty());
    EXPECT_EQ(outer.kind, Outcome::Kind::NoAnswer) << "the outcome is the operation's own";
    EXPECT_EQ(outer.box, QStringLiteral("outer's own"));
    EXPECT_TRUE(dialogs.boxes.empty());
    // Nothing was kept for later either.
    settle(50);
    EXPECT_FALSE(innerRan);
}

}  // namespace
