#include "link_fixture.h"

#include "link/hex_text.h"
#include "testing/thread_cpu.h"

#include <QTimer>

namespace {

using Transport = LinkTest;

TEST_F(Transport, RequestsReachTheWireWholeOrNotAtAll)
{
    openPeer();
    QByteArray largest;
    for (int i = 0; i < kMaxRequestBytes; ++i)
        largest.append(char(i));
    const struct {
        const char* name;
        QByteArray request;
        QByteArray wire;
    } cases[] = {
        {"two bytes, a zero among them", QByteArray("\x0c\x00", 2), QByteArray("\x0c\x00", 2)},
        {"the largest request", largest, largest},
        {"one byte too many", largest + 'x', QByteArray()},
        {"nothing", QByteArray(), QByteArray()},
    };
    for (const auto& c : cases) {
        peer.clear();
        link->send(c.request);
        link->send_code(0x7E);  // marker: everything before it has arrived
        // The largest request holds 7E itself, so wait for all that is due.
        ASSERT_TRUE(peer.waitReceived(c.wire + "\x7e", 2000)) << c.name;
        EXPECT_EQ(peer.received(), c.wire + "\x7e") << c.name;
    }
}

TEST_F(Transport, SixtyFourByteBlockGoesOutInOrder)
{
    openPeer();
    QByteArray wire;
    for (int i = 0; i < 64; ++i)
        wire.append(char((i * 37) & 0xFF));
    link->send(wire);
    ASSERT_TRUE(peer.waitReceived(wire, 2000));
    EXPECT_EQ(peer.received(), wire);
}

TEST_F(Transport, CommandModeOnlyAccumulates)
{
    st.cmd_mode = true;
    st.auto_search = true;
    receive("\x25");
    receive("\x01");
    receive(QByteArray("\x50\x03\x10\x12", 4));
    EXPECT_EQ(st.recv_str, QStringLiteral("250150031012"));
    EXPECT_FALSE(view.cardLamp);
    EXPECT_FALSE(view.escLamp);
    EXPECT_TRUE(st.auto_search);
    EXPECT_FALSE(st.esc_ok);
    EXPECT_EQ(view.labels[0], QStringLiteral("HW Type: Unknown"));
}

TEST_F(Transport, AnnouncementLightsPortLampAndAsksForTheEsc)
{
    openPeer();
    st.auto_search = true;
    timer1.start();
    settle(600);
    receive(QByteArray("\x25\x01", 2));
    QElapsedTimer sinceAnnouncement;
    sinceAnnouncement.start();
    EXPECT_TRUE(view.cardLamp);
    EXPECT_FALSE(st.auto_search);
    EXPECT_TRUE(timer1.isActive());
    ASSERT_TRUE(peer.waitReceived("\x50", 2000));
    EXPECT_EQ(peer.received(), QByteArray("\x50"));
    // A fresh period: the watchdog fires about 1000 ms after the announcement,
    // not 400 ms later as the first period would have.
    ASSERT_TRUE(waitUntil([this] { return timer1Ticks > 0; }, 3000));
    EXPECT_GE(sinceAnnouncement.elapsed(), 800);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Hardware not connect or Comm port select error"));
}

TEST_F(Transport, AnnouncementSplitOverTwoBlocksDoesNothing)
{
    openPeer();
    st.auto_search = true;
    receive("\x25");
    receive("\x01");
    settle(100);
    EXPECT_FALSE(view.cardLamp);
    EXPECT_TRUE(st.auto_search);
    EXPECT_TRUE(peer.received().isEmpty());
    EXPECT_FALSE(timer1.isActive());
}

TEST_F(Transport, EscStatusBlocks)
{
    const struct {
        QByteArray block;
        bool escOk;
        bool shdtLit;
        QStringList labels;
        int fwGroup;  // fw_group starts at 4
    } cases[] = {
        {QByteArray("\x50", 1),
         false,
         false,
         {"HW type:unknown", "HW version:unknown", "FW version:unknown"},
         4},
        {QByteArray("\x50\x00\x00\x00", 4),
         true,
         true,
         {"HW type:", "HW version:V0.0", "FW version:V0.0"},
         4},
        {QByteArray("\x50\x03\x10\x12", 4),
         true,
         true,
         {"HW type:ESC_T03", "HW version:V1.0", "FW version:V1.2"},
         1},
        {QByteArray("\x50\x10\x11\x11", 4),
         true,
         true,
         {"HW type:", "HW version:V1.1", "FW version:V1.1"},
         4},
        {QByteArray("\x50\x03\x10", 3),
         false,
         false,
         {"HW type:unknown", "HW version:unknown", "FW version:unknown"},
         4},
        {QByteArray("\x50\x03\x10\x12\x00", 5),
         false,
         false,
         {"HW type:unknown", "HW version:unknown", "FW version:unknown"},
         4},
    };
    for (const auto& c : cases) {
        st.esc_ok = !c.escOk;
        st.fw_group = 4;
        view.escLamp = !c.shdtLit;
        view.labels[0] = QStringLiteral("x");
        view.status = QStringLiteral("busy");
        timer1.start();
        receive(c.block);
        const QString name = to_hex_text(c.block);
        EXPECT_EQ(st.esc_ok, c.escOk) << name.toStdString();
        EXPECT_EQ(view.escLamp, c.shdtLit) << name.toStdString();
        EXPECT_EQ(labels(), c.labels) << name.toStdString();
        EXPECT_EQ(st.fw_group, c.fwGroup) << name.toStdString();
        EXPECT_FALSE(timer1.isActive()) << name.toStdString();
        EXPECT_EQ(view.status, c.escOk ? QStringLiteral("Wait user command") : QStringLiteral("busy"));
    }
    EXPECT_EQ(speedStarts, 0);
}

TEST_F(Transport, OtherBlocksOnTheStatusPathAreIgnored)
{
    st.esc_ok = true;
    timer1.start();
    for (const QByteArray& b :
         {QByteArray("\x25\x01\x00", 3), QByteArray("\x05\x00", 2), QByteArray("\x43", 1)})
        receive(b);
    EXPECT_TRUE(st.esc_ok);
    EXPECT_TRUE(timer1.isActive());
    EXPECT_FALSE(view.cardLamp);
    EXPECT_TRUE(st.recv_str.isEmpty());
}

TEST_F(Transport, IdentificationInSpeedModeStartsTheSpeedTest)
{
    view.selected = OperationMode::Speed;
    receive(QByteArray("\x50\x0C\x10\x12", 4));
    EXPECT_EQ(speedStarts, 1);
    EXPECT_EQ(st.fw_group, 5);
    receive(QByteArray("\x50", 1));
    EXPECT_EQ(speedStarts, 1);
}

TEST_F(Transport, Send0dJudgesTheReplyByLengthAndLead)
{
    openPeer();
    const QByteArray frame("\x43\x00\x00\x01\x00\x00\x01\x02\x00", 9);
    const struct {
        std::vector<QByteArray> reply;
        const char* result;
        int minMs, maxMs;
        bool box;
    } cases[] = {
        {{frame}, "430000010000010200", 0, 700, false},
        {{frame.left(4), frame.mid(4)}, "430000010000010200", 0, 700, false},
        {{frame + QByteArray("\x55", 1)}, "43000001000001020055", 900, 2500, false},
        {{frame.left(8)}, "", 900, 2500, true},
        {{QByteArray("\x44", 1) + frame.mid(1)}, "", 0, 700, true},
        {{}, "", 900, 2500, true},
    };
    for (const auto& c : cases) {
        peer.answer(0x0D, c.reply);
        dialogs.boxes.clear();
        st.cmd_mode = false;
        QElapsedTimer t;
        t.start();
        QString result;
        const Outcome read = link->read_settings_frame(result);
        const qint64 ms = t.elapsed();
        EXPECT_EQ(result, QString::fromLatin1(c.result));
        EXPECT_EQ(read.kind, c.box ? Outcome::Kind::NoAnswer : Outcome::Kind::Done) << c.result;
        EXPECT_EQ(read.box, c.box ? QStringLiteral("Receive data error") : QString()) << c.result;
        EXPECT_GE(ms, c.minMs) << c.result;
        EXPECT_LE(ms, c.maxMs) << c.result;
        EXPECT_TRUE(st.cmd_mode);
        EXPECT_FALSE(timer2.isActive());
        ASSERT_EQ(dialogs.boxes.size(), c.box ? 1u : 0u) << c.result;
        if (c.box) {
            EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("Comm error"));
            EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Receive data error"));
            EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Error);
            EXPECT_EQ(view.status, QStringLiteral("Wait user command"));
        }
        settle(50);
    }
    EXPECT_TRUE(peer.received().startsWith("\x0d"));
}

