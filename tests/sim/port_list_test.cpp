// The port list: hardware ports from a sysfs tree, virtual ports from the
// per-user folder, with the simulator registering itself there.

#include "serial/port_list.h"
#include "sim/simulator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Points XDG_RUNTIME_DIR at a folder of the test's own and restores it after.
class VirtualPorts : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = qgetenv("XDG_RUNTIME_DIR");
        had_ = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        ASSERT_TRUE(runtime_.isValid());
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
    }
    void TearDown() override
    {
        if (had_)
            qputenv("XDG_RUNTIME_DIR", saved_);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    QString folder() const { return runtime_.filePath("serialcomm"); }
    QStringList virtual_entries() const
    {
        QStringList out;
        for (const QString& p : list_serial_ports())
            if (p.startsWith(folder()))
                out << p;
        return out;
    }

    QTemporaryDir runtime_;
    QByteArray saved_;
    bool had_ = false;
};

TEST_F(VirtualPorts, FolderFollowsTheRuntimeDirectory)
{
    EXPECT_EQ(virtual_port_dir(), folder());
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(virtual_port_dir(), QString("/tmp/serialcomm-%1").arg(getuid()));
}

TEST_F(VirtualPorts, MissingFolderListsTheHardwarePortsOnly)
{
    ASSERT_FALSE(QFileInfo::exists(folder()));
    EXPECT_EQ(list_serial_ports(), list_hardware_ports());
}

TEST_F(VirtualPorts, RegisteredSimulatorIsListedAndARemovedOneIsNot)
{
    auto simulator = std::make_unique<sim::Simulator>();
    ASSERT_TRUE(simulator->start());
    const QString target = QString::fromStdString(simulator->port_path());
    QString link;
    ASSERT_TRUE(register_virtual_port(target, &link));

    EXPECT_EQ(link, folder() + "/ttySIM0");
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    const QStringList ports = list_serial_ports();
    ASSERT_FALSE(ports.isEmpty());
    EXPECT_EQ(ports.last(), link) << "virtual ports come after the hardware ports";
    EXPECT_FALSE(ports.contains(target)) << "the link is listed, not what it points to";

    // A simulator that ends without unregistering leaves a dangling link.
    // Its terminal's number may go to another program at once (other tests
    // run beside this one), so a file of the test's own stands for it.
    unregister_virtual_port(link);
    const QString gone = runtime_.filePath(QStringLiteral("pts-gone"));
    QFile file(gone);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(register_virtual_port(gone, &link));
    ASSERT_EQ(virtual_entries(), QStringList{link});
    ASSERT_TRUE(QFile::remove(gone));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(virtual_entries().isEmpty());
}

TEST_F(VirtualPorts, UnregisterRemovesTheLink)
{
    sim::Simulator simulator;
    ASSERT_TRUE(simulator.start());
    QString link;
    ASSERT_TRUE(register_virtual_port(QString::fromStdString(simulator.port_path()), &link));
    ASSERT_EQ(virtual_entries(), QStringList{link});
    unregister_virtual_port(link);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(virtual_entries().isEmpty());
}

TEST_F(VirtualPorts, LinksAreListedInNameOrderAndNamesAreNotShared)
{
    QString a, b, c;
    ASSERT_TRUE(register_virtual_port("/dev/null", &a));
    ASSERT_TRUE(register_virtual_port("/dev/zero", &b));
    ASSERT_TRUE(register_virtual_port("/dev/null", &c));
    EXPECT_EQ(QSet<QString>({a, b, c}).size(), 3);
    ASSERT_TRUE(QFile::link("/dev/null", folder() + "/0-first"));
    EXPECT_EQ(virtual_entries(), (QStringList{folder() + "/0-first", a, b, c}));

    // Only links count; a plain file in the folder is no port.
    QFile plain(folder() + "/plain");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_FALSE(virtual_entries().contains(folder() + "/plain"));
}

TEST_F(VirtualPorts, DanglingLinkIsSkippedAndItsNameReused)
{
    ASSERT_TRUE(QDir().mkpath(folder()));
    ASSERT_TRUE(QFile::link(runtime_.filePath("gone"), folder() + "/ttySIM0"));
    EXPECT_TRUE(virtual_entries().isEmpty());
    QString link;
    ASSERT_TRUE(register_virtual_port("/dev/null", &link));
    EXPECT_EQ(link, folder() + "/ttySIM0");
    EXPECT_EQ(virtual_entries(), QStringList{link});
}

TEST_F(VirtualPorts, FolderThatIsNoDirectoryIsNotUsed)
{
    QFile blocker(folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString link;
    EXPECT_FALSE(register_virtual_port("/dev/null", &link));
    EXPECT_EQ(list_serial_ports(), list_hardware_ports());
}

TEST_F(VirtualPorts, UnregisterTouchesNothingOutsideTheFolder)
{
    const QString elsewhere = runtime_.filePath("other-link");
    ASSERT_TRUE(QFile::link("/dev/null", elsewhere));
    unregister_virtual_port(elsewhere);
    EXPECT_TRUE(QFileInfo(elsewhere).isSymLink());
}

// A fake /sys/class/tty with the kinds of entries a machine has.
class HardwarePorts : public ::testing::Test {
protected:
    void add_tty(const QString& name, const QString& driver, const char* uart_type)
    {
        const QString dir = root_.filePath(name);
        ASSERT_TRUE(QDir().mkpath(dir));
        if (driver.isEmpty())
            return;  // a console or pseudo-terminal: no device behind it
        const QString device = root_.filePath("devices/" + name);
        ASSERT_TRUE(QDir().mkpath(device));
        ASSERT_TRUE(QDir().mkpath(root_.filePath("drivers/" + driver)));
        ASSERT_TRUE(QFile::link(device, dir + "/device"));
        ASSERT_TRUE(QFile::link(root_.filePath("drivers/" + driver), device + "/driver"));
        if (uart_type) {
            QFile type(dir + "/type");
            ASSERT_TRUE(type.open(QIODevice::WriteOnly));
            type.write(uart_type);
        }
    }
    QTemporaryDir root_;
};

TEST_F(HardwarePorts, PlaceholderUartsAndTerminalsAreLeftOutInNaturalOrder)
{
    add_tty("tty1", "", nullptr);
    add_tty("ttyS0", "serial8250", "4\n");
    add_tty("ttyS1", "serial8250", "0\n");  // placeholder without a UART
    add_tty("ttyS2", "serial8250", nullptr);
    add_tty("ttyS10", "serial8250", "4\n");
    add_tty("ttyUSB0", "ftdi_sio", nullptr);
    add_tty("ttyACM0", "cdc_acm", "0\n");  // only the 8250 driver has placeholders
    EXPECT_EQ(list_hardware_ports(root_.path()),
              (QStringList{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS10", "/dev/ttyUSB0"}));
}

TEST_F(HardwarePorts, MissingSysfsGivesAnEmptyList)
{
    EXPECT_TRUE(list_hardware_ports(root_.filePath("absent")).isEmpty());
}

}  // namespace
