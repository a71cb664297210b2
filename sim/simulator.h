#pragma once
// A setting card with an ESC plugged in, served on a pseudo-terminal. It sees
// only the bytes the program writes and answers with its own timing, like the
// real devices. Thread-safe: tests change its state and faults while it runs.

#include "sim/usb_adapter.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct Options {
    bool paced = true;      // 19200-baud 8N1 timing in both directions
    int turnaround_ms = 2;  // device think time before a reply
    bool esc_present = true;
    uint8_t type = 0x03;  // type code reported by "50"
    uint8_t hw_version = 0x10;
    uint8_t fw_version = 0x12;
    // Without an ESC a card answers "50" with 0x50 alone; some answer 50 00 00 00.
    bool zero_id_without_esc = false;
    int poles = 14;                    // motor model
    AdapterSettings adapter;           // a USB adapter between card and program; none by default
};

class Simulator {
public:
    explicit Simulator(const Options& options = {});
    ~Simulator();  // stops serving and closes both sides of the pty
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    bool start();                   // opens the pty and starts serving
    std::string port_path() const;  // the program's side, e.g. /dev/pts/7

    // Devices.
    void plug(uint8_t type, uint8_t hw_version, uint8_t fw_version);  // sends its identification
    void unplug();                                                    // sends 0x50
    void send_raw(const std::vector<uint8_t>& bytes);                 // unasked bytes
    std::array<uint8_t, 8> settings() const;
    void set_settings(const std::array<uint8_t, 8>& s);
    std::vector<uint8_t> flash() const;  // the 6144 bytes of firmware held
    uint8_t fw_version() const;
    bool in_speed_mode() const;
    int motor_rpm() const;  // the model's true shaft speed
    void set_poles(int poles);

    // Everything the program wrote, in order, and a way to start afresh.
    std::vector<uint8_t> received() const;
    void clear_received();
    // Requests taken so far: a one-byte request, "03" with its frame, "0C 00 vv"
    // and each 64-byte firmware block count once each.
    int request_count() const;

    // Replies. An override answers every later request that begins with
    // `request` with exactly these bytes (empty: no answer at all).
    void set_reply_override(uint8_t request, const std::vector<uint8_t>& reply);
    void clear_reply_override(uint8_t request);
    void set_write_ack(uint8_t ack);  // answer to a parameter frame (default 0x55)

    // Faults.
    void set_silent_card(bool silent);
    void set_no_reply_to(int nth_request);   // 1-based, counted from now; 0: off
    void set_reply_delay_ms(int ms);         // extra delay before every reply
    void set_split_reply_gap_ms(int ms);     // reply bytes one at a time; 0: off
    void set_extra_trailing_bytes(bool on);  // a 00 after every reply: "35" answered 25 01 00
    void set_corrupt_next_reply(bool on);    // first byte of the next reply XOR 0xFF
    // Firmware blocks count from 1 at each write start; the 96th completes the
    // image and is answered 0x55, FF blocks after it are answered 0x55 as well.
    // A write left unfinished ends once the line has been quiet for a second.
    void set_block_reply(int block, const std::vector<uint8_t>& reply);  // e.g. 59 59
    void clear_block_reply(int block);
    void set_stop_after_block(int k);        // ESC silent after firmware block k; 0: off
    void set_flip_readback_byte(int index);  // that byte of the read-back XOR 0xFF; -1: off
    // The device side closes once n more bytes have come from the program
    // (0: at once); what those bytes ask is never answered. -1: off.
    void set_hangup_after_bytes(int n);

    // Sample firmware images ("upt03.blo" ... "upt15.blo") for demos and tests.
    static bool write_sample_images(const std::string& folder, const std::string& version = "1.3");

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace sim
