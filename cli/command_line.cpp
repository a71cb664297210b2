#include "cli/command_line.h"

#include "records/records_csv.h"
#include "speedtest/speed_math.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <map>

namespace cli {
namespace {

const char* const kCommands =
    "Commands:\n"
    "  ports                 list the serial ports, as the window lists them\n"
    "  find                  search the ports for the setting card; print its port and the ESC\n"
    "  identify              print the ESC's model, hardware and firmware version\n"
    "  read                  print the eight settings as caption=item lines\n"
    "  write [FILE.zelt] [SETTING=ITEM...]\n"
    "                        write settings from a setup file and/or given one by one; the\n"
    "                        ESC is read first and the settings not given keep what it\n"
    "                        holds. SETTING is a\n"
    "                        caption (\"Brake Mode\") or a number 1-8, ITEM a list item\n"
    "                        (\"Low brake\") or its index from 0. A backup (see backups)\n"
    "                        as FILE puts all eight settings back\n"
    "  restore               write the default settings\n"
    "  save FILE.zelt        save the ESC's settings into a setup file\n"
    "  diff FILE.zelt        print what writing FILE would change on the ESC, one\n"
    "                        \"Caption: held -> written\" line per setting; only the read\n"
    "                        is sent. Exit status 0 when nothing differs, 1 when something does\n"
    "  flash [--image FILE] --yes\n"
    "                        update the ESC's firmware (by default the image the window would\n"
    "                        pick) and verify it; without --yes nothing is sent\n"
    "  speed --throttle US --poles N --seconds S\n"
    "                        run the motor and print its speed in rpm once a second; the ESC\n"
    "                        leaves speed mode at the end, on Ctrl+C and on SIGTERM too\n"
    "  speed --sweep FROM:TO:STEP[:SECONDS] --poles N\n"
    "                        hold the throttle at each step from FROM to TO for SECONDS\n"
    "                        (default 2) and print throttle=US rpm=N per step, the mean\n"
    "                        speed of the step's second half (rpm=- when none was measured)\n"
    "  speed ... --csv FILE  also log every tick to FILE (- for standard output, the other\n"
    "                        lines then go to standard error): time_ms, throttle_us, code,\n"
    "                        period_us, sample_rpm, shown_rpm; a cell is empty when the ESC\n"
    "                        did not answer\n"
    "  backups               list the settings backups, newest first; write and restore\n"
    "                        read the ESC first and save what it held into\n"
    "                        $XDG_STATE_HOME/zelt/backups (~/.local/state/zelt/backups)\n"
    "  doctor                tell why a port cannot be used, with the command that fixes it\n"
    "  records [--records DEST] [--since DATE] [--csv [FILE]]\n"
    "                        list the production station's unit records, newest first, or\n"
    "                        write them as CSV (to standard output without FILE); DEST is\n"
    "                        FILE.sqlite or postgresql://USER@HOST/DATABASE, by default\n"
    "                        $XDG_STATE_HOME/zelt/station.sqlite\n"
    "  station --ports P1,P2|all [--image FILE|--firmware] [--setup FILE.zelt]\n"
    "          [--spin US:MIN:MAX[:SECONDS] --poles N] [--units N] [--records DEST]\n"
    "          [--station NAME] [--json]\n"
    "                        the production station: on every port, each ESC plugged in is\n"
    "                        identified, read and backed up, updated and verified, given the\n"
    "                        setup file's settings (read back), spun at US for SECONDS\n"
    "                        (default 3) with its mean rpm of the second half within\n"
    "                        MIN..MAX, and recorded; then the next, once it has been taken\n"
    "                        out. It ends after --units N units in all, or on Ctrl+C and\n"
    "                        SIGTERM once the running units are done. Exit status 0 when\n"
    "                        every unit passed, 1 when any failed\n"
    "\n"
    "Exit status: 0 success, 1 the setting card or the ESC said no or did not answer,\n"
    "2 a wrong command line or a file that cannot be used, 130/143 a speed test or a\n"
    "station stopped by SIGINT/SIGTERM.";

struct CommandRule {
    int minArgs;
    int maxArgs;  // -1: any number
    bool json;    // takes --json
    bool port;    // takes --port
};

const std::map<QString, CommandRule> kRules = {
    {"ports", {0, 0, true, false}},   {"find", {0, 0, true, true}},     {"identify", {0, 0, true, true}},
    {"read", {0, 0, true, true}},     {"write", {1, -1, false, true}},  {"restore", {0, 0, false, true}},
    {"save", {1, 1, false, true}},    {"flash", {0, 0, false, true}},   {"speed", {0, 0, false, true}},
    {"doctor", {0, 0, false, true}},  {"backups", {0, 0, false, false}},
    {"records", {0, 0, false, false}}, {"diff", {1, 1, false, true}},
    {"station", {0, 0, true, false}},
};

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Configure brushless-motor speed controllers through a setting card, without a window."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"port", "The serial port (ttyUSB0 or a device path); default: search the listed ports.", "P"},
        {"json", "Print the result of ports, find, identify or read as one JSON document."},
        {"log", "Append the link trace (every byte each way) to FILE.", "FILE"},
        {"image", "flash: the firmware image file to write.", "FILE"},
        {"yes", "flash: answer Yes to its questions."},
        {"throttle", "speed: the throttle signal, 900 to 2100 microseconds.", "US"},
        {"poles", "speed: the motor's pole count, an even number from 2 to 24.", "N"},
        {"seconds", "speed: how long the motor runs, 1 to 3600.", "S"},
        {"sweep", "speed: step the throttle from FROM to TO by STEP microseconds, SECONDS (default 2) each.",
         "FROM:TO:STEP[:SECONDS]"},
        {"csv", "speed, records: write CSV to FILE; - for standard output.", "FILE"},
        {"records", "records: the records, FILE.sqlite or postgresql://USER@HOST/DATABASE.", "DEST"},
        {"since", "records: only those finished on or after DATE (2026-03-01 or an ISO 8601 time).", "DATE"},
        {"ports", "station: the ports, comma-separated, or all for the listed ports.", "P1,P2"},
        {"firmware", "station: update every ESC to the image the window would pick for its model."},
        {"setup", "station: the golden settings, a setup file or a backup.", "FILE"},
        {"spin", "station: spin check at US microseconds for SECONDS (default 3), mean rpm within MIN..MAX.",
         "US:MIN:MAX[:SECONDS]"},
        {"units", "station: end after N units in all.", "N"},
        {"station", "station: the name in every record; default: the host name.", "NAME"},
    });
    parser.addPositionalArgument("command", "One of the commands below.");
    parser.addPositionalArgument("arguments", "The command's arguments.", "[arguments...]");
}

