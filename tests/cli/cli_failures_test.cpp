// Failures: a silent card, a port that cannot be opened, an ESC that does
// not answer or fails the verification, a bad image. Each ends with its
// reason on stderr and status 1 (the devices) or 2 (the input).

#include "cli_fixture.h"
#include "testing/held_pty.h"

#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include "sim/motor_model.h"
#include "speedtest/speed_math.h"

#include <QRegularExpression>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray wire_of(const sim::Simulator& sim)
{
    const std::vector<uint8_t> got = sim.received();
    return QByteArray(reinterpret_cast<const char*>(got.data()), got.size()).toHex().toUpper();
}

TEST_F(CliTest, SilentCardAndMissingPortFailWithTheReason)
{
    sim_->change_faults([&](sim::Faults& f) { f.silent_card = true; });
    struct Case {
        QStringList args;
        const char* says;
    };
    const Case cases[] = {
        {{"identify", "--port", "PORT"}, "zelt-cli: no setting card answered on PORT; check the cable"},
        {{"write", "--port", "PORT", "5=1"}, "zelt-cli: no setting card answered on PORT"},
        {{"flash", "--yes", "--port", "PORT"}, "zelt-cli: no setting card answered on PORT"},
        {{"find", "--port", "PORT"}, "not find hardware: can not find hardware,please confirm:\n  1.Hardware port "
                                     "connect.\n  2.Hardware power."},
        {{"read", "--port", "/dev/zelt-no-such-port"},
         "zelt-cli: cannot open /dev/zelt-no-such-port: No such file or directory; `zelt-cli doctor --port "
         "/dev/zelt-no-such-port` tells why"},
    };
    for (const Case& c : cases) {
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.status, 1) << describe(c.args, run);
        EXPECT_TRUE(run.err.contains(QString(c.says).replace("PORT", port_))) << c.says << "\n" << describe(c.args, run);
        EXPECT_TRUE(run.out.isEmpty()) << describe(c.args, run);
    }
    EXPECT_EQ(wire_of(*sim_), "35353535") << "one probe per search; no write, no firmware";
}

TEST_F(CliTest, EscFailuresEndWithTheirBoxAndStatus)
{
    const QString shortImage = xdg("XDG_DATA_HOME", "short.blo");
    QFile file(shortImage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("V1.3\r\n:000102030405060708090A0B0C0D0E0F\r\n");
    file.close();
    ASSERT_TRUE(sim::Simulator::write_sample_images(xdg("XDG_DATA_HOME", "images").toStdString(), "1.3"));
    const QString noItem = xdg("XDG_DATA_HOME", "no-item.zelt");
    QFile setup(noItem);
    ASSERT_TRUE(setup.open(QIODevice::WriteOnly));
    setup.write("[INC]\nlow_volt_threshold=1\nlow_volt_mode=0\nstartup_mode=9\nbreak_mode=0\ntiming_mode=1\n"
                "current_threshold=1\n");
    setup.close();

    struct Case {
        const char* name;
        std::function<void(sim::Simulator&)> fault;
        QStringList args;
        int status;
        QString says;
        QByteArray wireStart;  // what the simulator received first, hex
    };
    const Case cases[] = {
        {"read unanswered", [](sim::Simulator& s) { s.change_faults([&](sim::Faults& f) { f.reply_overrides[0x0D] = {}; }); },
         {"read"}, 1, "Comm error: Receive data error\nComm error: Receive data error\n", "35500D"},
        {"write refused", [](sim::Simulator& s) { s.set_write_ack(0x00); },
         {"restore"}, 1, "Comm error: Receive data error\n", "35500D034300000100"},
        // The read before a restore is for the backup only: without it the restore still runs.
        {"restore without its read", [](sim::Simulator& s) { s.change_faults([&](sim::Faults& f) { f.reply_overrides[0x0D] = {}; }); }, {"restore"}, 0,
         "zelt-cli: warning: the settings were not backed up: the ESC's settings could not be read; going on",
         "35500D03430000010000010200"},
        // A plain setup file names items; one that names none is not sent.
        {"setup file naming no item", [](sim::Simulator&) {}, {"write", noItem}, 2,
         "zelt-cli: " + noItem + " line 4: startup_mode=9 is out of range; Cut Off Voltage takes an item index "
         "from 0 to 2; nothing was sent", ""},
        {"image too short", [](sim::Simulator&) {}, {"flash", "--yes", "--image", shortImage}, 2,
         "cannot be written", "3550"},
        {"read-back differs", [](sim::Simulator& s) { s.change_faults([&](sim::Faults& f) { f.flip_readback_byte = 100; }); },
         {"flash", "--yes", "--image", xdg("XDG_DATA_HOME", "images/upt03.blo")}, 1,
         "Error: Update hardware failure,Please update Hardware again\n", "3550070C0013"},
        // A byte every 300 ms would take half an hour; the check ends after
        // three times the read-back's 3.2 s on the line.
        {"read-back trickles", [](sim::Simulator& s) { s.change_faults([&](sim::Faults& f) { f.split_reply_gap_ms = 300; }); },
         {"flash", "--yes", "--image", xdg("XDG_DATA_HOME", "images/upt03.blo")}, 1,
         "Error: Update hardware failure,Please update Hardware again\n", "3550070C0013"},
        {"write phase unanswered", [](sim::Simulator& s) { s.change_faults([&](sim::Faults& f) { f.block_replies[3] = {0x59, 0x59}; }); },
         {"flash", "--yes", "--image", xdg("XDG_DATA_HOME", "images/upt03.blo")}, 1,
         "Comm error: Receive data error,Please update Hardware again\n", "3550070C0013"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start_sim());
        c.fault(*sim_);
        const QStringList args = QStringList(c.args) << "--port" << "PORT";
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, c.status) << describe(args, run);
        EXPECT_TRUE(run.err.contains(c.says)) << describe(args, run);
        EXPECT_TRUE(wire_of(*sim_).startsWith(c.wireStart)) << wire_of(*sim_).left(40).toStdString();
        if (c.status == 2) {
            EXPECT_EQ(wire_of(*sim_), c.wireStart) << "nothing of the image was sent";
        }
    }
}

