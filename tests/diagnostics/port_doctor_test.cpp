// The port doctor on fake systems: each row builds a root with /dev, /sys,
// /proc and /etc, and the whole report for it is compared.
//
// The fake device belongs to whoever runs the test; the user examined is
// someone else (uid 4242, "alice"), and /etc/group names the runner's group
// as the device's group. A FIFO stands in for the device node, which only
// root could make.

#include "diagnostics/port_doctor.h"
#include "diagnostics/usb_serial_doctor.h"
#include "testing/qstring_printer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <functional>

namespace {

constexpr uid_t kAlice = 4242;
constexpr gid_t kAliceGroup = 4242;

class FakeSystem {
public:
    FakeSystem()
    {
        for (const char* dir : {"dev", "sys/class/tty", "proc", "etc", "usr/sbin", "usr/bin", "usr/lib/udev/rules.d"})
            QDir().mkpath(path(dir));
        write("etc/passwd", "root:x:0:0:root:/root:/bin/bash\nalice:x:4242:4242::/home/alice:/bin/bash\n");
        context.root = root_.path();
        context.uid = kAlice;
        context.groups = {kAliceGroup};
        context.selfPid = 999;
    }
    QString path(const QString& relative) const { return root_.filePath(relative); }
    void write(const QString& relative, const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile f(path(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    // The device's group is the runner's group, called name here; alice is
    // listed in it when listed is set.
    void device(const QString& name, mode_t mode, const QString& group = "dialout", bool listed = false)
    {
        ASSERT_EQ(::mkfifo(QFile::encodeName(path("dev/" + name)).constData(), 0600), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(path("dev/" + name)).constData(), mode), 0);
        // The device's group first: the runner's group may be root's.
        write("etc/group", QStringLiteral("%1:x:%2:%3\nroot:x:0:\nalice:x:4242:\n")
                               .arg(group)
                               .arg(::getegid())
                               .arg(listed ? "bob,alice" : "bob")
                               .toUtf8());
    }
    // The adapter's USB device, its usb-serial port (bound to driver) and
    // the tty; an FTDI port has its latency timer (latencyMs >= 0).
    void usbAdapter(const QString& tty, const char* vendor, const char* product, const QString& driver = {},
                    int latencyMs = -1)
    {
        const QString usb = "sys/devices/usb1/1-1";
        const QString port = usb + "/1-1:1.0/" + tty;
        QDir().mkpath(path(port));
        write(usb + "/idVendor", QByteArray(vendor) + "\n");
        write(usb + "/idProduct", QByteArray(product) + "\n");
        if (!driver.isEmpty()) {
            QDir().mkpath(path("sys/bus/usb-serial/drivers/" + driver));
            QFile::link(path("sys/bus/usb-serial/drivers/" + driver), path(port + "/driver"));
        }
        if (latencyMs >= 0)
            write(port + "/latency_timer", QByteArray::number(latencyMs) + "\n");
        QDir().mkpath(path("sys/class/tty/" + tty));
        QFile::link(path(port), path("sys/class/tty/" + tty + "/device"));
    }
    // servedTerminal: the number of the pseudo-terminal whose controlling
    // side it holds as well; -2: one whose number the system does not tell.
    void process(int pid, const QString& command, const QString& openDevice = {}, int servedTerminal = -1)
    {
        write(QStringLiteral("proc/%1/comm").arg(pid), command.toUtf8() + "\n");
        QDir().mkpath(path(QStringLiteral("proc/%1/fd").arg(pid)));
        QFile::link("/dev/pts/0", path(QStringLiteral("proc/%1/fd/0").arg(pid)));
        if (!openDevice.isEmpty())
            QFile::link(openDevice, path(QStringLiteral("proc/%1/fd/3").arg(pid)));
        if (servedTerminal != -1) {
            QFile::link("/dev/ptmx", path(QStringLiteral("proc/%1/fd/4").arg(pid)));
            write(QStringLiteral("proc/%1/fdinfo/4").arg(pid),
                  "pos:\t0\nflags:\t02100002\n" +
                      (servedTerminal >= 0 ? "tty-index:\t" + QByteArray::number(servedTerminal) + "\n" : ""));
        }
    }
    void rule() { write("usr/lib/udev/rules.d/70-zelt-serial-adapters.rules", "# rule\n"); }

    DoctorContext context;

private:
    QTemporaryDir root_;
};

QString report(FakeSystem& sys, const QStringList& ports)
{
    return render_findings(diagnose_ports(ports, sys.context));
}

const char* const kRuleMissing =
    "System\n"
    "  problem  the udev rule 70-zelt-serial-adapters.rules is not installed: USB serial adapters are not given to the user "
    "at the seat, and ModemManager is not told to leave them alone\n"
    "           fix: install 70-zelt-serial-adapters.rules from the program's package "
    "(packaging/70-zelt-serial-adapters.rules in its source) into /etc/udev/rules.d/, then: sudo udevadm control "
    "--reload-rules && sudo udevadm trigger\n";
const char* const kRuleOk =
    "System\n"
    "  ok       the udev rule /usr/lib/udev/rules.d/70-zelt-serial-adapters.rules is installed\n";

TEST(PortDoctor, WhoMayOpenThePortAndTheFix)
{
    const struct {
        const char* name;
        std::function<void(FakeSystem&)> setup;
        const char* access;  // the access finding as rendered
        QString port = "ttyUSB0";
    } cases[] = {
        {"not in dialout", [](FakeSystem& s) { s.device("ttyUSB0", 0660); },
         "  problem  alice may not open it: only members of group dialout may, and alice is not one\n"
         "           fix: sudo usermod -aG dialout alice   (then log out and log in again)\n"},
        {"not in uucp", [](FakeSystem& s) { s.device("ttyUSB0", 0660, "uucp"); },
         "  problem  alice may not open it: only members of group uucp may, and alice is not one\n"
         "           fix: sudo usermod -aG uucp alice   (then log out and log in again)\n"},
        {"added, not logged in again", [](FakeSystem& s) { s.device("ttyUSB0", 0660, "dialout", true); },
         "  problem  alice is in group dialout, which may open it, but this session started before that: it "
         "does not have the group yet\n"
         "           fix: log out and log in again (or, for one shell: newgrp dialout)\n"},
        {"in the group",
         [](FakeSystem& s) {
             s.device("ttyUSB0", 0660, "dialout", true);
             s.context.groups.push_back(::getegid());
         },
         "  ok       alice may open it as a member of group dialout\n"},
        {"owner only", [](FakeSystem& s) { s.device("ttyUSB0", 0600); },
         "  problem  alice may not open it: only its owner may (mode 600)\n"
         "           fix: install the udev rule (see below), then unplug the adapter and plug it in again\n"},
        {"owner only, a built-in port, group uucp", [](FakeSystem& s) { s.device("ttyS0", 0600, "uucp"); },
         "  problem  alice may not open it: only its owner may (mode 600)\n"
         "           fix: sudo chgrp uucp /dev/ttyS0 && sudo chmod 660 /dev/ttyS0   (until the next start), then "
         "join group uucp\n",
         "ttyS0"},
        {"everyone", [](FakeSystem& s) { s.device("ttyUSB0", 0666); }, "  ok       alice may open it\n"},
        {"root", [](FakeSystem& s) {
             s.device("ttyUSB0", 0600);
             s.context.uid = 0;
             s.context.user = "root";
         },
         "  ok       root may open it\n"},
    };
    for (const auto& c : cases) {
        FakeSystem sys;
        c.setup(sys);
        const QString expected = "/dev/" + c.port + "\n  ok       exists\n" +
                                 c.access +
                                 "  ok       no other process holds it\n"
                                 "\n" +
                                 kRuleMissing;
        EXPECT_EQ(report(sys, {c.port}), expected) << c.name;
    }
}

// The seat's user gets the device through an access list, whatever the
// group says.
TEST(PortDoctor, AnAccessListEntryForTheUserLetsThemIn)
{
    FakeSystem sys;
    sys.device("ttyUSB0", 0660);
    // Version 2; user_obj rw, user 4242 rw, group_obj rw, mask rw, other none.
    const unsigned char acl[] = {2, 0, 0, 0, 1, 0, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 6, 0, 0x92, 0x10, 0, 0,
                                 4, 0, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x10, 0, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                                 0x20, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    if (::setxattr(QFile::encodeName(sys.path("dev/ttyUSB0")).constData(), "system.posix_acl_access", acl,
                   sizeof acl, 0) != 0) {
        GTEST_SKIP() << "no access lists on the temporary folder";
    }
    EXPECT_TRUE(report(sys, {"ttyUSB0"}).contains(
        "  ok       alice may open it through its access list (the user at the seat)\n"));
}

TEST(PortDoctor, HoldersModemManagerBrlttyAndTheRule)
{
    const struct {
        const char* name;
        QString port;
        std::function<void(FakeSystem&)> setup;
        const char* expected;
    } cases[] = {
        {"held by another program", "ttyUSB0",
         [](FakeSystem& s) {
             s.device("ttyUSB0", 0666);
             s.process(123, "term", "/dev/ttyUSB0");
             s.process(124, "bash");
             s.rule();
         },
         "/dev/ttyUSB0\n"
         "  ok       exists\n"
         "  ok       alice may open it\n"
         "  problem  held by term (pid 123)\n"
         "           fix: close term, or end it: kill 123\n"},
        {"held by this program only, through its stable name", "/dev/serial/by-id/usb-X-if00",
         [](FakeSystem& s) {
             s.device("ttyUSB0", 0666);
             QDir().mkpath(s.path("dev/serial/by-id"));
             QFile::link("../../ttyUSB0", s.path("dev/serial/by-id/usb-X-if00"));
             s.process(999, "zelt-cli", "/dev/ttyUSB0");
             s.rule();
         },
         "/dev/serial/by-id/usb-X-if00\n"
         "  ok       exists (/dev/ttyUSB0)\n"
         "  ok       alice may open it\n"
         "  ok       no other process holds it\n"},
        {"ModemManager running, no rule, probing", "ttyACM0",
         [](FakeSystem& s) {
             s.device("ttyACM0", 0666);
             s.write("usr/sbin/ModemManager", "");
             s.process(77, "ModemManager", "/dev/ttyACM0");
         },
         "/dev/ttyACM0\n"
         "  ok       exists\n"
         "  ok       alice may open it\n"
         "  problem  held by ModemManager (pid 77)\n"
         "           fix: sudo systemctl stop ModemManager\n"
         "  note     ModemManager is running; it may open this port and send to it for a few seconds after "
         "plug-in\n"
         "           fix: sudo systemctl disable --now ModemManager   (if no modem is used)\n"},
        {"ModemManager told by the rule", "ttyUSB0",
         [](FakeSystem& s) {
             s.device("ttyUSB0", 0666);
             s.write("usr/sbin/ModemManager", "");
             s.rule();
         },
         "/dev/ttyUSB0\n"
         "  ok       exists\n"
         "  ok       alice may open it\n"
         "  ok       no other process holds it\n"
         "  ok       ModemManager is installed; the udev rule tells it to leave this port alone\n"},
        {"brltty and an adapter it claims, apt", "ttyUSB0",
         [](FakeSystem& s) {
             s.device("ttyUSB0", 0666);
             s.usbAdapter("ttyUSB0", "1a86", "7523", "ch341-uart");
             s.write("usr/bin/brltty", "");
             s.write("etc/os-release", "ID=derived\nID_LIKE=debian\n");
             s.rule();
         },
         "/dev/ttyUSB0\n"
         "  ok       exists\n"
         "  ok       alice may open it\n"
         "  ok       no other process holds it\n"
         "  problem  brltty is installed and claims this adapter (one of USB ids 1a86:7523 and 10c4:ea60) as a "
         "braille display\n"
         "           fix: sudo apt remove brltty\n"
         "  ok       USB adapter 1a86:7523, driver ch341-uart\n"},
        {"brltty and an adapter it leaves alone", "ttyUSB0",
         [](FakeSystem& s) {
             s.device("ttyUSB0", 0666);
             s.usbAdapter("ttyUSB0", "0403", "6001", "ftdi_sio", 1);
             s.write("usr/bin/brltty", "");
             s.rule();
         },
         "/dev/ttyUSB0\n"
         "  ok       exists\n"
         "  ok       alice may open it\n"
         "  ok       no other process holds it\n"
         "  ok       USB adapter 0403:6001, driver ftdi_sio\n"
         "  ok       latency timer 1 ms\n"},
        {"FTDI left at 16 ms, the rule installed", "ttyUSB0",
         [](FakeSystem& s) {
             s.device("ttyUSB0", 0666);
             s.usbAdapter("ttyUSB0", "0403", "6015", "ftdi_sio", 16);
             s.rule();
         },
         "/dev/ttyUSB0\n"
         "  ok       exists\n"
         "  ok       alice may open it\n"
         "  ok       no other process holds it\n"
         "  ok       USB adapter 0403:6015, driver ftdi_sio\n"
         "  problem  latency timer 16 ms: the adapter holds each reply of the card up to 16 ms, which slows every "
         "exchange (the speed test and firmware updates most)\n"
         "           fix: echo 1 | sudo tee /sys/bus/usb-serial/devices/ttyUSB0/latency_timer   (until it is "
         "unplugged); for good, the udev rule sets 1 ms whenever the adapter is plugged in: unplug the adapter and "
         "plug it in again\n"},
        {"FTDI at 3 ms through its stable name, no rule", "/dev/serial/by-id/usb-FTDI-if00",
         [](FakeSystem& s) {
             s.device("ttyUSB1", 0666);
             QDir().mkpath(s.path("dev/serial/by-id"));
             QFile::link("../../ttyUSB1", s.path("dev/serial/by-id/usb-FTDI-if00"));
             s.usbAdapter("ttyUSB1", "0403", "6001", "ftdi_sio", 3);
         },
         "/dev/serial/by-id/usb-FTDI-if00\n"
         "  ok       exists (/dev/ttyUSB1)\n"
         "  ok       alice may open it\n"
         "  ok       no other process holds it\n"
         "  ok       USB adapter 0403:6001, driver ftdi_sio\n"
         "  problem  latency timer 3 ms: the adapter holds each reply of the card up to 3 ms, which slows every "
         "exchange (the speed test and firmware updates most)\n"
         "           fix: echo 1 | sudo tee /sys/bus/usb-serial/devices/ttyUSB1/latency_timer   (until it is "
         "unplugged); for good, the udev rule sets 1 ms whenever the adapter is plugged in: install it (see below)\n"},
        {"a CH340: no latency timer to look at", "ttyUSB0",
         [](FakeSystem& s) {
             s.device("ttyUSB0", 0666);
             s.usbAdapter("ttyUSB0", "1a86", "7523", "ch341-uart");
             s.rule();
         },
         "/dev/ttyUSB0\n"
         "  ok       exists\n"
         "  ok       alice may open it\n"
         "  ok       no other process holds it\n"
         "  ok       USB adapter 1a86:7523, driver ch341-uart\n"},
        {"gone, brltty, pacman", "ttyUSB0",
         [](FakeSystem& s) {
             s.write("usr/bin/brltty", "");
             s.write("etc/os-release", "ID=arch\n");
             s.rule();
         },
         "/dev/ttyUSB0\n"
         "  problem  does not exist: the adapter is not plugged in, or the system took it away\n"
         "           fix: plug the adapter in and watch the system's messages: sudo dmesg --follow\n"
         "  note     brltty is installed; it claims common USB serial adapters (USB ids 1a86:7523 and 10c4:ea60) as "
         "braille displays, and their port "
         "vanishes right after plug-in\n"
         "           fix: sudo pacman -R brltty\n"},
        {"a virtual port, held by its simulator", "/run/user/4242/serialcomm/ttySIM0",
         [](FakeSystem& s) {
             QDir().mkpath(s.path("dev/pts"));
             ASSERT_EQ(::mkfifo(QFile::encodeName(s.path("dev/pts/5")).constData(), 0620), 0);
             QDir().mkpath(s.path("run/user/4242/serialcomm"));
             QFile::link("/dev/pts/5", s.path("run/user/4242/serialcomm/ttySIM0"));
             s.process(321, "zelt-sim", "/dev/pts/5", 5);
             s.context.uid = 0;
             s.context.user = "root";
             s.rule();
         },
         "/run/user/4242/serialcomm/ttySIM0\n"
         "  ok       exists (/dev/pts/5)\n"
         "  ok       root may open it\n"
         "  ok       no other process holds it\n"},
        {"a virtual port, held by the window as well as its simulator", "/dev/pts/5",
         [](FakeSystem& s) {
             QDir().mkpath(s.path("dev/pts"));
             ASSERT_EQ(::mkfifo(QFile::encodeName(s.path("dev/pts/5")).constData(), 0600), 0);
             ASSERT_EQ(::chmod(QFile::encodeName(s.path("dev/pts/5")).constData(), 0666), 0);
             s.process(321, "zelt-sim", "/dev/pts/5", 5);
             s.process(400, "zelt-esc", "/dev/pts/5");
             s.rule();
         },
         "/dev/pts/5\n"
         "  ok       exists\n"
         "  ok       alice may open it\n"
         "  problem  held by zelt-esc (pid 400)\n"
         "           fix: close zelt-esc, or end it: kill 400\n"},
        // Serving another terminal does not make it this one's server; a
        // system that does not number its terminals leaves every server out.
        {"a virtual port, held by the server of another", "/dev/pts/5",
         [](FakeSystem& s) {
             QDir().mkpath(s.path("dev/pts"));
             ASSERT_EQ(::mkfifo(QFile::encodeName(s.path("dev/pts/5")).constData(), 0600), 0);
             ASSERT_EQ(::chmod(QFile::encodeName(s.path("dev/pts/5")).constData(), 0666), 0);
             s.process(321, "socat", "/dev/pts/5", 6);
             s.process(322, "zelt-sim", "/dev/pts/5", -2);
             s.rule();
         },
         "/dev/pts/5\n"
         "  ok       exists\n"
         "  ok       alice may open it\n"
         "  problem  held by socat (pid 321)\n"
         "           fix: close socat, or end it: kill 321\n"},
        {"a file that is no device", "/tmp/notes",
         [](FakeSystem& s) {
             s.write("tmp/notes", "x");
             s.rule();
         },
         "/tmp/notes\n"
         "  problem  /tmp/notes is not a serial device\n"
         "           fix: choose another port; the serial ports are: ls /dev/serial/by-id\n"},
    };
    for (const auto& c : cases) {
        FakeSystem sys;
        c.setup(sys);
        const bool rule = QFile::exists(sys.path("usr/lib/udev/rules.d/70-zelt-serial-adapters.rules"));
        EXPECT_EQ(report(sys, {c.port}), QString(c.expected) + "\n" + (rule ? kRuleOk : kRuleMissing)) << c.name << "\n" << report(sys, {c.port}).toStdString();
    }
}

// The rule's finding names a file that exists: the rule where udev reads it,
// or a copy to install. From a build folder a missing rule is only a note.
TEST(PortDoctor, TheUdevRuleFindingNamesAFileThatExists)
{
    const struct {
        const char* name;
        std::function<void(FakeSystem&)> setup;
        const char* expected;
    } cases[] = {
        {"installed by the user", [](FakeSystem& s) { s.write("etc/udev/rules.d/70-zelt-serial-adapters.rules", "#\n"); },
         "  ok       the udev rule /etc/udev/rules.d/70-zelt-serial-adapters.rules is installed\n"},
        {"installed under another prefix",
         [](FakeSystem& s) { s.context.udevRuleSource = "/usr/local/lib/udev/rules.d/70-zelt-serial-adapters.rules"; },
         "  problem  the udev rule 70-zelt-serial-adapters.rules is not installed: USB serial adapters are not given "
         "to the user at the seat, and ModemManager is not told to leave them alone\n"
         "           fix: sudo install -m 644 /usr/local/lib/udev/rules.d/70-zelt-serial-adapters.rules "
         "/etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo udevadm trigger\n"},
        {"run from a build folder",
         [](FakeSystem& s) {
             s.context.udevRuleSource = "/home/alice/zelt/packaging/70-zelt-serial-adapters.rules";
             s.context.buildFolder = true;
         },
         "  note     the udev rule 70-zelt-serial-adapters.rules is not installed (this program runs from its build "
         "folder): USB serial adapters are not given to the user at the seat, and ModemManager is not told to leave "
         "them alone\n"
         "           fix: sudo install -m 644 /home/alice/zelt/packaging/70-zelt-serial-adapters.rules "
         "/etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo udevadm trigger\n"},
    };
    for (const auto& c : cases) {
        FakeSystem sys;
        c.setup(sys);
        EXPECT_EQ(report(sys, {}), QString("System\n") + c.expected) << c.name;
    }
}

// Where the copy of the rule is found for this process: the source tree of
// the build folder the program lies in, or the program's own prefix.
TEST(PortDoctor, TheRulesCopyBesideTheProgram)
{
    QTemporaryDir dir;
    const QString rule = "70-zelt-serial-adapters.rules";
    const auto make = [&](const QString& relative, const QByteArray& text) {
        QDir().mkpath(QFileInfo(dir.filePath(relative)).path());
        QFile f(dir.filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    make("src/packaging/" + rule, "#\n");
    make("src/build/release/CMakeCache.txt", "CMAKE_BUILD_TYPE:STRING=Release\nCMAKE_HOME_DIRECTORY:INTERNAL=" +
                                                 QFile::encodeName(dir.filePath("src")) + "\n");
    QDir().mkpath(dir.filePath("src/build/release/cli"));
    make("prefix/lib/udev/rules.d/" + rule, "#\n");
    QDir().mkpath(dir.filePath("prefix/bin"));
    QDir().mkpath(dir.filePath("bare/bin"));
    const struct {
        const char* programDir;
        const char* source;  // below dir; empty: none
        bool buildFolder;
    } cases[] = {
        {"src/build/release/cli", "src/packaging/", true},
        {"prefix/bin", "prefix/lib/udev/rules.d/", false},
        {"bare/bin", "", false},
    };
    for (const auto& c : cases) {
        const DoctorContext context = DoctorContext::forThisProcess(dir.filePath(c.programDir));
        EXPECT_EQ(context.buildFolder, c.buildFolder) << c.programDir;
        EXPECT_EQ(context.udevRuleSource, *c.source ? dir.filePath(c.source + rule) : QString()) << c.programDir;
    }
}

// The probe's round trip: the median of the tries (either parity) and the
// worst; slow from a median above 10 ms.
TEST(PortDoctor, RoundTripMedianWorstAndSlow)
{
    const struct {
        std::vector<double> ms;
        const char* expected;
    } cases[] = {
        {{2.1, 1.9, 2.4, 2.0, 9.0, 2.2, 2.0, 2.3, 1.8, 2.0},
         "  ok       the card answers the probe in 2.0 ms (median of 10 tries), 9.0 ms at worst\n"},
        {{17.5, 16.2, 3.0}, "  problem  the card answers the probe in 16.2 ms (median of 3 tries), 17.5 ms at worst: "
                            "slow, the adapter holds the replies back\n"
                            "           fix: on an FTDI adapter, set its latency timer to 1 ms (its finding above "
                            "says how); the hold times of other adapters cannot be changed\n"},
        {{10.0, 10.0}, "  ok       the card answers the probe in 10.0 ms (median of 2 tries), 10.0 ms at worst\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(render_findings({round_trip_finding("/dev/ttyUSB0", c.ms)}),
                  QString("/dev/ttyUSB0\n") + c.expected);
    }
}

TEST(PortDoctor, ThePortsAreTheListedOnesAndTheNamedOne)
{
    FakeSystem sys;
    sys.usbAdapter("ttyUSB0", "0403", "6001");
    const struct {
        QString named;
        QStringList ports;
    } cases[] = {
        {"", {"/dev/ttyUSB0"}},
        {"ttyACM3", {"/dev/ttyUSB0", "/dev/ttyACM3"}},
        {"/dev/ttyUSB0", {"/dev/ttyUSB0"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(doctor_ports(sys.context, c.named), c.ports) << c.named.toStdString();
    }
}

}  // namespace
