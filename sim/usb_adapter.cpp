#include "sim/usb_adapter.h"

#include <array>

namespace sim {

namespace {

using std::chrono::milliseconds;

struct Preset {
    const char* name;
    AdapterSettings settings;
};

// FTDI chips (ftdi_sio) carry 62 bytes of data in each 64-byte packet (two
// are modem status); the latency timer is 16 ms by default and 1 ms once
// the low-latency request or the udev rule set it.
// CH340/CH341 (ch341): 32 bytes, the size of the chip's bulk-in endpoint
// (wMaxPacketSize 0x20 in its USB descriptors, which the Linux ch341 driver
// reads its data through). No public figure for how long it holds a partly
// filled packet could be found, so this model holds none: packet size only.
constexpr std::array kPresets{
    Preset{"none", {}},
    Preset{"ftdi-16ms", {62, milliseconds(16)}},
    Preset{"ftdi-1ms", {62, milliseconds(1)}},
    Preset{"ch340", {32, milliseconds(0)}},
};

}  // namespace

std::optional<AdapterSettings> adapter_preset(const std::string& name)
{
    for (const Preset& p : kPresets) {
        if (name == p.name)
            return p.settings;
    }
    return std::nullopt;
}

std::string adapter_preset_names()
{
    std::string names;
    for (const Preset& p : kPresets)
        names += (names.empty() ? "" : ", ") + std::string(p.name);
    return names;
}

std::optional<UsbAdapter::Packet> UsbAdapter::next(const std::vector<Clock::time_point>& arrivals) const
{
    if (arrivals.empty() || !active())
        return std::nullopt;
    const size_t size = settings_.packet_bytes;
    // The timer's first beat at or after the first byte's arrival.
    Clock::time_point beat = arrivals.front();
    if (settings_.hold.count() > 0) {
        const auto hold = std::chrono::duration_cast<Clock::duration>(settings_.hold);
        const auto since = arrivals.front() - last_packet_;
        // A byte that came before the previous packet left (which was full)
        // waits for the beat after it.
        const auto beats = since <= Clock::duration::zero() ? 1 : (since + hold - Clock::duration(1)) / hold;
        beat = last_packet_ + beats * hold;
    }
    // A packet filled before the beat leaves when its last byte arrives.
    if (arrivals.size() >= size && arrivals[size - 1] <= beat)
        return Packet{arrivals[size - 1], size};
    size_t count = 0;
    while (count < arrivals.size() && count < size && arrivals[count] <= beat)
        ++count;
    return Packet{beat, count};
}

}  // namespace sim
