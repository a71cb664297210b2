#pragma once
// The ways a card or ESC can misbehave, switched on and off by tests while the
// simulator runs. Guarded by the simulator's lock.

#include <cstdint>
#include <map>
#include <vector>

namespace sim {

struct Faults {
    // What is answered.
    bool silent_card = false;
    int no_reply_to_request = 0;  // absolute request number; 0: off
    bool extra_trailing_bytes = false;
    std::map<uint8_t, std::vector<uint8_t>> reply_overrides;
    std::map<int, std::vector<uint8_t>> block_replies;
    int stop_after_block = 0;  // 0: off
    int flip_readback_byte = -1;

    // How and when it is answered.
    int reply_delay_ms = 0;
    int split_reply_gap_ms = 0;
    bool corrupt_next_reply = false;
    int hangup_after_bytes = -1;  // bytes still to receive before hanging up; -1: off
};

}  // namespace sim
