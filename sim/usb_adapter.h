#pragma once
// A USB-serial adapter between the card and the program. The card's bytes
// reach the adapter at line speed; the adapter hands them to the computer
// in packets: at once when a packet is full, otherwise when its hold time
// runs out. The hold time counts from the previous packet: like an FTDI
// chip, whose latency timer sends a packet (with only its status when no
// byte waits) at every expiry, the timer beats steadily between full
// packets, and a lone reply waits for the next beat.
//
// A pseudo-terminal cannot pass a low-latency request on to a model, so the
// preset stands for what the request would have achieved on that adapter.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct AdapterSettings {
    size_t packet_bytes = 0;  // receive payload per packet; 0: no adapter, bytes pass as they arrive
    std::chrono::microseconds hold{0};  // 0: a packet leaves as soon as a byte is there
    bool operator==(const AdapterSettings&) const = default;
};

// "none", "ftdi-16ms", "ftdi-1ms", "ch340"; nothing for an unknown name.
std::optional<AdapterSettings> adapter_preset(const std::string& name);
// The presets' names, for the usage text and error messages.
std::string adapter_preset_names();

class UsbAdapter {
public:
    using Clock = std::chrono::steady_clock;
    struct Packet {
        Clock::time_point when;
        size_t bytes;
    };

    UsbAdapter(const AdapterSettings& settings, Clock::time_point start)
        : settings_(settings), last_packet_(start)
    {
    }

    bool active() const { return settings_.packet_bytes > 0; }

    // The next packet made of the first bytes of `arrivals` (the times the
    // waiting bytes reach the adapter, in order); nothing when none waits or
    // there is no adapter.
    std::optional<Packet> next(const std::vector<Clock::time_point>& arrivals) const;
    // A packet left at `when`: the hold time counts from here.
    void sent(Clock::time_point when) { last_packet_ = when; }

private:
    AdapterSettings settings_;
    Clock::time_point last_packet_;
};

}  // namespace sim