bool number_option(const QCommandLineParser& parser, const char* name, int low, int high, int* out, QString* error)
{
    bool ok = false;
    const QString text = parser.value(QLatin1String(name));
    const int value = text.toInt(&ok);
    if (!parser.isSet(QLatin1String(name)) || !ok || value < low || value > high) {
        *error = QStringLiteral("speed needs --%1 from %2 to %3%4")
                     .arg(QLatin1String(name))
                     .arg(low)
                     .arg(high)
                     .arg(parser.isSet(QLatin1String(name)) ? QStringLiteral(", not %1").arg(text) : QString());
        return false;
    }
    *out = value;
    return true;
}

bool take_write_arguments(const QStringList& args, CliOptions* out, QString* error)
{
    for (const QString& arg : args) {
        if (!arg.contains(QLatin1Char('='))) {
            if (!out->file.isEmpty()) {
                *error = QStringLiteral("write takes one setup file, not %1 and %2").arg(out->file, arg);
                return false;
            }
            out->file = arg;
            continue;
        }
        const std::optional<SettingAssignment> a = parse_assignment(arg, error);
        if (!a)
            return false;
        out->assignments.push_back(*a);
    }
    return true;
}

// A sweep sets the throttle and the time itself.
bool take_sweep(const QCommandLineParser& parser, CliOptions* out, QString* error)
{
    for (const char* name : {"throttle", "seconds"}) {
        if (parser.isSet(QLatin1String(name))) {
            *error = QStringLiteral("speed --sweep does not take --%1").arg(QLatin1String(name));
            return false;
        }
    }
    SweepPlan plan;
    if (!parse_sweep(parser.value(QStringLiteral("sweep")), &plan, error))
        return false;
    out->sweep = plan;
    out->throttle = plan.from;
    return true;
}

