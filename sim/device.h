#pragma once
// The setting card with the ESC behind it: what it holds and what it answers.
// Pure logic without I/O or locking; the simulator feeds it bytes with their
// arrival times and sends what it returns.

#include "sim/faults.h"
#include "sim/motor_model.h"
#include "sim/request_assembler.h"
#include "sim/simulator.h"

#include <array>
#include <cstdint>
#include <vector>

namespace sim {

class Device {
public:
    using Clock = MotorModel::Clock;
    static constexpr int kFlashSize = 6144;
    static constexpr int kImageBlocks = kFlashSize / RequestAssembler::kBlockSize;
    // A new ESC holds the default of every setting.
    static constexpr SettingBytes kDefaultSettings = [] {
        SettingBytes bytes{};
        for (int pos = 0; pos < kSettingCount; ++pos)
            bytes[pos] = static_cast<uint8_t>(kSettingTable[pos].default_item);
        return bytes;
    }();

    explicit Device(const Options& options);

    // Takes one byte from the program; returns the replies it completes, in order.
    std::vector<std::vector<uint8_t>> receive(uint8_t byte, Clock::time_point now);
    // True while a quiet line would end a half-received request or firmware write.
    bool waiting_for_more() const { return assembler_.waiting(); }
    std::vector<std::vector<uint8_t>> line_quiet(Clock::time_point now);

    // Unasked status; empty when the card sends nothing.
    std::vector<uint8_t> plug(uint8_t type, uint8_t hw_version, uint8_t fw_version);
    std::vector<uint8_t> unplug();
    // The program closed the port: the card sees DTR drop and starts afresh,
    // the motor stops and a speed mode or firmware write under way ends.
    void port_closed();

    SettingBytes settings() const { return settings_; }
    void set_settings(const SettingBytes& s) { settings_ = s; }
    const std::vector<uint8_t>& flash() const { return flash_; }
    uint8_t fw_version() const { return fw_version_; }
    bool in_speed_mode() const { return speed_mode_; }
    int motor_rpm(Clock::time_point now);
    void set_poles(int poles) { motor_.set_poles(poles); }
    int request_count() const { return request_count_; }
    void set_write_ack(uint8_t ack) { write_ack_ = ack; }

    Faults faults;

private:
    std::vector<uint8_t> answer(const Request& request, Clock::time_point now);
    std::vector<uint8_t> image_block(const Request& request);
    std::vector<uint8_t> with_faults(const Request& request, std::vector<uint8_t> reply);

    RequestAssembler assembler_;
    MotorModel motor_;
    bool esc_present_;
    uint8_t type_;
    uint8_t hw_version_;
    uint8_t fw_version_;
    bool zero_id_without_esc_;
    SettingBytes settings_ = kDefaultSettings;
    std::vector<uint8_t> flash_;
    bool speed_mode_ = false;
    uint8_t write_ack_ = 0x55;
    int blocks_received_ = 0;
    uint8_t version_being_written_ = 0;
    int request_count_ = 0;
};

}  // namespace sim
