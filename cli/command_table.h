#pragma once
// The commands of zelt-cli, each once: its name, the arguments and options it
// takes, its lines in --help, and what runs it. The parser, the help text and
// the program all read this table.

#include "cli/command_line.h"

#include <QString>

#include <vector>

namespace cli {

struct CommandUsage {
    const char* synopsis;  // "save FILE.zelt"
    const char* help;      // its explanation, lines broken with '\n'
};

struct CliCommand {
    const char* name;
    int minArgs;
    int maxArgs;  // -1: any number
    // The options it takes of those that only some commands take
    // (kCommandOptions); --log goes with every command.
    std::vector<const char*> options;
    std::vector<CommandUsage> usage;
    int (*run)(const CliOptions& options, const QString& programDir);

    bool takes(const char* option) const;
};

// The options that only some commands take, in the order they are checked.
inline constexpr const char* kCommandOptions[] = {
    "json", "port", "image", "yes", "throttle", "poles", "seconds", "sweep", "csv", "records",
    "since", "ports", "firmware", "setup", "spin", "units", "station"};

// In the order --help lists them.
const std::vector<CliCommand>& cli_commands();
// Null for a name that is no command.
const CliCommand* find_cli_command(const QString& name);

}  // namespace cli
