#pragma once
// The options of the zelt-sim executable.

#include "sim/simulator.h"

#include <string>
#include <utility>
#include <vector>

namespace sim {

struct CommandLine {
    bool show_help = false;     // --help: the usage on standard output, nothing else
    bool show_version = false;  // --version
    Options options;
    int cards = 1;  // cards played at once, each on a port of its own
    bool register_port = true;
    std::string images_dir;
    std::string image_version = "1.3";

    // Faults switched on from the start.
    bool silent_card = false;
    int no_reply_to = 0;
    int reply_delay_ms = 0;
    int split_gap_ms = 0;
    bool extra_trailing = false;
    bool corrupt_first_reply = false;
    std::vector<std::pair<int, std::vector<uint8_t>>> block_replies;
    int stop_after_block = 0;
    int flip_readback_byte = -1;
    int hangup_after_bytes = -1;
    int write_ack = -1;
};

// Parses argv; on an error returns false with a message for the user in *error.
bool parse_command_line(int argc, char** argv, CommandLine* out, std::string* error);
void apply_faults(const CommandLine& cl, Simulator& sim);
std::string usage();

// Hex bytes written without separators ("5959") or with blanks ("59 59").
bool parse_hex_bytes(const std::string& text, std::vector<uint8_t>* out);

}  // namespace sim
