// Each command once against the simulator: what it prints, what it leaves
// in the ESC, and the bytes on the line.

#include "cli_fixture.h"

#include "params/ini_file.h"
#include "params/setting_keys.h"
#include "serial/port_list.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

const char* const kIdentity = "port=PORT\nmodel=ESC_T03\nhardware=1.0\nfirmware=1.2\n";
const char* const kDefaults =
    "Cut Off Type=Soft cut*\nBattery Type=Li-xx*\nCut Off Voltage=Middle*\nStart Mode=Normal start*\n"
    "Brake Mode=Brake off*\nTiming option=Middle*\nCurrent limited sesitivity=Middle*\nGovener mode=OFF\n";
const std::array<uint8_t, 8> kOwn = {1, 1, 2, 2, 3, 2, 4, 1};
const char* const kOwnLines =
    "Cut Off Type=Cut off\nBattery Type=Ni-xx\nCut Off Voltage=High\nStart Mode=Very soft start\n"
    "Brake Mode=High brake\nTiming option=High\nCurrent limited sesitivity=Off\nGovener mode=ON\n";

TEST_F(CliTest, EachCommandPrintsItsResult)
{
    struct Case {
        QStringList args;
        QString out;    // exactly, with PORT for the port
        QString err;    // contained
        QByteArray wire;  // what the simulator received, hex
    };
    const Case cases[] = {
        {{"identify", "--port", "PORT"}, kIdentity, "", "3550"},
        {{"find", "--port", "PORT"}, kIdentity, "Find hardware: find setting card connected withPORT\nand find ESCESC_T03",
         "3550"},
        {{"read", "--port", "PORT"}, kOwnLines, "Prompt: Reading ESC parameter OK", "35500D"},
        // A restore reads first, for its backup.
        {{"restore", "--port", "PORT"}, kDefaults, "Prompt: Send parameter to ESC OK", "35500D03430000010000010200"},
    };
    for (const Case& c : cases) {
        sim_->set_settings(kOwn);
        sim_->clear_received();
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.status, 0) << describe(c.args, run);
        EXPECT_EQ(run.out, QString(c.out).replace("PORT", port_)) << describe(c.args, run);
        EXPECT_TRUE(run.err.contains(QString(c.err).replace("PORT", port_))) << describe(c.args, run);
        const std::vector<uint8_t> got = sim_->received();
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(got.data()), got.size()).toHex().toUpper(), c.wire)
            << describe(c.args, run);
    }
    EXPECT_EQ(sim_->settings(), (std::array<uint8_t, 8>{0, 0, 1, 0, 0, 1, 2, 0})) << "restore wrote the defaults";
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(ZELT_CLI_EXE).dir().filePath("zelt.ini"))) << "zelt-cli wrote zelt.ini";
    EXPECT_TRUE(QDir(xdg("XDG_CONFIG_HOME")).isEmpty()) << "zelt-cli wrote settings";
}

TEST_F(CliTest, JsonResultsAreOneDocument)
{
    sim_->set_settings(kOwn);
    const CliRun read = cli({"read", "--json", "--port", "PORT"});
    ASSERT_EQ(read.status, 0) << describe({"read"}, read);
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(read.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << read.out.toStdString();
    EXPECT_EQ(doc["port"].toString(), port_);
    const QJsonArray settings = doc["settings"].toArray();
    ASSERT_EQ(settings.size(), 8);
    const QStringList lines = QString(kOwnLines).split('\n', Qt::SkipEmptyParts);
    for (int pos = 0; pos < 8; ++pos) {
        const QJsonObject s = settings[pos].toObject();
        EXPECT_EQ(s["index"].toInt(), kOwn[pos]) << pos;
        EXPECT_EQ(s["setting"].toString() + "=" + s["item"].toString(), lines[pos]) << pos;
    }

    const CliRun identify = cli({"identify", "--json", "--port", "PORT"});
    ASSERT_EQ(identify.status, 0);
    const QJsonObject esc = QJsonDocument::fromJson(identify.out.toUtf8()).object()["esc"].toObject();
    EXPECT_EQ(esc, (QJsonObject{{"model", "ESC_T03"}, {"hardware", "1.0"}, {"firmware", "1.2"}}));

    // The port list holds the simulator once it is registered as a virtual port.
    const QString link = xdg("XDG_RUNTIME_DIR", "serialcomm/ttySIM0");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(link).path()));
    ASSERT_TRUE(QFile::link(port_, link));
    const CliRun ports = cli({"ports", "--json"});
    ASSERT_EQ(ports.status, 0);
    const QJsonArray listed = QJsonDocument::fromJson(ports.out.toUtf8()).object()["ports"].toArray();
    ASSERT_FALSE(listed.isEmpty()) << ports.out.toStdString();
    EXPECT_EQ(listed.last().toObject()["port"].toString(), link);
    EXPECT_EQ(cli({"ports"}).out.split('\n', Qt::SkipEmptyParts).last(), link);
}

