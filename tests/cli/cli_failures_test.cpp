// Failures: a silent card, a port that cannot be opened, an ESC that does
// not answer or fails the verification, a bad image. Each ends with its
// reason on stderr and status 1 (the devices) or 2 (the input).

#include "cli_fixture.h"

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
        // Ten probes after the search's own; nothing else was asked.
        EXPECT_TRUE(wire_of(*sim_).endsWith(QByteArray("35").repeated(10))) << wire_of(*sim_).toStdString();
    }
}

}  // namespace

namespace {

// An ESC that stops answering the speed poll: every second without a
// measured speed prints "rpm=-", never the last speed or the arming tick's 0,
// and stderr says why once.
TEST_F(CliTest, SpeedWithoutAnswersPrintsADashNotAStaleSpeed)
{
    sim_->change_faults([&](sim::Faults& f) { f.reply_overrides[0x42] = {}; });  // 1500 us is never answered
    const QStringList speed = {"speed", "--throttle", "1500", "--poles", "14", "--seconds", "2", "--port", "PORT"};
    const CliRun run = cli(speed);
    ASSERT_EQ(run.status, 0) << describe(speed, run);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2) << describe(speed, run);
    EXPECT_EQ(lines.last(), "rpm=-") << describe(speed, run);
    EXPECT_EQ(lines[lines.size() - 2], "rpm=-") << describe(speed, run);
    EXPECT_EQ(run.err.count("zelt-cli: the ESC answered no speed in the last second; rpm=- until it does"), 1)
        << describe(speed, run);
    EXPECT_EQ(sim_->received().back(), 0xFF);
}

}  // namespace
