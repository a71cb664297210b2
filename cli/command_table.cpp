#include "cli/command_table.h"

#include "cli/backup_commands.h"
#include "cli/commands.h"
#include "cli/session.h"

#include <cstring>

namespace cli {
namespace {

// The commands that talk to the card share one session on the port.
template <int (*command)(const CliOptions&, Session&)>
int on_session(const CliOptions& options, const QString& programDir)
{
    Session session(programDir, options.yes);
    return command(options, session);
}

int flash(const CliOptions& options, const QString& programDir)
{
    return options.yes ? on_session<flash_command>(options, programDir) : refuse_unconfirmed_flash();
}

const std::vector<CliCommand> kCommands = {
    {"ports", 0, 0, {"json"}, {{"ports", "list the serial ports, as the window lists them"}},
     [](const CliOptions& o, const QString&) { return ports_command(o); }},
    {"find", 0, 0, {"json", "port"},
     {{"find", "search the ports for the setting card; print its port and the ESC"}}, on_session<find_command>},
    {"identify", 0, 0, {"json", "port"}, {{"identify", "print the ESC's model, hardware and firmware version"}},
     on_session<identify_command>},
    {"read", 0, 0, {"json", "port"}, {{"read", "print the eight settings as caption=item lines"}},
     on_session<read_command>},
    {"write", 1, -1, {"port"},
     {{"write [FILE.zelt] [SETTING=ITEM...]",
       "write settings from a setup file and/or given one by one; the\n"
       "ESC is read first and the settings not given keep what it\n"
       "holds. SETTING is a\n"
       "caption (\"Brake Mode\") or a number 1-8, ITEM a list item\n"
       "(\"Low brake\") or its index from 0. A backup (see backups)\n"
       "as FILE puts all eight settings back"}},
     on_session<write_command>},
    {"restore", 0, 0, {"port"}, {{"restore", "write the default settings"}}, on_session<restore_command>},
    {"save", 1, 1, {"port"}, {{"save FILE.zelt", "save the ESC's settings into a setup file"}},
     on_session<save_command>},
    {"diff", 1, 1, {"port"},
     {{"diff FILE.zelt",
       "print what writing FILE would change on the ESC, one\n"
       "\"Caption: held -> written\" line per setting; only the read\n"
       "is sent. Exit status 0 when nothing differs, 1 when something does"}},
     on_session<diff_command>},
    {"flash", 0, 0, {"port", "image", "yes"},
     {{"flash [--image FILE] --yes",
       "update the ESC's firmware (by default the image the window would\n"
       "pick) and verify it; without --yes nothing is sent"}},
     flash},
    {"speed", 0, 0, {"port", "throttle", "poles", "seconds", "sweep", "csv"},
     {{"speed --throttle US --poles N --seconds S",
       "run the motor and print its speed in rpm once a second; the ESC\n"
       "leaves speed mode at the end, on Ctrl+C and on SIGTERM too"},
      {"speed --sweep FROM:TO:STEP[:SECONDS] --poles N",
       "hold the throttle at each step from FROM to TO for SECONDS\n"
       "(default 2) and print throttle=US rpm=N per step, the mean\n"
       "speed of the step's second half (rpm=- when none was measured)"},
      {"speed ... --csv FILE",
       "also log every tick to FILE (- for standard output, the other\n"
       "lines then go to standard error): time_ms, throttle_us, code,\n"
       "period_us, sample_rpm, shown_rpm; a cell is empty when the ESC\n"
       "did not answer"}},
     on_session<speed_command>},
    {"backups", 0, 0, {},
     {{"backups",
       "list the settings backups, newest first; write and restore\n"
       "read the ESC first and save what it held into\n"
       "$XDG_STATE_HOME/zelt/backups (~/.local/state/zelt/backups)"}},
     [](const CliOptions& o, const QString&) { return backups_command(o); }},
    {"doctor", 0, 0, {"port"}, {{"doctor", "tell why a port cannot be used, with the command that fixes it"}},
     doctor_command},
    {"records", 0, 0, {"csv", "records", "since"},
     {{"records [--records DEST] [--since DATE] [--csv [FILE]]",
       "list the production station's unit records, newest first, or\n"
       "write them as CSV (to standard output without FILE); DEST is\n"
       "FILE.sqlite or postgresql://USER@HOST/DATABASE, by default\n"
       "$XDG_STATE_HOME/zelt/station.sqlite"}},
     [](const CliOptions& o, const QString&) { return records_command(o); }},
    {"station", 0, 0, {"json", "image", "poles", "records", "ports", "firmware", "setup", "spin", "units", "station"},
     {{"station --ports P1,P2|all [--image FILE|--firmware] [--setup FILE.zelt]\n"
       "          [--spin US:MIN:MAX[:SECONDS] --poles N] [--units N] [--records DEST]\n"
       "          [--station NAME] [--json]",
       "the production station: on every port, each ESC plugged in is\n"
       "identified, read and backed up, updated and verified, given the\n"
       "setup file's settings (read back), spun at US for SECONDS\n"
       "(default 3) with its mean rpm of the second half within\n"
       "MIN..MAX, and recorded; then the next, once it has been taken\n"
       "out. It ends after --units N units in all, or on Ctrl+C and\n"
       "SIGTERM once the running units are done. Exit status 0 when\n"
       "every unit passed, 1 when any failed"}},
     station_command},
};

}  // namespace

bool CliCommand::takes(const char* option) const
{
    for (const char* o : options)
        if (std::strcmp(o, option) == 0)
            return true;
    return false;
}

const std::vector<CliCommand>& cli_commands()
{
    return kCommands;
}

const CliCommand* find_cli_command(const QString& name)
{
    for (const CliCommand& c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

}  // namespace cli