TEST_F(CliTest, WriteKeepsWhatItIsNotGivenAndReadRoundTrips)
{
    sim_->set_settings(kOwn);
    const QStringList write = {"write", "--port", "PORT", "Brake Mode=low brake", "6=0"};
    const CliRun written = cli(write);
    ASSERT_EQ(written.status, 0) << describe(write, written);
    EXPECT_EQ(sim_->settings(), (std::array<uint8_t, 8>{1, 1, 2, 2, 1, 0, 4, 1}));
    const CliRun read = cli({"read", "--port", "PORT"});
    EXPECT_EQ(read.out, written.out);
    EXPECT_TRUE(read.out.contains("Brake Mode=Low brake\nTiming option=Low\n")) << read.out.toStdString();

    // save, then write the file back with the two settings it does not hold:
    // all eight are given, and the one read is the backup's.
    const QString file = xdg("XDG_DATA_HOME", "bench.zelt");
    ASSERT_EQ(cli({"save", file, "--port", "PORT"}).status, 0);
    EXPECT_EQ(IniFile(file).readInteger("INC", "break_mode", -9), 2);
    EXPECT_EQ(IniFile(file).readInteger("INC", "timing_mode", -9), 1);
    sim_->set_settings({0, 0, 0, 0, 0, 0, 0, 0});
    sim_->clear_received();
    const QStringList back = {"write", "--port", "PORT", file, "Current limited sesitivity=Off", "8=ON"};
    const CliRun restored = cli(back);
    ASSERT_EQ(restored.status, 0) << describe(back, restored);
    EXPECT_EQ(sim_->settings(), (std::array<uint8_t, 8>{1, 1, 2, 2, 1, 0, 4, 1}));
    const std::vector<uint8_t> wire = sim_->received();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(wire.data()), wire.size()).toHex().toUpper(),
              "35500D03430101020201000401");
}

TEST_F(CliTest, FlashWritesTheImageAndIdentifyShowsTheNewVersion)
{
    ASSERT_TRUE(sim::Simulator::write_sample_images(xdg("XDG_DATA_HOME", "zelt/firmware").toStdString(), "1.3"));
    const QStringList flash = {"flash", "--yes", "--port", "PORT"};
    const CliRun run = cli(flash);
    ASSERT_EQ(run.status, 0) << describe(flash, run);
    for (const char* text : {"Require: Are you really update hardware to V1.3\n  -> Yes (--yes)\n",
                             "Update process:Writing ROM.......\n", "100%\n", "Verrify update data...\n",
                             "Prompt: Update hardware succeed,Firmware versionV1.3\n"})
        EXPECT_TRUE(run.err.contains(text)) << text << "\n" << describe(flash, run);
    EXPECT_EQ(sim_->fw_version(), 0x13);
    EXPECT_EQ(cli({"identify", "--port", "PORT"}).out, QString(kIdentity).replace("1.2", "1.3").replace("PORT", port_));
}

