#include "cli/commands.h"

#include "cli/command_table.h"
#include "cli/console_out.h"
#include "cli/exit_status.h"
#include "serial/trace_capture.h"

#include <QCoreApplication>

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

    // The command's session, and with it the port, has closed when it returns.
    const int status = find_cli_command(options.command)->run(options, programDir);
    // A trace with lines missing would mislead whoever reads it.
    if (const QString traceError = trace.fileError(); !traceError.isEmpty()) {
        print_err(QStringLiteral("zelt-cli: cannot write the log %1: %2").arg(options.logFile, traceError));
        return status == kSuccess ? kDeviceFailed : status;
    }
    return status;
}

}  // namespace cli