// A save that fails once the ESC was read names the file and the system's
// reason, and leaves the old file as it was: here the disk is full (a file
// size limit of 0).
TEST_F(CliTest, FailedSaveNamesThePathAndTheReason)
{
    const QString target = xdg("XDG_DATA_HOME", "kept.zelt");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("[INC]\nlow_volt_mode=1\n");
    old.close();
    QProcess p;
    p.setChildProcessModifier([] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_FSIZE, &none);
    });
    const QStringList args = {"save", "--port", "PORT", target};
    start(p, args);
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 2) << err.toStdString();
    EXPECT_TRUE(err.contains("Error: Save file error\nzelt-cli: cannot save " + target + ": File too large\n"))
        << err.toStdString();
    EXPECT_EQ(wire_of(*sim_), "35500D") << "the read, nothing else";
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "[INC]\nlow_volt_mode=1\n");
    EXPECT_EQ(QDir(xdg("XDG_DATA_HOME")).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.zelt"});
}

TEST_F(CliTest, DoctorAndTraceFile)
{
    const CliRun doctor = cli({"doctor", "--port", "/dev/zelt-no-such-port"});
    EXPECT_EQ(doctor.status, 1) << describe({"doctor"}, doctor);
    EXPECT_TRUE(doctor.out.contains("/dev/zelt-no-such-port")) << doctor.out.toStdString();
    EXPECT_TRUE(doctor.out.contains("does not exist")) << doctor.out.toStdString();
    EXPECT_TRUE(doctor.out.contains("sudo dmesg --follow")) << doctor.out.toStdString();

    const QString log = xdg("XDG_DATA_HOME", "trace.log");
    ASSERT_EQ(cli({"identify", "--port", "PORT", "--log", log}).status, 0);
    QFile trace(log);
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(trace.readAll());
    for (const char* line : {"TX 35", "RX 25 01", "TX 50", "RX 50 03 10 12"})
        EXPECT_TRUE(text.contains(line)) << line << "\n" << text.toStdString();
}