TEST_F(CliTest, SpeedPrintsTheRpmAndEndsWithFf)
{
    const QStringList speed = {"speed", "--throttle", "1500", "--poles", "14", "--seconds", "1", "--port", "PORT"};
    const CliRun run = cli(speed);
    ASSERT_EQ(run.status, 0) << describe(speed, run);
    const QString last = run.out.split('\n', Qt::SkipEmptyParts).last();
    ASSERT_TRUE(last.startsWith("rpm=")) << describe(speed, run);
    EXPECT_GT(last.mid(4).toInt(), 0) << describe(speed, run);
    const std::vector<uint8_t> wire = sim_->received();
    ASSERT_GE(wire.size(), 5u);
    EXPECT_EQ(wire[2], 0x06);
    EXPECT_EQ(wire[3], 0x01) << "the throttle starts at its minimum";
    EXPECT_NE(std::find(wire.begin(), wire.end(), 0x42), wire.end()) << "1500 us is code 0x42";
    EXPECT_EQ(wire.back(), 0xFF);
    EXPECT_FALSE(sim_->in_speed_mode());
}

// write and restore read the ESC first and back up what it held; the backup
// adds no byte to the line, a failed one does not stop the command, and a
// backup written back restores all eight settings.
TEST_F(CliTest, WriteAndRestoreBackUpWhatTheEscHeld)
{
    const QDir folder(xdg("XDG_STATE_HOME", "zelt/backups"));
    const QString trace = xdg("XDG_DATA_HOME", "trace.log");
    struct Case {
        QStringList args;
        std::array<uint8_t, 8> written;
        QByteArray wire;
    };
    const Case cases[] = {
        {{"write", "--port", "PORT", "Brake Mode=Low brake"}, {1, 1, 2, 2, 1, 2, 4, 1}, "35500D03430101020201020401"},
        {{"restore", "--port", "PORT"}, {0, 0, 1, 0, 0, 1, 2, 0}, "35500D03430000010000010200"},
    };
    QStringList made;
    int failed = 0;
    for (const Case& c : cases) {
        // With a backup, then with a state folder that cannot be made (a file
        // stands in its way): the same bytes, the same result.
        for (const bool blocked : {false, true}) {
            const QString state = blocked ? xdg("XDG_DATA_HOME", "trace.log/state") : xdg("XDG_STATE_HOME");
            env_.insert("XDG_STATE_HOME", state);
            sim_->set_settings(kOwn);
            sim_->clear_received();
            const QStringList args = c.args + QStringList{"--log", trace};
            const CliRun run = cli(args);
            EXPECT_EQ(run.status, 0) << describe(args, run);
            EXPECT_EQ(sim_->settings(), c.written) << describe(args, run);
            const std::vector<uint8_t> got = sim_->received();
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(got.data()), got.size()).toHex().toUpper(), c.wire)
                << describe(args, run);
            const QString warning = "zelt-cli: warning: the settings were not backed up: cannot make the folder " +
                                    state + "/zelt/backups; going on without a backup";
            EXPECT_EQ(run.err.contains(warning), blocked) << describe(args, run);
            QFile log(trace);
            ASSERT_TRUE(log.open(QIODevice::ReadOnly));
            failed += blocked ? 1 : 0;
            EXPECT_EQ(QString(log.readAll()).count("backup failed: the settings were not backed up"), failed)
                << "once per blocked run";
            log.close();
            if (blocked)
                continue;
            const QStringList now = folder.entryList(QDir::Files, QDir::Name);
            ASSERT_EQ(now.size(), made.size() + 1) << describe(args, run);
            const QString added = QStringList(now).filter(QRegularExpression(
                "^\\d{6}_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.\\d{3}Z_ESC_T03\\.zelt$")).constLast();
            EXPECT_FALSE(made.contains(added));
            made.prepend(folder.filePath(added));
            EXPECT_TRUE(run.err.contains("zelt-cli: the settings read were backed up to " + made.first()))
                << describe(args, run);
            const IniFile backup(made.first());
            for (int pos = 0; pos < 8; ++pos)
                EXPECT_EQ(backup.readInteger("INC", kIncKeys[pos], -9), kOwn[pos]) << pos;
            env_.insert("XDG_STATE_HOME", xdg("XDG_STATE_HOME"));
        }
    }
    env_.insert("XDG_STATE_HOME", xdg("XDG_STATE_HOME"));
    const CliRun listed = cli({"backups"});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, made.join('\n') + "\n") << "newest first";

    // Written back, a backup restores all eight, other1 and other2 too; a plain
    // setup file leaves those two as the ESC holds them.
    const QString plain = xdg("XDG_DATA_HOME", "plain.zelt");
    QFile::copy(made.last(), plain);
    IniFile stripped(plain);
    stripped.writeString("INC", "other1", "");
    stripped.writeString("INC", "other2", "");
    ASSERT_TRUE(stripped.save());
    struct Back {
        QString file;
        std::array<uint8_t, 8> result;
    };
    for (const Back& b : {Back{made.last(), kOwn}, Back{plain, {1, 1, 2, 2, 3, 2, 0, 0}}}) {
        sim_->set_settings({0, 0, 0, 0, 0, 0, 0, 0});
        const CliRun back = cli({"write", "--port", "PORT", b.file});
        EXPECT_EQ(back.status, 0) << describe({"write", b.file}, back);
        EXPECT_EQ(sim_->settings(), b.result) << b.file.toStdString();
    }
}

