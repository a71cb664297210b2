#include "cli/command_line.h"

#include "cli/command_table.h"
#include "records/records_csv.h"
#include "speedtest/speed_math.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

namespace cli {
namespace {

const char* const kExitStatus =
    "Exit status: 0 success, 1 the setting card or the ESC said no or did not answer\n"
    "(doctor: a problem was found; notes alone give 0), 2 a wrong command line or a file\n"
    "that cannot be used. A signal that stops speed, flash or the station gives 128 + its number: 129\n"
    "SIGHUP, 130 SIGINT (Ctrl+C), 131 SIGQUIT, 143 SIGTERM, and 141 when the reader of\n"
    "the output has gone.";

// The commands' part of --help: a synopsis that fits its column has its
// explanation beside it, a longer one a line of its own above it.
QString commands_help()
{
    constexpr int kColumn = 24;  // where the explanations start
    const QString indent(kColumn, QLatin1Char(' '));
    QString text = QStringLiteral("Commands:\n");
    for (const CliCommand& command : cli_commands()) {
        for (const CommandUsage& usage : command.usage) {
            const QString synopsis = QStringLiteral("  ") + QLatin1String(usage.synopsis);
            text += synopsis.size() + 2 <= kColumn ? synopsis.leftJustified(kColumn)
                                                   : synopsis + QLatin1Char('\n') + indent;
            text += QString::fromUtf8(usage.help).replace(QLatin1Char('\n'), QLatin1Char('\n') + indent);
            text += QLatin1Char('\n');
        }
    }
    return text;
}

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

bool take_spin(const QString& text, station::SpinCheck* out, QString* error)
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
        station::SpinCheck spin;
        if (!take_spin(parser.value(QStringLiteral("spin")), &spin, error))
            return false;
        if (!number_option(parser, "poles", 2, 24, &out->poles, error) || out->poles % 2 != 0) {
            *error = QStringLiteral("station --spin needs an even --poles from 2 to 24");
            return false;
        }
        spin.poles = out->poles;
        out->spin = spin;
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
    return text + QLatin1Char('\n') + commands_help() + QLatin1Char('\n') + QLatin1String(kExitStatus) +
           QLatin1Char('\n');
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
    const CliCommand* command = find_cli_command(out->command);
    if (!command) {
        *error = QStringLiteral("unknown command %1").arg(out->command);
        return false;
    }
    if (args.size() < command->minArgs || (command->maxArgs >= 0 && args.size() > command->maxArgs)) {
        *error = args.size() < command->minArgs
                     ? QStringLiteral("%1 needs an argument").arg(out->command)
                     : QStringLiteral("%1 takes no argument %2").arg(out->command, args.last());
        return false;
    }

    // An option that the command would ignore is a mistake worth telling.
    for (const char* name : kCommandOptions) {
        if (!command->takes(name) && parser.isSet(QLatin1String(name))) {
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
    if (out->command == QLatin1String("records")) {
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
    if (out->command == QLatin1String("station"))
        return take_station(parser, out, error);
    if (out->command == QLatin1String("save") || out->command == QLatin1String("diff"))
        out->file = args.first();
    if (out->command == QLatin1String("speed")) {
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