// A port another program has open is refused with its holder's name, or
// passed over by a search with a word; it is not written to, and its line
// settings are as that program left them.
TEST_F(CliTest, PortsOfOtherProgramsAreLeftAlone)
{
    HeldPty held;
    ASSERT_TRUE(held.ok());
    const QString holder = QStringLiteral("held by sleep (pid %1)").arg(held.holderPid());
    // Listed as virtual ports: the held one first, then the simulator's.
    const QString listedHeld = xdg("XDG_RUNTIME_DIR", "serialcomm/ttySIM0");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(listedHeld).path()));
    ASSERT_TRUE(QFile::link(held.path(), listedHeld));
    ASSERT_TRUE(QFile::link(port_, xdg("XDG_RUNTIME_DIR", "serialcomm/ttySIM1")));
    struct Row {
        QStringList args;
        int status;
        QString says;
        QString prints;
    };
    const Row rows[] = {
        {{"identify", "--port", held.path()}, 1,
         "zelt-cli: cannot open " + held.path() + ": " + holder + "; `zelt-cli doctor --port " + held.path() + "`",
         ""},
        {{"find", "--port", held.path()}, 1, "zelt-cli: passing over " + held.path() + ": " + holder + "\n", ""},
        {{"find"}, 0, "zelt-cli: passing over " + listedHeld + ": " + holder + "\n",
         "port=" + xdg("XDG_RUNTIME_DIR", "serialcomm/ttySIM1") + "\n"},
        {{"doctor", "--port", held.path()}, 1, "",
         "  problem  " + holder + "\n           fix: close sleep, or end it: kill " + QString::number(held.holderPid())},
    };
    const termios before = held.settings();
    for (const Row& row : rows) {
        const CliRun run = cli(row.args);
        EXPECT_EQ(run.status, row.status) << describe(row.args, run);
        EXPECT_TRUE(run.err.contains(row.says)) << describe(row.args, run);
        EXPECT_TRUE(run.out.contains(row.prints)) << describe(row.args, run);
        EXPECT_TRUE(same_settings(held.settings(), before)) << describe(row.args, run);
        EXPECT_EQ(held.sent(), QByteArray()) << describe(row.args, run);
    }
    // The search's trace says why the port was passed over.
    const QString log = xdg("XDG_DATA_HOME", "trace.log");
    ASSERT_EQ(cli({"find", "--log", log}).status, 0);
    QFile trace(log);
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(trace.readAll());
    EXPECT_TRUE(text.contains("open " + listedHeld + " passed over: " + holder + "\n")) << text.toStdString();
}