// An ESC whose bytes are none of the listed items (43 05 .. 09 ..): read shows
// them as numbers, save refuses what a setup file cannot hold, and a backup
// keeps them as they came, so that writing it puts them back.
TEST_F(CliTest, BytesOutsideTheListsAreShownKeptAndPutBack)
{
    const std::array<uint8_t, 8> odd = {5, 1, 2, 2, 3, 9, 4, 1};
    const QString saved = xdg("XDG_DATA_HOME", "odd.zelt");
    struct Case {
        QStringList args;  // BACKUP: the backup the case before made
        std::array<uint8_t, 8> held;
        int status;
        QString says;  // in stdout or stderr
        QByteArray wire;
        std::array<uint8_t, 8> after;
    };
    const Case cases[] = {
        {{"read"}, odd, 0,
         "Cut Off Type=5 (not a listed item)\nBattery Type=Ni-xx\nCut Off Voltage=High\nStart Mode=Very soft start\n"
         "Brake Mode=High brake\nTiming option=9 (not a listed item)\n",
         "35500D", odd},
        {{"save", saved}, odd, 1,
         "zelt-cli: the ESC holds 5 for Cut Off Type, which is not a listed item; a setup file holds listed items "
         "only, so nothing was saved",
         "35500D", odd},
        {{"write", "Brake Mode=Low brake"}, odd, 0, "zelt-cli: the settings read were backed up to ",
         "35500D03430501020201090401", {5, 1, 2, 2, 1, 9, 4, 1}},
        {{"write", "BACKUP"}, {0, 0, 0, 0, 0, 0, 0, 0}, 0, "Prompt: Send parameter to ESC OK",
         "35500D03430501020203090401", odd},
    };
    QString backup;
    for (const Case& c : cases) {
        sim_->set_settings(c.held);
        sim_->clear_received();
        const QStringList args = QStringList(c.args).replaceInStrings("BACKUP", backup) << "--port" << "PORT";
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, c.status) << describe(args, run);
        EXPECT_TRUE((run.out + run.err).contains(c.says)) << describe(args, run);
        const std::vector<uint8_t> got = sim_->received();
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(got.data()), got.size()).toHex().toUpper(), c.wire)
            << describe(args, run);
        EXPECT_EQ(sim_->settings(), c.after) << describe(args, run);
        const QRegularExpressionMatch made = QRegularExpression("backed up to (\\S+)").match(run.err);
        backup = made.hasMatch() ? made.captured(1) : QString();
    }
    EXPECT_FALSE(QFileInfo::exists(saved)) << "save wrote a file";
}

}  // namespace