bool take_spin(const QString& text, SpinOption* out, QString* error)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    std::vector<int> numbers;
    for (const QString& part : parts) {
        bool ok = false;
        numbers.push_back(part.toInt(&ok));
        if (!ok)
            numbers.back() = -1;
    }
    const bool shaped = (parts.size() == 3 || parts.size() == 4) &&
                        std::all_of(numbers.begin(), numbers.end(), [](int n) { return n >= 0; });
    if (!shaped || numbers[0] < speed::kSliderMin || numbers[0] > speed::kSliderMax || numbers[1] > numbers[2] ||
        (parts.size() == 4 && (numbers[3] < 1 || numbers[3] > 3600))) {
        *error = QStringLiteral("station needs --spin US:MIN:MAX[:SECONDS] with US from %1 to %2, MIN at most MAX "
                                "and SECONDS from 1 to 3600, not %3")
                     .arg(speed::kSliderMin)
                     .arg(speed::kSliderMax)
                     .arg(text);
        return false;
    }
    *out = {numbers[0], numbers[1], numbers[2], parts.size() == 4 ? numbers[3] : 3};
    return true;
}

bool take_station(const QCommandLineParser& parser, CliOptions* out, QString* error)
{
    out->ports = parser.value(QStringLiteral("ports")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (out->ports.isEmpty()) {
        *error = QStringLiteral("station needs --ports P1,P2 or --ports all");
        return false;
    }
    out->firmware = parser.isSet(QStringLiteral("firmware"));
    out->setup = parser.value(QStringLiteral("setup"));
    out->stationName = parser.value(QStringLiteral("station"));
    if (out->firmware && !out->image.isEmpty()) {
        *error = QStringLiteral("station takes --image FILE or --firmware, not both");
        return false;
    }
    if (!out->firmware && out->image.isEmpty() && out->setup.isEmpty()) {
        *error = QStringLiteral("station has nothing to do: give --setup FILE.zelt, --image FILE or --firmware");
        return false;
    }
    if (parser.isSet(QStringLiteral("units"))) {
        bool ok = false;
        out->units = parser.value(QStringLiteral("units")).toInt(&ok);
        if (!ok || out->units < 1) {
            *error = QStringLiteral("station needs --units N of 1 or more, not %1")
                         .arg(parser.value(QStringLiteral("units")));
            return false;
        }
    }
    if (parser.isSet(QStringLiteral("spin"))) {
        SpinOption spin;
        if (!take_spin(parser.value(QStringLiteral("spin")), &spin, error))
            return false;
        out->spin = spin;
        if (!number_option(parser, "poles", 2, 24, &out->poles, error) || out->poles % 2 != 0) {
            *error = QStringLiteral("station --spin needs an even --poles from 2 to 24");
            return false;
        }
    } else if (parser.isSet(QStringLiteral("poles"))) {
        *error = QStringLiteral("station takes --poles only with --spin");
        return false;
    }
    return true;
}

}  // namespace

QString help_text()
{
    QCommandLineParser parser;
    describe(parser);
    // Qt names the program by the path it was started with; the manual page
    // and the user want its name.
    QString text = parser.helpText();
    text.replace(0, text.indexOf(QLatin1Char('\n')),
                 QStringLiteral("Usage: %1 [options] command [arguments...]").arg(QCoreApplication::applicationName()));
    return text + QLatin1Char('\n') + QLatin1String(kCommands) + QLatin1Char('\n');
}

