#pragma once
// Timing of a 19200-baud 8N1 line (10 bits a byte) in both directions. A byte
// the program writes has fully arrived only one byte time after the previous
// one; a byte the device sends occupies the line for one byte time. Without
// pacing both take no time at all.

#include <chrono>

namespace sim {

class LinePacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kBaud = 19200;
    static constexpr int kBitsPerByte = 10;
    static constexpr Clock::duration kByteTime =
        std::chrono::nanoseconds(1'000'000'000LL * kBitsPerByte / kBaud);

    explicit LinePacer(bool paced) : byte_time_(paced ? kByteTime : Clock::duration::zero()) {}

    // A byte read from the program at `now`: when it would have arrived whole.
    Clock::time_point arrive(Clock::time_point now)
    {
        rx_free_ = std::max(now, rx_free_) + byte_time_;
        return rx_free_;
    }

    // A byte the device sends, not to start before `not_before`: when it will
    // have left the line whole, which is when the program may have it.
    Clock::time_point send(Clock::time_point not_before)
    {
        tx_free_ = std::max(not_before, tx_free_) + byte_time_;
        return tx_free_;
    }

private:
    Clock::duration byte_time_;
    Clock::time_point rx_free_{};
    Clock::time_point tx_free_{};
};

}  // namespace sim
