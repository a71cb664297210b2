#pragma once
// The arithmetic of the rotate-speed test, free of any window or link: the
// throttle code sent per tick, the speed sample from the ESC's period answer
// and the four-sample filter that decides what the display shows.

#include <cstdint>
#include <optional>

namespace speed {

inline constexpr int kSliderMin = 900;  // microseconds of throttle signal
inline constexpr int kSliderMax = 2100;
inline constexpr int kArmBelow = 920;         // a slider below this arms the throttle
inline constexpr int kUnarmedPosition = 901;  // what an unarmed throttle sends

// The code of one tick, one byte, 1 to 133 over the slider's range:
// max(1, (position - 900) div 9). A position below 920 arms the throttle;
// until then the ESC only gets the minimum code, so that a motor never starts
// at whatever the slider happened to show when speed mode began.
int throttle_code(int position, bool& armed);

// Shaft speed in revolutions per minute from the period T (microseconds per
// sixth of an electrical revolution, 0 to 65535) and the motor's pole count
// (2 to 24): (60000000 div (6 T)) div (poles div 2), truncating. A period of
// 0 is a motor that does not turn and gives speed 0.
int32_t period_to_rpm(int64_t period, int poles);

// A sample differs from the held value by more than 20 % of it. The 0.2 is a
// floating-point constant and the comparison is made in floating point.
bool deviates(int32_t sample, int32_t held);

// The running value of one cycle of four samples. Each sample within 20 % of
// the held value halves towards it; a deviating one restarts the cycle. The
// fourth consistent sample completes the cycle and returns the value to show.
struct RpmFilter {
    int32_t& value;  // rpm_value
    int32_t& count;  // rpm_count, position of the next sample (0 to 3)

    std::optional<int32_t> add(int32_t sample);
};

}  // namespace speed
