// The port watcher on folders standing in for /dev, /sys/class/tty and the
// virtual-port folder: plug and unplug, stable names, the port in use going
// and coming back, and no CPU while nothing changes.

#include "comm_test_support.h"
#include "serial/port_watcher.h"
#include "testing/event_wait.h"
#include "testing/thread_cpu.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PortWatcherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(path("dev")));
        ASSERT_TRUE(QDir().mkpath(path("sys")));
        ASSERT_TRUE(QDir().mkpath(path("run")));
        roots_.dev = path("dev");
        roots_.sysClassTty = path("sys");
        roots_.virtualDir = path("run/serialcomm");  // appears later
    }
    QString path(const QString& relative) const { return root_.filePath(relative); }
    QString dev(const QString& name) const { return path("dev/" + name); }

    // What the kernel and udev do on plug-in: the sysfs entry, the node, and
    // (with byId) the stable link.
    void plug(const QString& name, const QString& byId = {})
    {
        ASSERT_TRUE(QDir().mkpath(path("sys/" + name + "/device")));
        touch(dev(name));
        if (!byId.isEmpty()) {
            ASSERT_TRUE(QDir().mkpath(path("dev/serial/by-id")));
            ASSERT_TRUE(QFile::link("../../" + name, path("dev/serial/by-id/" + byId)));
        }
    }
    // On unplug the node and link go first; the sysfs entry lags behind.
    void unplug(const QString& name, const QString& byId = {})
    {
        ASSERT_TRUE(QFile::remove(dev(name)));
        if (!byId.isEmpty()) {
            ASSERT_TRUE(QFile::remove(path("dev/serial/by-id/" + byId)));
        }
    }
    static void touch(const QString& file)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    static bool waitFor(QSignalSpy& spy, int count) { return wait_until([&] { return spy.count() >= count; }, 5000); }

    QTemporaryDir root_;
    PortRoots roots_;
};

const QString kById = QStringLiteral("usb-Maker_USB_Serial_A1B2-if00-port0");

TEST_F(PortWatcherTest, HardwarePortsComeAndGoWithTheirStableNames)
{
    plug("ttyS0");
    PortWatcher watcher(roots_);
    ASSERT_TRUE(watcher.isWatching());
    EXPECT_EQ(watcher.ports(), QStringList{dev("ttyS0")});
    QSignalSpy changed(&watcher, &PortWatcher::portsChanged);

    plug("ttyUSB0", kById);
    ASSERT_TRUE(wait_until([&] { return !watcher.stableName(dev("ttyUSB0")).isEmpty(); }, 5000));
    EXPECT_EQ(watcher.ports(), (QStringList{dev("ttyS0"), dev("ttyUSB0")}));
    EXPECT_EQ(changed.last().at(0).toStringList(), watcher.ports());
    EXPECT_EQ(watcher.stableName(dev("ttyUSB0")), path("dev/serial/by-id/" + kById));
    EXPECT_EQ(watcher.stableName(dev("ttyS0")), QString());

    const int before = changed.count();
    unplug("ttyUSB0", kById);
    ASSERT_TRUE(waitFor(changed, before + 1));
    EXPECT_EQ(watcher.ports(), QStringList{dev("ttyS0")});
    EXPECT_EQ(watcher.stableName(dev("ttyUSB0")), QString());
}

TEST_F(PortWatcherTest, TheVirtualPortFolderIsFollowedOnceItAppears)
{
    touch(path("pts7"));  // stands in for the simulator's terminal
    PortWatcher watcher(roots_);
    EXPECT_TRUE(watcher.ports().isEmpty());
    QSignalSpy changed(&watcher, &PortWatcher::portsChanged);

    ASSERT_TRUE(QDir().mkpath(roots_.virtualDir));
    ASSERT_TRUE(QFile::link(path("pts7"), roots_.virtualDir + "/ttySIM0"));
    ASSERT_TRUE(waitFor(changed, 1));
    EXPECT_EQ(watcher.ports(), QStringList{roots_.virtualDir + "/ttySIM0"});

    ASSERT_TRUE(QFile::remove(roots_.virtualDir + "/ttySIM0"));
    ASSERT_TRUE(waitFor(changed, 2));
    EXPECT_TRUE(watcher.ports().isEmpty());

    // The folder itself removed and made again is followed again.
    ASSERT_TRUE(QDir(roots_.virtualDir).removeRecursively());
    settle(50);
    ASSERT_TRUE(QDir().mkpath(roots_.virtualDir));
    ASSERT_TRUE(QFile::link(path("pts7"), roots_.virtualDir + "/ttySIM1"));
    ASSERT_TRUE(waitFor(changed, 3));
    EXPECT_EQ(watcher.ports(), QStringList{roots_.virtualDir + "/ttySIM1"});
}

