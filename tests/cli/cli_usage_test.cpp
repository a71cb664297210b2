// The command line itself: help, version, and every mistake refused with its
// reason and status 2 before a byte goes to the line.

#include "cli_fixture.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace {

void write_file(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

TEST_F(CliTest, HelpAndVersionNeedNoPort)
{
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zelt-cli " ZELT_VERSION "\n");
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* text : {"Usage: zelt-cli [options] command [arguments...]", "--port <P>", "--json",
                             "--log <FILE>", "save FILE.zelt", "--sweep <FROM:TO:STEP[:SECONDS]>",
                             "--csv <FILE>", "throttle=US rpm=N", "backups", "diff FILE.zelt", "flash [--image FILE] --yes", "doctor", "station --ports P1,P2|all", "Exit status"})
        EXPECT_TRUE(help.out.contains(text)) << text << "\n" << help.out.toStdString();
}

TEST_F(CliTest, MistakesAreRefusedBeforeAnythingIsSent)
{
    QFile unreadable(xdg("XDG_DATA_HOME", "unreadable.zelt"));
    ASSERT_TRUE(unreadable.open(QIODevice::WriteOnly));
    unreadable.close();
    unreadable.setPermissions(QFileDevice::Permissions());
    const bool root = QFile(unreadable.fileName()).open(QIODevice::ReadOnly);
    // Written by hand, or another INI file: the missing keys would load fallbacks.
    QFile partial(xdg("XDG_DATA_HOME", "partial.zelt"));
    ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
    partial.write("[inc]\nLOW_VOLT_THRESHOLD=1\nlow_volt_mode=0\nstartup_mode=2\nbreak_mode=\ntiming_mode=1\n");
    partial.close();
    // Typos and values the window would take as fallbacks or empty lists.
    const QString typo = xdg("XDG_DATA_HOME", "typo.zelt");
    write_file(typo, "[INC]\nlow_volt_threshold=1\nlow_volt_mode=7\nstartup_mode=2 ; High\nbreak_mode=0\n"
                     "timing_mode=High\ncurrent_threshold=-1\n");
    const QString backup = xdg("XDG_DATA_HOME", "backup.zelt");
    write_file(backup, "[INC]\nlow_volt_threshold=1\nlow_volt_mode=0\nstartup_mode=2\nbreak_mode=0\n"
                       "timing_mode=0\ncurrent_threshold=0\nother1=300\nother2=0\n");
    // Files that are not ours to read or replace.
    const QString fifo = xdg("XDG_DATA_HOME", "fifo.zelt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    const QString big = xdg("XDG_DATA_HOME", "big.zelt");
    write_file(big, "[INC]\n" + QByteArray(64 * 1024, '\n'));
    const QString bigImage = xdg("XDG_DATA_HOME", "upt03.blo");
    write_file(bigImage, "V1.3\n" + QByteArray(1024 * 1024, '\n'));

    struct Case {
        QStringList args;
        QString says;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"jump"}, "unknown command jump"},
        {{"--bogus", "read"}, "Unknown option 'bogus'"},
        {{"read", "extra"}, "read takes no argument extra"},
        {{"save"}, "save needs an argument"},
        {{"diff", "--port", "PORT"}, "diff needs an argument"},
        {{"diff", "--port", "PORT", partial.fileName()}, "partial.zelt is no setup file"},
        {{"write", "--port", "PORT"}, "write needs an argument"},
        {{"read", "--image", "x.blo"}, "read does not take --image"},
        {{"write", "--json", "5=1"}, "write does not take --json"},
        {{"ports", "--port", "PORT"}, "ports does not take --port"},
        {{"read", "--port="}, "--port needs a port name"},
        {{"write", "Brake Mode=Hard brake"},
         "Brake Mode has no item \"Hard brake\"; its items are 0 \"Brake off*\", 1 \"Low brake\", 2 \"Middle brake\", "
         "3 \"High brake\""},
        {{"write", "9=1"}, "\"9\" names no setting; the settings are 1 \"Cut Off Type\""},
        {{"write", "1=2"}, "Cut Off Type has no item \"2\""},
        {{"write", "a.zelt", "b.zelt"}, "write takes one setup file, not a.zelt and b.zelt"},
        {{"speed", "--throttle", "2101", "--poles", "14", "--seconds", "1"},
         "speed needs --throttle from 900 to 2100, not 2101"},
        {{"speed", "--throttle", "1500", "--poles", "13", "--seconds", "1"}, "speed needs an even --poles, not 13"},
        {{"speed", "--throttle", "1500", "--poles", "14"}, "speed needs --seconds from 1 to 3600"},
        {{"speed", "--sweep", "800:1500:100", "--poles", "14", "--port", "PORT"},
         "speed --sweep needs FROM and TO from 900 to 2100, not 800"},
        {{"speed", "--sweep", "1000:2101:100", "--poles", "14", "--port", "PORT"},
         "speed --sweep needs FROM and TO from 900 to 2100, not 2101"},
        {{"speed", "--sweep", "1000:1500:0", "--poles", "14", "--port", "PORT"},
         "speed --sweep needs a STEP from 1 to 1200, not 0"},
        {{"speed", "--sweep", "1000:1500:-100", "--poles", "14", "--port", "PORT"},
         "speed --sweep needs a STEP from 1 to 1200, not -100"},
        {{"speed", "--sweep", "1000:1500:100:0", "--poles", "14", "--port", "PORT"},
         "speed --sweep needs SECONDS from 1 to 3600, not 0"},
        {{"speed", "--sweep", "900:2093:1:1800", "--poles", "14", "--port", "PORT"},
         "speed --sweep takes at most 24 h in all; 900:2093:1:1800 is 1194 steps of 1800 s, 597.0 h"},
        {{"speed", "--sweep", "1000:1500", "--poles", "14", "--port", "PORT"},
         "speed needs --sweep FROM:TO:STEP[:SECONDS] in whole numbers, not 1000:1500"},
        {{"speed", "--sweep", "1000:1500:1x0", "--poles", "14", "--port", "PORT"},
         "speed needs --sweep FROM:TO:STEP[:SECONDS] in whole numbers, not 1000:1500:1x0"},
        {{"speed", "--sweep", "1000:1500:100", "--seconds", "3", "--poles", "14", "--port", "PORT"},
         "speed --sweep does not take --seconds"},
        {{"speed", "--sweep", "1000:1500:100", "--poles", "15", "--port", "PORT"}, "speed needs an even --poles, not 15"},
        {{"speed", "--throttle", "1500", "--poles", "14", "--seconds", "1", "--port", "PORT", "--csv", "/nonexistent/s.csv"},
         "cannot write the speed log /nonexistent/s.csv"},
        {{"read", "--csv", "s.csv", "--port", "PORT"}, "read does not take --csv"},
        {{"backups", "old"}, "backups takes no argument old"},
        {{"backups", "--port", "PORT"}, "backups does not take --port"},
        {{"records", "--since", "yesterday"},
         "records needs --since DATE as 2026-03-01 or an ISO 8601 time, not yesterday"},
        {{"records", "--port", "PORT"}, "records does not take --port"},
        {{"read", "--records", "line.sqlite", "--port", "PORT"}, "read does not take --records"},
        {{"records", "--records", "postgresql://db.local/units"}, "postgresql://db.local/units is not postgresql://"},
        // Nobody can answer the update's questions: the port is not even opened.
        {{"flash", "--port", "PORT"}, "Nothing was sent. Run it again with --yes to answer Yes."},
        {{"flash", "--yes", "--port", "PORT", "--image", "/nonexistent/upt03.blo"},
         "there is no firmware image /nonexistent/upt03.blo"},
        {{"write", "--port", "PORT", "/nonexistent/a.zelt"}, "cannot read the setup file /nonexistent/a.zelt"},
        {{"write", "--port", "PORT", unreadable.fileName()}, root ? "" : "cannot read the setup file"},
        {{"write", "--port", "PORT", partial.fileName(), "7=0"},
         "partial.zelt is no setup file: section [INC] has no current_threshold (Timing option); nothing was sent"},
        {{"read", "--port", "PORT", "--log", "/nonexistent/trace.log"}, "cannot write the log /nonexistent/trace.log"},
        {{"write", "--port", "PORT", "Brake Mode=\uFF13"}, "Brake Mode has no item \"\uFF13\""},  // a full-width 3
        {{"write", "--port", "PORT", "\uFF15=1"}, "\"\uFF15\" names no setting"},
        {{"write", "--port", "PORT", typo},
         "typo.zelt line 3: low_volt_mode=7 is out of range; Battery Type takes an item index from 0 to 1; nothing "
         "was sent\nzelt-cli: " + typo + " line 4: startup_mode=2 ; High is not a number; Cut Off Voltage takes an "
         "item index from 0 to 2; nothing was sent\nzelt-cli: " + typo + " line 6: timing_mode=High is not a number; "
         "Brake Mode takes an item index from 0 to 3; nothing was sent\nzelt-cli: " + typo + " line 7: "
         "current_threshold=-1 is out of range; Timing option takes an item index from 0 to 2; nothing was sent\n"},
        {{"write", "--port", "PORT", backup},
         "backup.zelt line 8: other1=300 is out of range; a backup holds the ESC's byte for Current limited "
         "sesitivity, from 0 to 255; nothing was sent"},
        {{"write", "--port", "PORT", "/dev/zero"}, "cannot read the setup file /dev/zero: Is a device, not a file"},
        {{"write", "--port", "PORT", fifo}, "cannot read the setup file " + fifo + ": Is a FIFO, not a file"},
        {{"write", "--port", "PORT", xdg("XDG_DATA_HOME")}, "Is a folder, not a file"},
        {{"write", "--port", "PORT", big}, "cannot read the setup file " + big + ": Is larger than 64 KiB"},
        {{"save", "--port", "PORT", "/dev/null"}, "cannot save /dev/null: Is a device, not a file; nothing was sent"},
        {{"save", "--port", "PORT", fifo}, "cannot save " + fifo + ": Is a FIFO, not a file; nothing was sent"},
        {{"save", "--port", "PORT", big}, "cannot save " + big + ": Is larger than 64 KiB; nothing was sent"},
        {{"save", "--port", "PORT", "/nonexistent/x.zelt"},
         "cannot save /nonexistent/x.zelt: No such file or directory; nothing was sent"},
        {{"flash", "--yes", "--port", "PORT", "--image", "/dev/zero"},
         "cannot use the firmware image /dev/zero: Is a device, not a file; nothing was sent"},
        {{"flash", "--yes", "--port", "PORT", "--image", fifo}, "Is a FIFO, not a file; nothing was sent"},
        {{"flash", "--yes", "--port", "PORT", "--image", bigImage}, "Is larger than 1 MiB; nothing was sent"},
        {{"station", "--ports", "PORT"}, "station has nothing to do: give --setup FILE.zelt, --image FILE or --firmware"},
        {{"station", "--setup", partial.fileName()}, "station needs --ports P1,P2 or --ports all"},
        {{"station", "--ports", "PORT", "--setup", "/nonexistent/a.zelt"}, "cannot read the setup file /nonexistent/a.zelt"},
        {{"station", "--ports", "PORT", "--setup", partial.fileName()}, "partial.zelt is no setup file"},
        {{"station", "--ports", "PORT", "--image", "/nonexistent/upt03.blo"},
         "cannot read the firmware image /nonexistent/upt03.blo"},
        {{"station", "--ports", "PORT", "--image", "x.blo", "--firmware"}, "station takes --image FILE or --firmware, not both"},
        {{"station", "--ports", "PORT,ttyNOSUCH9", "--firmware"}, "there is no serial port ttyNOSUCH9"},
        {{"station", "--ports", "PORT,PORT", "--firmware"}, "is given twice"},
        {{"station", "--ports", "PORT", "--firmware", "--spin", "1500:3000"},
         "station needs --spin US:MIN:MAX[:SECONDS] with US from 900 to 2100"},
        {{"station", "--ports", "PORT", "--firmware", "--spin", "1500:5000:3000", "--poles", "14"},
         "MIN at most MAX"},
        {{"station", "--ports", "PORT", "--firmware", "--spin", "1500:3000:5000"}, "station --spin needs an even --poles"},
        {{"station", "--ports", "PORT", "--firmware", "--poles", "14"}, "station takes --poles only with --spin"},
        {{"station", "--ports", "PORT", "--firmware", "--units", "0"}, "station needs --units N of 1 or more, not 0"},
        {{"station", "--port", "PORT", "--firmware"}, "station does not take --port"},
        {{"read", "--setup", "a.zelt", "--port", "PORT"}, "read does not take --setup"},
    };
    for (const Case& c : cases) {
        if (c.says.isEmpty())
            continue;  // root reads any file
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.status, 2) << describe(c.args, run);
        EXPECT_TRUE(run.err.contains(c.says)) << c.says.toStdString() << "\n" << describe(c.args, run);
        EXPECT_TRUE(run.out.isEmpty()) << describe(c.args, run);
    }
    EXPECT_TRUE(sim_->received().empty()) << sim_->received().size() << " bytes reached the simulator";
    struct stat null {};
    ASSERT_EQ(::stat("/dev/null", &null), 0);
    EXPECT_TRUE(S_ISCHR(null.st_mode)) << "/dev/null is still a device";
    EXPECT_EQ(QFileInfo(fifo).isFile(), false) << "the FIFO is still a FIFO";
}

}  // namespace
