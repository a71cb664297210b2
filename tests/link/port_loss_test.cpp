// The port in use going away under the link (its hang-up request, or its
// node removed) and coming back, on a fake view: what the user sees, what
// goes on the wire, and what a running command reports.

#include "link/port_loss.h"
#include "link_fixture.h"
#include "serial/port_watcher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString kBox = QStringLiteral("Comm error|Hardware not connect or Comm port select error");
const QString kReceiveError = QStringLiteral("Comm error|Receive data error");
const QStringList kUnknown{"HW type:unknown", "HW version:unknown", "FW version:unknown"};

// Scratch /dev, /sys and virtual-port folders, watched; made before the
// session that follows them.
struct WatchedRoots {
    WatchedRoots()
    {
        EXPECT_TRUE(QDir().mkpath(path("dev/serial/by-id")));
        EXPECT_TRUE(QDir().mkpath(path("sys")));
        EXPECT_TRUE(QDir().mkpath(path("run/serialcomm")));
        roots.dev = path("dev");
        roots.sysClassTty = path("sys");
        roots.virtualDir = path("run/serialcomm");
        watcher = std::make_unique<PortWatcher>(roots);
    }
    QString path(const QString& relative) const { return root.filePath(relative); }

    QTemporaryDir root;
    PortRoots roots;
    std::unique_ptr<PortWatcher> watcher;
};

// The session's own follower; the speed poll's stops are counted on the way.
class PortLossTest : protected WatchedRoots, public LinkTest {
protected:
    PortLossTest()
        : LinkTest(SessionChoices{.followPortLoss = true, .watcher = watcher.get()}),
          loss(session->portLoss())
    {
        loss->stop_speed_poll = [this, stop = loss->stop_speed_poll] {
            ++pollStops;
            stop();
        };
    }
    ~PortLossTest() override { session.reset(); }  // before the watcher it follows

    QString registered() const { return path("run/serialcomm/ttySIM0"); }
    void plugVirtual() { ASSERT_TRUE(QFile::link(peer.path(), registered())); }
    void unplugVirtual() { ASSERT_TRUE(QFile::remove(registered())); }

    // Connected on the registered port: both lamps lit, an ESC identified.
    void connectOn(const QString& port)
    {
        comm.SetCommName(port);
        comm.OpenComm();
        loss->follow_port_in_use();
        st.esc_ok = true;
        view.cardLamp = view.escLamp = true;
        view.labels = {"HW type:ESC_T03", "HW version:V1.0", "FW version:V1.2"};
        view.status = QStringLiteral("Wait user command");
    }
    QStringList boxes() const
    {
        QStringList shown;
        for (const RecordedBox& b : dialogs.boxes)
            shown << b.title + "|" + b.text;
        return shown;
    }
    void expectDown(const char* why)
    {
        SCOPED_TRACE(why);
        EXPECT_FALSE(view.cardLamp);
        EXPECT_FALSE(view.escLamp);
        EXPECT_EQ(view.labels, kUnknown);
        EXPECT_EQ(view.status, QStringLiteral("Comm error"));
        EXPECT_FALSE(st.esc_ok);
        EXPECT_FALSE(st.auto_search);
        EXPECT_FALSE(comm.IsOpen());
        EXPECT_FALSE(timer1.isActive());
        EXPECT_EQ(pollStops, 1);
        EXPECT_TRUE(loss->lost());
        EXPECT_EQ(view.busy, 0);
    }

    PortLoss* loss;
    int pollStops = 0;
};

