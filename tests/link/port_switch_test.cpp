#include "link_fixture.h"

namespace {

using PortSwitch = LinkTest;

TEST_F(PortSwitch, UnopenablePortGivesTheOpenErrorAndStillArmsTheWatchdog)
{
    st.esc_ok = true;
    st.cmd_mode = true;
    link->run_command([this] { link->switch_port(kNoSuchPort); });
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("Comm error"));
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Comm port open error") + QChar(0xFF01));
    EXPECT_EQ(dialogs.boxes[0].text.toUtf8(), QByteArray("Comm port open error\xef\xbc\x81"));
    EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Error);
    EXPECT_FALSE(st.esc_ok);
    EXPECT_FALSE(st.cmd_mode);
    EXPECT_TRUE(timer1.isActive());
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(comm.CommName(), kNoSuchPort);
    EXPECT_EQ(view.status, QStringLiteral("Wait user command"));
    // About a second later the watchdog adds its own report.
    ASSERT_TRUE(waitUntil([this] { return dialogs.boxes.size() == 2; }, 3000));
    EXPECT_EQ(dialogs.boxes[1].text, QStringLiteral("Hardware not connect or Comm port select error"));
}

TEST_F(PortSwitch, OpensTheNamedPortAndProbesIt)
{
    openPeer();
    link->run_command([this] { link->switch_port(peer.path()); });
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_EQ(comm.CommName(), peer.path());
    ASSERT_TRUE(peer.waitReceived("\x35", 2000));
    EXPECT_EQ(peer.received(), QByteArray("\x35"));
}

TEST_F(PortSwitch, CardAnswerRunsTheStartupChain)
{
    peer.answer(0x35, {QByteArray("\x25\x01", 2)});
    peer.answer(0x50, {QByteArray("\x50\x07\x10\x12", 4)});
    link->run_command([this] { link->switch_port(peer.path()); });
    ASSERT_TRUE(waitUntil([this] { return st.esc_ok; }, 3000));
    EXPECT_TRUE(view.cardLamp);
    EXPECT_TRUE(view.escLamp);
    EXPECT_EQ(st.fw_group, 3);
    EXPECT_FALSE(timer1.isActive());
    settle(1300);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PortSwitch, SecondSwitchDoesNotRestartTheWatchdog)
{
    QElapsedTimer t;
    t.start();
    link->run_command([this] { link->switch_port(kNoSuchPort); });
    settle(500);
    link->run_command([this] { link->switch_port(kNoSuchPort); });
    ASSERT_TRUE(waitUntil([this] { return timer1Ticks > 0; }, 3000));
    EXPECT_LT(t.elapsed(), 1400);  // ~1000 ms after the first switch, not 1500
    EXPECT_EQ(timer1Ticks, 1);
}

}  // namespace
