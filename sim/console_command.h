#pragma once
// The commands zelt-sim takes on stdin while it runs: unplug, plug HH [HW FW], quit.

#include "sim/simulator.h"

#include <string>

namespace sim {

enum class CommandResult { Done, Quit, Error };

// Runs one line; on Error, *message tells the user what was wrong.
CommandResult run_console_command(const std::string& line, Simulator& sim, const Options& defaults,
                                  std::string* message);

}  // namespace sim
