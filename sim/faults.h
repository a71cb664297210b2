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
    bool extra_trailing_bytes = false;  // a 00 after every reply: "35" answered 25 01 00
    // An override answers every later request that begins with its byte with
    // exactly these bytes (empty: no answer at all).
    std::map<uint8_t, std::vector<uint8_t>> reply_overrides;
    // Firmware blocks count from 1 at each write start; the 96th completes the
    // image and is answered 0x55, FF blocks after it are answered 0x55 as well.
    // A write left unfinished ends once the line has been quiet for a second.
    std::map<int, std::vector<uint8_t>> block_replies;  // e.g. 59 59
    int stop_after_block = 0;     // ESC silent after firmware block k; 0: off
    int flip_readback_byte = -1;  // that byte of the read-back XOR 0xFF; -1: off

    // How and when it is answered.
    int reply_delay_ms = 0;         // extra delay before every reply
    int split_reply_gap_ms = 0;     // reply bytes one at a time; 0: off
    bool corrupt_next_reply = false;  // first byte of the next reply XOR 0xFF
    // The device side closes once this many more bytes have come from the
    // program (0: at once); what those bytes ask is never answered. -1: off.
    int hangup_after_bytes = -1;
};

}  // namespace sim
