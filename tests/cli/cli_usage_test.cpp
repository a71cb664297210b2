// The command line itself: help, version, and every mistake refused with its
// reason and status 2 before a byte goes to the line.

#include "cli_fixture.h"

namespace {

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

    struct Case {
        QStringList args;
        const char* says;
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
        if (!*c.says)
            continue;  // root reads any file
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.status, 2) << describe(c.args, run);
        EXPECT_TRUE(run.err.contains(c.says)) << c.says << "\n" << describe(c.args, run);
        EXPECT_TRUE(run.out.isEmpty()) << describe(c.args, run);
    }
    EXPECT_TRUE(sim_->received().empty()) << sim_->received().size() << " bytes reached the simulator";
}

}  // namespace
