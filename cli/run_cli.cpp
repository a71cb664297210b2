#include "cli/backup_commands.h"
#include "cli/commands.h"

#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "cli/session.h"
#include "serial/trace_capture.h"

#include <QCoreApplication>
#include <map>

namespace cli {

int run_cli(const QStringList& arguments, const QString& programDir)
{
    CliOptions options;
    QString error;
    if (!parse_command_line(arguments, &options, &error)) {
        print_err(QStringLiteral("zelt-cli: %1\nTry 'zelt-cli --help'.").arg(error));
        return kUsageOrFile;
    }
    if (options.action == CliOptions::Action::Help) {
        print_out(help_text().trimmed());
        return kSuccess;
    }
    if (options.action == CliOptions::Action::Version) {
        print_out(QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        return kSuccess;
    }

    // Before any port opens, so that the trace holds the whole conversation.
    LinkTraceCapture trace;
    if (!options.logFile.isEmpty() && !trace.logToFile(options.logFile, &error)) {
        print_err(QStringLiteral("zelt-cli: cannot write the log %1: %2").arg(options.logFile, error));
        return kUsageOrFile;
    }

    if (options.command == QLatin1String("ports"))
        return ports_command(options);
    if (options.command == QLatin1String("backups"))
        return backups_command(options);
    if (options.command == QLatin1String("records"))
        return records_command(options);
    if (options.command == QLatin1String("station"))
        return station_command(options, programDir);
    if (options.command == QLatin1String("doctor"))
        return doctor_command(options, programDir);
    if (options.command == QLatin1String("flash") && !options.yes)
        return refuse_unconfirmed_flash();

    using Command = int (*)(const CliOptions&, Session&);
    const std::map<QString, Command> commands = {
        {"find", find_command},     {"identify", identify_command}, {"read", read_command},
        {"write", write_command},   {"restore", restore_command},   {"save", save_command},
        {"flash", flash_command},   {"speed", speed_command},       {"diff", diff_command},
    };
    Session session(programDir, options.yes);
    return commands.at(options.command)(options, session);
}

}  // namespace cli
