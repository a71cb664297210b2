#include "link_fixture.h"

namespace {

using Guard = LinkTest;

TEST_F(Guard, CommandsInsideAnExchangeAreNotActedOn)
{
    int inner = 0;
    bool innerAccepted = true;
    const bool outerAccepted = link->run_command([&] {
        EXPECT_TRUE(link->busy());
        EXPECT_EQ(view.busy, 1);
        innerAccepted = link->run_command([&] { ++inner; });
    });
    EXPECT_TRUE(outerAccepted);
    EXPECT_FALSE(innerAccepted);
    EXPECT_EQ(inner, 0);
    EXPECT_FALSE(link->busy());
    EXPECT_EQ(view.busy, 0);
}

TEST_F(Guard, QuietExchangeKeepsTheCursor)
{
    link->run_command([&] { EXPECT_EQ(view.busy, 0); }, CommandKind::SpeedTick);
    EXPECT_FALSE(link->busy());
}

TEST_F(Guard, ClickInsideAWaitSendsNothing)
{
    openPeer();
    const QByteArray frame("\x43\x01\x02\x03\x04\x05\x06\x07\x00", 9);
    peer.answer(0x0D, {frame.left(3), frame.mid(3)}, 150);
    QString reply;
    bool second = true;
    QTimer::singleShot(60,
                       [&] { second = link->run_command([&] { link->send_code(0x35); }); });
    link->run_command([&] { return link->read_settings_frame(reply); });
    EXPECT_FALSE(second);
    EXPECT_EQ(reply, QStringLiteral("430102030405060700"));
    EXPECT_EQ(peer.received(), QByteArray("\x0d"));
}

TEST_F(Guard, Timer1TickWaitsForTheExchangeAndRunsFromTheEventLoop)
{
    timer1.setInterval(50);
    int ticksInside = 0;
    link->run_command([&] {
        timer1.start();
        link->pumped_delay(5);
        link->reply_wait(200, [](const QString&) { return false; });
        ticksInside = timer1Ticks;
        EXPECT_TRUE(timer1.isActive());  // holding the deferred tick
    });
    EXPECT_EQ(ticksInside, 0);
    EXPECT_EQ(timer1Ticks, 0);  // not from inside the ending handler
    ASSERT_TRUE(waitUntil([this] { return timer1Ticks == 1; }, 500));
    settle(200);
    EXPECT_EQ(timer1Ticks, 1);  // the deferred tick stopped the timer once delivered
}

TEST_F(Guard, StopCancelsDeferredTick)
{
    // A tick inside a search's first opening delay is held and then cancelled
    // by the search's own stop of Timer1: no nested search.
    timer1.setInterval(20);
    link->run_command([&] {
        timer1.start();
        link->pumped_delay(60);
        timer1.stop();
    });
    settle(200);
    EXPECT_EQ(timer1Ticks, 0);
    EXPECT_FALSE(timer1.isActive());
}

TEST_F(Guard, DeferredTickWaitsForAnExchangeStartedBeforeTheFlush)
{
    timer1.setInterval(20);
    bool secondRan = false;
    int ticksDuringSecond = -1;
    link->run_command([&] {
        timer1.start();
        link->pumped_delay(60);
        // Queued before the flush: starts a new exchange first.
        QMetaObject::invokeMethod(
            link,
            [&] {
                secondRan = link->run_command([&] {
                    link->pumped_delay(40);
                    ticksDuringSecond = timer1Ticks;
                });
            },
            Qt::QueuedConnection);
    });
    ASSERT_TRUE(waitUntil([&] { return timer1Ticks == 1; }, 1000));
    EXPECT_TRUE(secondRan);
    EXPECT_EQ(ticksDuringSecond, 0);
}

}  // namespace

namespace {

// The user's input that arrives during a background exchange (a speed tick,
// the watchdog) runs once each, in the order it came, after that exchange;
// during a command only a mode switch waits, other clicks are refused.
TEST_F(Guard, InputDuringAnExchangeRunsAfterItOnceInOrderOrIsRefused)
{
    using K = CommandKind;
    const struct {
        const char* name;
        CommandKind running;
        std::vector<CommandKind> arriving;
        std::vector<int> ranAfter;  // indexes into arriving; 9: a click right after the end
    } cases[] = {
        {"during a speed tick", K::SpeedTick, {K::Click, K::Click, K::ModeSwitch}, {0, 1, 2, 9}},
        {"during the watchdog", K::Watchdog, {K::Click, K::SpeedTick, K::Click}, {0, 2, 9}},
        {"during a command", K::Click, {K::Click, K::ModeSwitch, K::SpeedTick, K::Click}, {1, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> ran;
        std::vector<bool> accepted;
        bool nestedRefused = true;
        link->run_command(
            [&] {
                for (size_t i = 0; i < c.arriving.size(); ++i)
                    accepted.push_back(link->run_command(
                        [&, i] {
                            ran.push_back(static_cast<int>(i));
                            // A kept click runs as a command of its own.
                            nestedRefused = nestedRefused && !link->run_command([] {}, K::Click);
                        },
                        c.arriving[i]));
            },
            c.running);
        // Arrives after the end, before what was kept has run: it waits its turn.
        EXPECT_TRUE(link->run_command([&] { ran.push_back(9); }, K::Click));
        EXPECT_TRUE(ran.empty());  // nothing from inside the ending handler
        ASSERT_TRUE(waitUntil([&] { return ran.size() == c.ranAfter.size(); }, 1000));
        settle(30);
        EXPECT_EQ(ran, c.ranAfter);
        for (size_t i = 0; i < c.arriving.size(); ++i)
            EXPECT_EQ(accepted[i], std::count(c.ranAfter.begin(), c.ranAfter.end(), static_cast<int>(i)) == 1)
                << i;
        EXPECT_TRUE(nestedRefused);
        EXPECT_FALSE(link->busy());
        EXPECT_EQ(view.busy, 0);
    }
}

}  // namespace
