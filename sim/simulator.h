#pragma once
// A setting card with an ESC plugged in, served on a pseudo-terminal. It sees
// only the bytes the program writes and answers with its own timing, like the
// real devices. Thread-safe: tests change its state and faults while it runs.

#include "sim/usb_adapter.h"

#include "sim/faults.h"
#include "setting_table/setting_table.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// The eight settings the ESC holds, in frame order, one byte each; any byte,
// not only a listed item.
using SettingBytes = std::array<uint8_t, kSettingCount>;

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
    SettingBytes settings() const;
    void set_settings(const SettingBytes& s);
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

    void set_write_ack(uint8_t ack);  // answer to a parameter frame (default 0x55)

    // Faults (faults.h): change runs under the simulator's lock; negative
    // delays, gaps and block numbers count as off.
    void change_faults(const std::function<void(Faults&)>& change);
    void set_no_reply_to(int nth_request);  // 1-based, counted from now; 0: off

    // Sample firmware images ("upt03.blo" ... "upt15.blo") for demos and tests.
    static bool write_sample_images(const std::string& folder, const std::string& version = "1.3");

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace sim
