#include "app/plot_scale.h"

#include <algorithm>

int32_t round_step(int32_t span, int maxSteps)
{
    for (int64_t magnitude = 1;; magnitude *= 10)
        for (const int64_t mantissa : {1, 2, 5})
            if (mantissa * magnitude * maxSteps >= span)
                return static_cast<int32_t>(mantissa * magnitude);
}

AxisScale speed_axis(int32_t largestRpm)
{
    constexpr int kMaxSteps = 6;
    const int32_t largest = std::max(1000, largestRpm);
    const int32_t step = round_step(largest, kMaxSteps);
    return {step, (largest + step - 1) / step * step};
}