// The simulator holds both sides of its terminal: it is the port's server,
// not a holder. After our use the port has the settings it had before.
TEST_F(CliTest, OurOwnUseOfAPortPutsItsSettingsBack)
{
    const int terminal = ::open(QFile::encodeName(port_).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(terminal, 0);
    termios set{};
    ASSERT_EQ(::tcgetattr(terminal, &set), 0);
    ::cfsetispeed(&set, B115200);
    ::cfsetospeed(&set, B115200);
    set.c_lflag |= ECHO;
    set.c_cflag &= ~HUPCL;
    ASSERT_EQ(::tcsetattr(terminal, TCSANOW, &set), 0);
    ASSERT_EQ(::tcgetattr(terminal, &set), 0);
    ::close(terminal);  // not held while zelt-cli runs

    for (const QStringList& args : {QStringList{"identify", "--port", "PORT"}, QStringList{"read", "--port", "PORT"}}) {
        const CliRun run = cli(args);
        ASSERT_EQ(run.status, 0) << describe(args, run);
        const int again = ::open(QFile::encodeName(port_).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(again, 0);
        termios after{};
        ASSERT_EQ(::tcgetattr(again, &after), 0);
        ::close(again);
        EXPECT_TRUE(same_settings(after, set)) << describe(args, run);
    }
}

// With --port and a card answering, the doctor times the probe; an adapter
// that holds each reply 16 ms makes it slow.
class CliDoctorSlow : public CliTest {};

TEST_F(CliDoctorSlow, TheProbesRoundTripThroughEachAdapter)
{
    const struct {
        const char* preset;
        const char* says;
    } cases[] = {
        {"none", "  ok       the card answers the probe in "},
        {"ftdi-16ms", "  problem  the card answers the probe in "},
    };
    for (const auto& c : cases) {
        sim::Options o = unpaced_options();
        o.adapter = *sim::adapter_preset(c.preset);
        ASSERT_NO_FATAL_FAILURE(start_sim(o));
        const CliRun doctor = cli({"doctor", "--port", "PORT"});
        const QString heading = port_ + "\n";
        ASSERT_TRUE(doctor.out.contains(heading)) << describe({"doctor"}, doctor);
        const QString block = doctor.out.mid(doctor.out.indexOf(heading)).section("\n\n", 0, 0);
        EXPECT_TRUE(block.contains(c.says)) << c.preset << "\n" << block.toStdString();
        EXPECT_TRUE(block.contains("(median of 10 tries)")) << block.toStdString();
        // The simulator holds both sides of its terminal: it serves the port, it does not hold it.
        EXPECT_TRUE(block.contains("  ok       no other process holds it\n")) << block.toStdString();
        // Ten probes after the search's own; nothing else was asked.
        EXPECT_TRUE(wire_of(*sim_).endsWith(QByteArray("35").repeated(10))) << wire_of(*sim_).toStdString();
    }
}

}  // namespace

namespace {

// An ESC that stops answering the speed poll: every second without a
// measured speed prints "rpm=-", never the last speed or the arming tick's 0,
// stderr says why once, and the run fails.
TEST_F(CliTest, SpeedWithoutAnswersPrintsADashNotAStaleSpeed)
{
    sim_->change_faults([&](sim::Faults& f) { f.reply_overrides[0x42] = {}; });  // 1500 us is never answered
    const QStringList speed = {"speed", "--throttle", "1500", "--poles", "14", "--seconds", "2", "--port", "PORT"};
    const CliRun run = cli(speed);
    ASSERT_EQ(run.status, 1) << describe(speed, run);
    // Only the arming tick at 900 us was answered.
    EXPECT_TRUE(QRegularExpression("zelt-cli: the ESC's speed answers stopped [0-9]+\\.[0-9] s into the test; no speed "
                                   "was measured for a second or more\n")
                    .match(run.err)
                    .hasMatch())
        << describe(speed, run);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2) << describe(speed, run);
    EXPECT_EQ(lines.last(), "rpm=-") << describe(speed, run);
    EXPECT_EQ(lines[lines.size() - 2], "rpm=-") << describe(speed, run);
    EXPECT_EQ(run.err.count("zelt-cli: the ESC answered no speed in the last second; rpm=- until it does"), 1)
        << describe(speed, run);
    EXPECT_EQ(sim_->received().back(), 0xFF);
}

// The speed test's failures: answers that stop, a line that hangs up, a log
// or trace that cannot be written. Each ends with exit 1 and its reason, the
// motor released with FF when speed mode had started; an earlier log stays
// as it was unless a complete new one replaces it. Answers that trickle in
// are measured whole.
TEST_F(CliTest, SpeedFailuresEndWithTheirReason)
{
    const QString csv = xdg("XDG_DATA_HOME", "curve.csv");
    struct Case {
        const char* name;
        std::function<void(sim::Faults&)> fault;
        QStringList args;
        int status;
        const char* says;  // on stderr
        bool csvKept;      // the earlier curve.csv is still there
        bool released;     // FF is the last byte on the line
    };
    const Case cases[] = {
        {"hang-up after the first answers", [](sim::Faults& f) { f.hangup_after_bytes = 60; },
         {"--seconds", "3"}, 1, "zelt-cli: the ESC's speed answers stopped ", true, false},
        {"no card", [](sim::Faults& f) { f.silent_card = true; }, {"--seconds", "1", "--csv", csv}, 1,
         "zelt-cli: no setting card answered", true, false},
        {"full log device", [](sim::Faults&) {}, {"--seconds", "2", "--csv", "/dev/full"}, 1,
         "zelt-cli: cannot write the speed log /dev/full: No space left on device", true, true},
        {"full trace device", [](sim::Faults&) {}, {"--seconds", "1", "--log", "/dev/full"}, 1,
         "zelt-cli: cannot write the log /dev/full: No space left on device", true, true},
        {"trickling answers", [](sim::Faults& f) { f.split_reply_gap_ms = 80; }, {"--seconds", "3", "--csv", csv},
         0, "", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start_sim());
        sim_->change_faults(c.fault);
        QFile earlier(csv);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        earlier.write("an earlier log\n");
        earlier.close();
        const QStringList args = QStringList{"speed", "--throttle", "1500", "--poles", "14", "--port", "PORT"} + c.args;
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, c.status) << describe(args, run);
        EXPECT_TRUE(run.err.contains(c.says)) << describe(args, run);
        EXPECT_FALSE(run.err.contains("zelt.link")) << "a trace that failed is not printed instead";
        ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
        const QByteArray log = earlier.readAll();
        earlier.close();
        EXPECT_EQ(log == "an earlier log\n", c.csvKept) << log.left(200).toStdString();
        if (!c.csvKept) {
            EXPECT_TRUE(log.startsWith("time_ms,throttle_us,code,period_us,sample_rpm,shown_rpm\n"));
            // Each answer taken whole: the speed printed is near the one the
            // motor heads for, not one made of two answers' bytes.
            bool armed = true;
            const double target = sim::MotorModel::target_rpm(speed::throttle_code(1500, armed));
            const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
            const QString last = lines.isEmpty() ? QString() : lines.last();
            EXPECT_TRUE(last.startsWith("rpm=")) << describe(args, run);
            EXPECT_NEAR(last.mid(4).toInt(), target, 0.1 * target) << describe(args, run);
        }
        const std::vector<uint8_t> wire = sim_->received();
        if (c.released)
            EXPECT_EQ(wire.empty() ? 0 : wire.back(), 0xFF) << "the motor released last";
    }
}

}  // namespace