TEST_F(PortLossTest, GoneEndsTheLinkAsTheWatchdogsFailureDoes)
{
    const struct {
        const char* name;
        bool watchdogRunning;
        std::function<void()> pull;
    } cases[] = {
        {"hang-up request", false, [this] { comm.OnRequestHangup(&comm); }},
        {"node removed", false, [this] { unplugVirtual(); }},
        {"node removed while the watchdog runs", true, [this] { unplugVirtual(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!QFileInfo::exists(registered()))
            plugVirtual();
        settle(50);  // the watcher has seen it
        connectOn(registered());
        if (c.watchdogRunning)
            timer1.start();
        peer.clear();
        c.pull();
        ASSERT_TRUE(waitUntil([&] { return !dialogs.boxes.empty(); }, 2000));
        settle(50);
        EXPECT_EQ(boxes(), QStringList{kBox});
        EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Error);
        expectDown(c.name);
        settle(1200);  // no watchdog report, no search, nothing sent
        EXPECT_EQ(boxes(), QStringList{kBox});
        EXPECT_EQ(timer1Ticks, 0);
        EXPECT_TRUE(peer.received().isEmpty());

        // Starting afresh for the next case: the port is back, and the
        // user's switch to it ends the wait for the old one.
        if (!QFileInfo::exists(registered()))
            plugVirtual();
        settle(100);
        link->run_command([this] { link->switch_port(registered()); });
        settle(50);
        EXPECT_FALSE(loss->lost());
        comm.CloseComm();
        loss->follow_port_in_use();
        timer1.stop();
        dialogs.boxes.clear();
        pollStops = 0;
    }
}

TEST_F(PortLossTest, ACommandEndsAtOnceWithItsOwnFailureAndTheLinkGoesDownWithoutASecondBox)
{
    const struct {
        const char* name;
        CommandKind kind;
        std::function<Outcome(Link&)> command;
        QStringList boxes;
    } cases[] = {
        {"a read", CommandKind::Click,
         [](Link& l) {
             QString frame;
             return l.read_settings_frame(frame);
         },
         {kReceiveError}},
        // A speed tick fails silently, so the loss has its box.
        {"a speed tick", CommandKind::SpeedTick,
         [](Link& l) {
             l.exchange(QByteArray("\x42"), {1000, [](const QString& r) { return r.size() == 4; }});
             return Outcome::ok();
         },
         {kBox}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        openPeer();  // nobody answers
        loss->follow_port_in_use();
        st.esc_ok = true;
        QTimer::singleShot(50, [this] { comm.OnRequestHangup(&comm); });
        QElapsedTimer clock;
        clock.start();
        link->run_command(Link::Command([&] { return c.command(*link); }), c.kind);
        EXPECT_LT(clock.elapsed(), 500) << "the reply wait ended with the port";
        settle(100);
        EXPECT_EQ(boxes(), c.boxes);
        expectDown(c.name);
        settle(300);
        EXPECT_EQ(boxes(), c.boxes);
        dialogs.boxes.clear();
        pollStops = 0;
        // The user's next switch (here: to the same port) ends the wait for the old one.
        link->run_command([&] { link->switch_port(peer.path()); });
        settle(50);
        EXPECT_FALSE(loss->lost());
        comm.CloseComm();
    }
}

TEST_F(PortLossTest, TheSameAdapterComingBackIsOpenedAndProbedWithoutAClick)
{
    peer.answer(0x35, {QByteArray("\x25\x01", 2)});
    peer.answer(0x50, {QByteArray("\x50\x03\x10\x12", 4)});
    const QString byId = path("dev/serial/by-id/usb-Adapter_0001-if00-port0");
    const struct {
        const char* name;
        QString port;  // the link is on it
        std::function<void()> plug, unplug, replug;
        QString portAfter;
    } cases[] = {
        {"a virtual port, back under its name", registered(), [&] { plugVirtual(); }, [&] { unplugVirtual(); },
         [&] { plugVirtual(); }, registered()},
        // A hardware port named ttyUSB0 comes back as ttyUSB1; its by-id name
        // is the same.
        {"a hardware port, back under another name", path("dev/ttyUSB0"),
         [&] {
             ASSERT_TRUE(QDir().mkpath(path("sys/ttyUSB0/device")));
             ASSERT_TRUE(QFile::link(peer.path(), path("dev/ttyUSB0")));
             ASSERT_TRUE(QFile::link("../../ttyUSB0", byId));
         },
         [&] {
             ASSERT_TRUE(QFile::remove(byId));
             ASSERT_TRUE(QFile::remove(path("dev/ttyUSB0")));
         },
         [&] {
             ASSERT_TRUE(QDir().mkpath(path("sys/ttyUSB1/device")));
             ASSERT_TRUE(QFile::link(peer.path(), path("dev/ttyUSB1")));
             ASSERT_TRUE(QFile::link("../../ttyUSB1", byId));
         },
         // Where the by-id name leads: here the terminal behind the stand-in node.
         QFileInfo(peer.path()).canonicalFilePath()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.plug();
        settle(50);
        connectOn(c.port);
        c.unplug();
        ASSERT_TRUE(waitUntil([&] { return loss->lost() && !dialogs.boxes.empty(); }, 2000));
        peer.clear();
        c.replug();
        ASSERT_TRUE(waitUntil([&] { return view.escLamp && view.cardLamp; }, 3000));
        EXPECT_EQ(peer.received(), QByteArray("\x35\x50", 2)) << "the start-up chain: probe, then identification";
        EXPECT_TRUE(comm.IsOpen());
        EXPECT_EQ(comm.CommName(), c.portAfter);
        EXPECT_TRUE(st.esc_ok);
        EXPECT_FALSE(loss->lost());
        EXPECT_EQ(view.status, QStringLiteral("Wait user command"));
        EXPECT_EQ(boxes(), QStringList{kBox}) << "only the loss had a box";
        dialogs.boxes.clear();
        pollStops = 0;
        comm.CloseComm();
        loss->follow_port_in_use();
    }
}

// udev gives a new node its group a moment after it appears, and
// ModemManager may hold it briefly: a refused open is tried again.
TEST_F(PortLossTest, AReopenRefusedAtFirstIsTriedAgain)
{
    plugVirtual();
    settle(50);
    connectOn(registered());
    unplugVirtual();
    ASSERT_TRUE(waitUntil([&] { return loss->lost(); }, 2000));
    QFile notATerminal(path("file"));
    ASSERT_TRUE(notATerminal.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(notATerminal.fileName(), registered()));
    settle(150);  // seen back; the open has failed
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_TRUE(loss->lost());
    ASSERT_TRUE(QFile::remove(registered()));
    plugVirtual();  // within one burst: the watcher sees no change
    ASSERT_TRUE(waitUntil([&] { return comm.IsOpen(); }, 2000));
    EXPECT_FALSE(loss->lost());
    EXPECT_TRUE(st.auto_search);
    EXPECT_TRUE(timer1.isActive());
}

TEST_F(PortLossTest, AHangUpFromAPortTheProgramClosedItselfChangesNothing)
{
    openPeer();
    loss->follow_port_in_use();
    st.esc_ok = true;
    comm.CloseComm();
    comm.OnRequestHangup(&comm);
    settle(50);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(loss->lost());
    EXPECT_TRUE(st.esc_ok);
    EXPECT_EQ(pollStops, 0);
}

}  // namespace