// Back by its path, or by its stable name under another device name (the
// old name was still held when it came back).
TEST_F(PortWatcherTest, ThePortInUseIsReportedGoneOnceAndBackWhereItIs)
{
    const struct {
        const char* returnsAs;
    } cases[] = {{"ttyUSB0"}, {"ttyUSB1"}};
    for (const auto& c : cases) {
        plug("ttyUSB0", kById);
        PortWatcher watcher(roots_);
        watcher.setPortInUse(dev("ttyUSB0"));
        QSignalSpy gone(&watcher, &PortWatcher::portInUseGone);
        QSignalSpy back(&watcher, &PortWatcher::portInUseBack);
        QSignalSpy changed(&watcher, &PortWatcher::portsChanged);

        unplug("ttyUSB0", kById);
        ASSERT_TRUE(waitFor(gone, 1));
        EXPECT_EQ(gone.at(0).at(0).toString(), dev("ttyUSB0"));
        ASSERT_TRUE(waitFor(changed, 1));
        EXPECT_TRUE(back.isEmpty());

        plug(c.returnsAs, kById);
        ASSERT_TRUE(waitFor(back, 1)) << c.returnsAs;
        EXPECT_EQ(back.at(0).at(0).toString(), dev(c.returnsAs));
        settle(100);
        EXPECT_EQ(gone.count(), 1);
        EXPECT_EQ(back.count(), 1);

        unplug(c.returnsAs, kById);
        ASSERT_TRUE(waitFor(gone, 2));
        QDir(path("sys")).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(path("sys")));
    }
}

TEST_F(PortWatcherTest, APortInUseOutsideTheWatchedFoldersIsFollowedToo)
{
    ASSERT_TRUE(QDir().mkpath(path("elsewhere")));
    touch(path("elsewhere/port"));
    touch(path("elsewhere/other"));
    PortWatcher watcher(roots_);
    watcher.setPortInUse(path("elsewhere/port"));
    QSignalSpy gone(&watcher, &PortWatcher::portInUseGone);
    ASSERT_TRUE(QFile::remove(path("elsewhere/other")));
    settle(100);
    EXPECT_TRUE(gone.isEmpty());
    ASSERT_TRUE(QFile::remove(path("elsewhere/port")));
    ASSERT_TRUE(waitFor(gone, 1));
}

// A real terminal registered as the simulator does it, under the folder
// that virtual_port_dir() names.
TEST_F(PortWatcherTest, ARegisteredTerminalIsListedAndItsRemovalSeen)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path("run")));
    PortRoots roots = roots_;
    roots.virtualDir.clear();  // the default folder, now below run/
    PortWatcher watcher(roots);
    QSignalSpy changed(&watcher, &PortWatcher::portsChanged);
    QSignalSpy gone(&watcher, &PortWatcher::portInUseGone);
    PtyPair pty;
    QString link;
    ASSERT_TRUE(register_virtual_port(pty.slavePath(), &link));
    ASSERT_TRUE(waitFor(changed, 1));
    EXPECT_EQ(watcher.ports(), QStringList{link});
    watcher.setPortInUse(link);
    unregister_virtual_port(link);
    ASSERT_TRUE(waitFor(gone, 1));
    ASSERT_TRUE(waitFor(changed, 2));
    EXPECT_TRUE(watcher.ports().isEmpty());
    if (saved.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);
}

// Idle means blocked in the event loop with no wake-up at all: no timer,
// no poll of the folders.
TEST_F(PortWatcherTest, UsesNoCpuWhileNothingChanges)
{
    plug("ttyUSB0", kById);
    PortWatcher watcher(roots_);
    // The real /dev and /sys as well; the virtual folder stays private, as
    // other tests' simulators come and go in the real one.
    PortRoots real;
    real.virtualDir = path("private/serialcomm");
    PortWatcher system(real);
    QSignalSpy changed(&watcher, &PortWatcher::portsChanged);
    settle(50);  // the loop's own first-use costs are not the watchers'
    const double before = thread_cpu_seconds();
    QEventLoop loop;
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    const double used = thread_cpu_seconds() - before;
    RecordProperty("idle_cpu_us", static_cast<int>(used * 1e6));
    EXPECT_LT(used, 0.005) << used;
    EXPECT_TRUE(changed.isEmpty());
}

}  // namespace
