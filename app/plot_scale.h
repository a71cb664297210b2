#pragma once
// Where the speed plot's axes put their labels: on round numbers, 1, 2 or 5
// x 10^n apart, so that they read 0, 20000, 40000 rather than 0, 27750, 55500.

#include <cstdint>

struct AxisScale {
    int32_t step;  // between two labels
    int32_t top;   // the end of the axis: the first step at or above the largest value
};

// The smallest round step that cuts span into at most maxSteps steps.
int32_t round_step(int32_t span, int maxSteps);

// The speed axis from 0 for the largest speed shown, with up to six steps; it
// reaches 1000 rpm at least.
AxisScale speed_axis(int32_t largestRpm);