TEST_F(Transport, ReplyWaitBlocksInsteadOfSpinning)
{
    const double cpu0 = thread_cpu_seconds();
    QElapsedTimer t;
    t.start();
    link->reply_wait(500, [](const QString&) { return false; });
    const double cpu = thread_cpu_seconds() - cpu0;
    EXPECT_TRUE(st.time_out);
    EXPECT_GE(t.elapsed(), 450);
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_LT(cpu, 0.1) << "a spinning wait would use about 0.5 s";
}

TEST_F(Transport, ReplyWaitHandlesEventsAndLeavesOnItsCondition)
{
    int handled = 0;
    QTimer::singleShot(30, [&] { ++handled; });
    QTimer::singleShot(60, [&] { st.recv_str = QStringLiteral("5501"); });
    QElapsedTimer t;
    t.start();
    link->reply_wait(1000, [](const QString& r) { return r.size() >= 2; });
    EXPECT_EQ(handled, 1);
    EXPECT_FALSE(st.time_out);
    EXPECT_LT(t.elapsed(), 600);
    EXPECT_FALSE(timer2.isActive());
}

TEST_F(Transport, ReplyWaitEndsWhenItsTimerIsStoppedElsewhere)
{
    QTimer::singleShot(50, [&] { timer2.stop(); });
    QElapsedTimer t;
    t.start();
    link->reply_wait(
        3000, [](const QString&) { return false; }, Link::Pass::ProcessTwice);
    EXPECT_LT(t.elapsed(), 1500);
}

TEST_F(Transport, PumpedDelayPassesAndEvents)
{
    const struct {
        int n;
        int minMs;
        bool handles;
    } cases[] = {{-1, 0, false}, {0, 0, true}, {1, 2, true}, {15, 16, true}};
    for (const auto& c : cases) {
        bool handled = false;
        QMetaObject::invokeMethod(
            link, [&] { handled = true; }, Qt::QueuedConnection);
        QElapsedTimer t;
        t.start();
        link->pumped_delay(c.n);
        EXPECT_GE(t.elapsed(), c.minMs) << c.n;
        EXPECT_LT(t.elapsed(), c.minMs + 200) << c.n;
        EXPECT_EQ(handled, c.handles) << c.n;
        QCoreApplication::processEvents();
    }
}

}  // namespace
