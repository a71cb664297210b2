#pragma once
// The commands of zelt-cli. Each returns the program's exit status
// (exit_status.h); results go to stdout, boxes and reasons to stderr.

#include "cli/command_line.h"

#include <QStringList>

class StopSignals;

namespace cli {

class Session;

// The whole program after the application object exists.
int run_cli(const QStringList& arguments, const QString& programDir);

int ports_command(const CliOptions& options);
int find_command(const CliOptions& options, Session& session);
int identify_command(const CliOptions& options, Session& session);
int read_command(const CliOptions& options, Session& session);
int write_command(const CliOptions& options, Session& session);
int restore_command(const CliOptions& options, Session& session);
int save_command(const CliOptions& options, Session& session);
int flash_command(const CliOptions& options, Session& session);
int speed_command(const CliOptions& options, Session& session);
int doctor_command(const CliOptions& options, const QString& programDir);
int records_command(const CliOptions& options);
int diff_command(const CliOptions& options, Session& session);
int station_command(const CliOptions& options, const QString& programDir);

// The quiet search of a command that a signal may end (speed, flash):
// kSuccess once the ESC answered, else the command's exit status.
int connect_unless_stopped(const CliOptions& options, Session& session, const StopSignals& stop);

// Refuses a flash that nobody confirmed, before anything touches the line.
int refuse_unconfirmed_flash();

}  // namespace cli
