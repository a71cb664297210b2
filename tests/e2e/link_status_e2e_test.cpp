// The card's unasked status, the port switch, the transport and the overlap
// guard, end to end.

#include "app/lamp.h"
#include "link_e2e_support.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTest>
#include <QTimer>

namespace {

class LinkE2e : public E2eTest {
protected:
    QComboBox* portBox() { return control<QComboBox>("cmbbxcomnum"); }
    void connect()
    {
        startWindow();
        ASSERT_TRUE(waitConnected());
        sim().clear_received();
    }
};

TEST_F(LinkE2e, AnnouncementSplitOverTwoBlocksDoesNothing)
{
    connect();
    sim().send_raw({0x25});
    settle(50);
    sim().send_raw({0x01});
    settle(300);
    EXPECT_TRUE(sim().received().empty());  // no identification request
    EXPECT_TRUE(form().state().esc_ok);
    EXPECT_FALSE(form().Timer1().isActive());
}

TEST_F(LinkE2e, LoneEscStatusMarksTheEscAbsent)
{
    connect();
    sim().unplug();
    ASSERT_TRUE(waitUntil([&] { return !form().state().esc_ok; }, 2000));
    EXPECT_FALSE(lit("Shdt"));
    EXPECT_TRUE(lit("shcom"));
    EXPECT_EQ(labels(), kUnknownLabels);
    EXPECT_FALSE(form().Timer1().isActive());
}

TEST_F(LinkE2e, ZeroIdentificationShowsAnUnlistedModel)
{
    connect();
    sim().send_raw({0x50, 0x00, 0x00, 0x00});
    ASSERT_TRUE(waitUntil([&] { return labels()[0] == QStringLiteral("HW type:"); }, 2000));
    EXPECT_EQ(labels(), (QStringList{"HW type:", "HW version:V0.0", "FW version:V0.0"}));
    EXPECT_TRUE(form().state().esc_ok);
    EXPECT_TRUE(lit("Shdt"));
    EXPECT_EQ(form().state().fw_group, 1);  // kept from ESC_T03
}

TEST_F(LinkE2e, IdentificationInSpeedModeStartsTheSpeedTest)
{
    connect();
    // The Speed button shows selected without the mode switch having run, so
    // the device still answers as in parameter mode and cmd_mode stays clear.
    {
        const QSignalBlocker quiet(control<QRadioButton>("RadioButton2"));
        control<QRadioButton>("RadioButton2")->setChecked(true);
    }
    ASSERT_FALSE(form().Timer3().isActive());
    sim().plug(0x04, 0x10, 0x12);  // announces itself unasked
    ASSERT_TRUE(waitUntil([&] { return wire(sim().received()).contains('\x06'); }, 2000));
    EXPECT_EQ(wire(sim().received()).left(1), QByteArray("\x06"));
    EXPECT_EQ(form().state().fw_group, 2);
    EXPECT_EQ(control<QLabel>("Label2")->text(), QStringLiteral("HW type:ESC_T04"));
    EXPECT_TRUE(form().Timer3().isActive());
}

TEST_F(LinkE2e, PortSwitchToAPortThatCannotBeOpened)
{
    connect();
    // One typed character: one switch, to a name that is no port.
    QTest::keyClick(portBox()->lineEdit(), Qt::Key_X);
    ASSERT_EQ(portBox()->currentText(), simPort() + QStringLiteral("x"));
    ASSERT_EQ(boxes().boxes.size(), 1u);
    EXPECT_EQ(boxes().boxes[0].title, QStringLiteral("Comm error"));
    EXPECT_EQ(boxes().boxes[0].text, QStringLiteral("Comm port open error") + QChar(0xFF01));
    EXPECT_EQ(boxes().boxes[0].icon, BoxIcon::Error);
    EXPECT_FALSE(form().comm().IsOpen());
    EXPECT_FALSE(form().state().esc_ok);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(waitUntil([&] { return boxes().boxes.size() == 2; }, 3000));
    EXPECT_GE(t.elapsed(), 700);
    EXPECT_EQ(boxes().boxes[1].title, QStringLiteral("Comm error"));
    EXPECT_EQ(boxes().boxes[1].text, QStringLiteral("Hardware not connect or Comm port select error"));
    EXPECT_FALSE(lit("shcom"));
    EXPECT_EQ(status(), QStringLiteral("Comm error"));
    settle(300);
    EXPECT_EQ(boxes().boxes.size(), 2u);
}

TEST_F(LinkE2e, PortSwitchToAPortWithoutCard)
{
    startWindow(fastOptions(), true, {missingPort()});
    ASSERT_TRUE(waitConnected());
    sim().change_faults([&](sim::Faults& f) { f.silent_card = true; });
    sim().clear_received();
    // Choose the simulator's item with the arrow key: the port is reopened
    // and probed, and nobody answers.
    portBox()->setCurrentIndex(0);
    QTest::keyClick(portBox(), Qt::Key_Down);
    ASSERT_EQ(portBox()->currentText(), simPort());
    EXPECT_TRUE(boxes().boxes.empty());
    EXPECT_TRUE(form().comm().IsOpen());
    ASSERT_TRUE(waitUntil([&] { return !boxes().boxes.empty(); }, 3000));
    ASSERT_EQ(boxes().boxes.size(), 1u);
    EXPECT_EQ(boxes().boxes[0].text, QStringLiteral("Hardware not connect or Comm port select error"));
    EXPECT_EQ(wire(sim().received()), QByteArray("\x35"));
    EXPECT_FALSE(lit("shcom"));
    EXPECT_FALSE(form().state().esc_ok);
    EXPECT_TRUE(lit("Shdt"));  // still showing the ESC found before
    EXPECT_EQ(labels()[0], QStringLiteral("HW type:ESC_T03"));
}

TEST_F(LinkE2e, SecondClickInsideAWaitSendsNothing)
{
    connect();
    sim().change_faults([&](sim::Faults& f) { f.reply_delay_ms = 300; });
    QTimer::singleShot(100, [&] {
        control<QPushButton>("Button5")->click();
        control<QPushButton>("Button3")->click();
        QTest::keyClick(portBox()->lineEdit(), Qt::Key_X);
    });
    QString reply;
    form().link().run_command([&] { return form().link().read_settings_frame(reply); });
    EXPECT_TRUE(reply.startsWith(QStringLiteral("43"))) << reply.toStdString();
    EXPECT_EQ(reply.size(), 18);
    EXPECT_EQ(wire(sim().received()), QByteArray("\x0d"));
    EXPECT_TRUE(boxes().boxes.empty());
    settle(200);
    EXPECT_EQ(wire(sim().received()), QByteArray("\x0d"));
    EXPECT_TRUE(form().comm().IsOpen());
}

TEST_F(LinkE2e, SimulatorHangsUpInAWait)
{
    connect();
    sim().change_faults([&](sim::Faults& f) { f.hangup_after_bytes = 1; });
    QString reply;
    form().link().run_command([&] { return form().link().read_settings_frame(reply); });
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_EQ(form().link().last_outcome().kind, Outcome::Kind::NoAnswer);
    ASSERT_EQ(boxes().boxes.size(), 1u);
    EXPECT_EQ(boxes().boxes[0].text, QStringLiteral("Receive data error"));
    EXPECT_EQ(status(), QStringLiteral("Wait user command"));
    EXPECT_FALSE(form().link().busy());
}

}  // namespace
