#pragma once
// Settings backups on the command line: a write or a restore reads the ESC
// first and saves what it read before it sends anything that changes it.

#include "cli/command_line.h"
#include "params/parameter_set.h"

#include <optional>

namespace cli {

class Session;

// Saves the settings the command has just read (none: the read failed). A
// backup that fails warns and does not stop the command.
void back_up_read_settings(Session& s, const std::optional<SettingValues>& read);

// Lists the backups, newest first, one path a line.
int backups_command(const CliOptions& options);

}  // namespace cli