bool parse_command_line(const QStringList& arguments, CliOptions* out, QString* error)
{
    QCommandLineParser parser;
    describe(parser);
    // records writes CSV to standard output when --csv comes without a file.
    QStringList given = arguments;
    for (int i = 1; given.contains(QStringLiteral("records")) && i < given.size(); ++i) {
        if (given[i] == QLatin1String("--csv") && (i + 1 == given.size() || (given[i + 1].startsWith(QLatin1Char('-')) && given[i + 1] != QLatin1String("-"))))
            given[i] = QStringLiteral("--csv=-");
    }
    if (!parser.parse(given)) {
        *error = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out->action = CliOptions::Action::Help;
        return true;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out->action = CliOptions::Action::Version;
        return true;
    }

    QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        *error = QStringLiteral("no command given");
        return false;
    }
    out->command = args.takeFirst();
    const auto rule = kRules.find(out->command);
    if (rule == kRules.end()) {
        *error = QStringLiteral("unknown command %1").arg(out->command);
        return false;
    }
    const CommandRule& r = rule->second;
    if (args.size() < r.minArgs || (r.maxArgs >= 0 && args.size() > r.maxArgs)) {
        *error = args.size() < r.minArgs ? QStringLiteral("%1 needs an argument").arg(out->command)
                                         : QStringLiteral("%1 takes no argument %2").arg(out->command, args.last());
        return false;
    }

    // An option that the command would ignore is a mistake worth telling.
    const bool isFlash = out->command == QLatin1String("flash");
    const bool isSpeed = out->command == QLatin1String("speed");
    const bool isRecords = out->command == QLatin1String("records");
    const bool isStation = out->command == QLatin1String("station");
    const std::pair<const char*, bool> allowed[] = {
        {"json", r.json},  {"port", r.port},         {"image", isFlash || isStation},   {"yes", isFlash},
        {"throttle", isSpeed}, {"poles", isSpeed || isStation}, {"seconds", isSpeed},
        {"sweep", isSpeed}, {"csv", isSpeed || isRecords}, {"records", isRecords || isStation},
        {"since", isRecords}, {"ports", isStation}, {"firmware", isStation}, {"setup", isStation},
        {"spin", isStation}, {"units", isStation}, {"station", isStation},
    };
    for (const auto& [name, ok] : allowed) {
        if (!ok && parser.isSet(QLatin1String(name))) {
            *error = QStringLiteral("%1 does not take --%2").arg(out->command, QLatin1String(name));
            return false;
        }
    }

    out->port = parser.value(QStringLiteral("port"));
    out->json = parser.isSet(QStringLiteral("json"));
    out->logFile = parser.value(QStringLiteral("log"));
    out->image = parser.value(QStringLiteral("image"));
    out->yes = parser.isSet(QStringLiteral("yes"));
    if (parser.isSet(QStringLiteral("port")) && out->port.isEmpty()) {
        *error = QStringLiteral("--port needs a port name");
        return false;
    }

    out->records = parser.value(QStringLiteral("records"));
    if (isRecords) {
        out->csvFile = parser.value(QStringLiteral("csv"));
        out->since = parser.isSet(QStringLiteral("since"))
                         ? records::parse_since(parser.value(QStringLiteral("since")))
                         : std::nullopt;
        if (parser.isSet(QStringLiteral("since")) && !out->since) {
            *error = QStringLiteral("records needs --since DATE as 2026-03-01 or an ISO 8601 time, not %1")
                         .arg(parser.value(QStringLiteral("since")));
            return false;
        }
    }
    if (out->command == QLatin1String("write"))
        return take_write_arguments(args, out, error);
    if (isStation)
        return take_station(parser, out, error);
    if (out->command == QLatin1String("save") || out->command == QLatin1String("diff"))
        out->file = args.first();
    if (isSpeed) {
        const bool sweep = parser.isSet(QStringLiteral("sweep"));
        if (sweep ? !take_sweep(parser, out, error)
                  : !number_option(parser, "throttle", speed::kSliderMin, speed::kSliderMax, &out->throttle, error))
            return false;
        if (!number_option(parser, "poles", 2, 24, &out->poles, error) ||
            (!sweep && !number_option(parser, "seconds", 1, 3600, &out->seconds, error)))
            return false;
        out->csvFile = parser.value(QStringLiteral("csv"));
        if (parser.isSet(QStringLiteral("csv")) && out->csvFile.isEmpty()) {
            *error = QStringLiteral("--csv needs a file name, or - for standard output");
            return false;
        }
        if (out->poles % 2 != 0) {
            *error = QStringLiteral("speed needs an even --poles, not %1").arg(out->poles);
            return false;
        }
    }
    return true;
}

}  // namespace cli
