#pragma once
// The commands zelt-sim takes on stdin while it runs: unplug, plug HH [HW FW], quit;
// with several cards each but quit names its card: card K unplug.

#include "sim/simulator.h"

#include <memory>
#include <string>
#include <vector>

namespace sim {

enum class CommandResult { Done, Quit, Error };

// Runs one line; on Error, *message tells the user what was wrong.
CommandResult run_console_command(const std::string& line, Simulator& sim, const Options& defaults,
                                  std::string* message);

// A line for one of several cards (1-based K): "card K <command>", or a
// command alone when there is one card.
CommandResult run_card_command(const std::string& line, const std::vector<std::unique_ptr<Simulator>>& cards,
                               const Options& defaults, std::string* message);

}  // namespace sim
