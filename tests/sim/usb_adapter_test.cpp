// The USB adapter model: when each packet of the card's bytes reaches the
// program, first on the model alone, then through the simulator's line.

#include "sim_fixture.h"
#include "sim/usb_adapter.h"

#include <gtest/gtest.h>

using namespace simtest;
using std::chrono::microseconds;
using std::chrono::milliseconds;

namespace {

struct Sent {
    long long at_us;  // after the previous packet
    size_t bytes;
    bool operator==(const Sent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Sent& s)
{
    return out << s.bytes << "@" << s.at_us << "us";
}

// Every byte reaches the adapter count times, one every step_us from first_us;
// the packets it makes of them until none is left.
std::vector<Sent> packets(const sim::AdapterSettings& settings, size_t count, long long first_us, long long step_us)
{
    const Clock::time_point start{};
    sim::UsbAdapter adapter(settings, start);
    std::vector<Clock::time_point> waiting;
    for (size_t i = 0; i < count; ++i)
        waiting.push_back(start + microseconds(first_us + static_cast<long long>(i) * step_us));
    std::vector<Sent> out;
    while (const auto p = adapter.next(waiting)) {
        if (p->bytes == 0 || out.size() > count)
            break;  // a packet without bytes would loop for ever
        out.push_back({std::chrono::duration_cast<microseconds>(p->when - start).count(), p->bytes});
        adapter.sent(p->when);
        waiting.erase(waiting.begin(), waiting.begin() + static_cast<long>(p->bytes));
    }
    return out;
}

TEST(UsbAdapter, PacketsLeaveWhenFullOrOnTheTimersBeat)
{
    const auto ftdi16 = *sim::adapter_preset("ftdi-16ms");
    const auto ftdi1 = *sim::adapter_preset("ftdi-1ms");
    const auto ch340 = *sim::adapter_preset("ch340");
    const struct {
        const char* name;
        sim::AdapterSettings settings;
        size_t count;
        long long first_us, step_us;
        std::vector<Sent> expected;
    } cases[] = {
        {"a 2-byte answer waits for the 16 ms beat", ftdi16, 2, 5000, 0, {{16000, 2}}},
        {"the beat goes on while idle", ftdi16, 1, 40000, 0, {{48000, 1}}},
        {"on the beat itself it leaves at once", ftdi16, 1, 32000, 0, {{32000, 1}}},
        {"70 bytes at once come as 62 + 8", ftdi16, 70, 2000, 0, {{2000, 62}, {18000, 8}}},
        {"at 19200 baud the beats cut the stream", ftdi16, 70, 0, 520, {{16000, 31}, {32000, 31}, {48000, 8}}},
        {"1 ms timer", ftdi1, 2, 5300, 0, {{6000, 2}}},
        {"ch340: 32-byte packets, held not at all", ch340, 70, 3000, 0, {{3000, 32}, {3000, 32}, {3000, 6}}},
        {"ch340 at line speed: each byte as it comes", ch340, 3, 0, 520, {{0, 1}, {520, 1}, {1040, 1}}},
        {"a custom 8-byte, 4 ms adapter", {8, milliseconds(4)}, 10, 1000, 0, {{1000, 8}, {5000, 2}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(packets(c.settings, c.count, c.first_us, c.step_us), c.expected) << c.name;
    }
}

double ms_between(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

class AdapterPresetsSlow : public SimTest {
protected:
    void start_with(const char* preset)
    {
        sim::Options o = fast_options();
        o.adapter = *sim::adapter_preset(preset);
        start(o);
    }
    // Asks "35" and returns when its answer came.
    Clock::time_point probe()
    {
        line().write(hex("35"));
        EXPECT_EQ(to_hex(line().read(2, 2000)), "2501");
        return Clock::now();
    }
};

// A lone answer waits for the timer's next beat: 16 ms after the previous
// packet, where no adapter answers in about the turnaround (2 ms). Each
// probe is asked as soon as the previous answer is read; the mean gap over
// several evens out how late the reader woke for each one.
TEST_F(AdapterPresetsSlow, ALoneAnswerComesOnTheBeatAfterThePreviousPacket)
{
    const struct {
        const char* preset;
        double at_least_ms, below_ms;
    } cases[] = {
        {"ftdi-16ms", 12.0, 24.0},
        {"ftdi-1ms", 1.5, 10.0},
        {"none", 1.5, 10.0},
    };
    for (const auto& c : cases) {
        start_with(c.preset);
        constexpr int kGaps = 6;
        const Clock::time_point first = probe();
        Clock::time_point last = first;
        for (int i = 0; i < kGaps; ++i)
            last = probe();
        const double gap = ms_between(first, last) / kGaps;
        EXPECT_GE(gap, c.at_least_ms) << c.preset;
        EXPECT_LT(gap, c.below_ms) << c.preset;
    }
}

// Through a pty, packets written at the same instant merge into one read,
// so only a beat between them shows: the 62-byte packet leaves at once,
// the 8 bytes left over wait for the next beat.
TEST_F(AdapterPresetsSlow, ALongAnswerComesInAFullPacketThenTheRestOnTheBeat)
{
    start_with("ftdi-16ms");
    line().write(Bytes(35, 0x35));  // 35 answers of two bytes, all due at once
    const Bytes full = line().read_chunk(2000);
    const Clock::time_point first = Clock::now();
    const Bytes rest = line().read_chunk(2000);
    EXPECT_EQ(full.size(), 62u);
    EXPECT_EQ(rest.size(), 8u);
    EXPECT_GE(ms_between(first, Clock::now()), 12.0);
}

}  // namespace
