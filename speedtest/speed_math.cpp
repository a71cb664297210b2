#include "speedtest/speed_math.h"

namespace speed {

int throttle_code(int position, bool& armed)
{
    if (position < kArmBelow)
        armed = true;
    if (!armed)
        position = kUnarmedPosition;
    int code = position - kSliderMin;
    if (code < 2)
        code = 1;
    code /= 9;
    return code < 1 ? 1 : code;
}

int32_t period_to_rpm(int64_t period, int poles)
{
    if (period == 0)
        return 0;
    const int64_t electrical = 60000000 / (6 * period);
    return static_cast<int32_t>(electrical / (poles / 2));
}

bool deviates(int32_t sample, int32_t held)
{
    constexpr double kLimit = 0.2;
    const double diff = static_cast<double>(sample - held);
    return diff > kLimit * held || -diff > kLimit * held;
}

std::optional<int32_t> RpmFilter::add(int32_t sample)
{
    if (count == 0) {
        value = sample;
        count = 1;
        return std::nullopt;
    }
    if (deviates(sample, value)) {
        value = sample;
        count = 0;
        return std::nullopt;
    }
    value = (value + sample) / 2;
    if (count < 3) {
        ++count;
        return std::nullopt;
    }
    count = 0;
    return value;
}

}  // namespace speed
