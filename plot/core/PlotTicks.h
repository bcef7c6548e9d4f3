// Round tick positions for the plot's two axes: values at 1, 2 or 5 times a
// power of ten, times at steps a clock reader counts in (nanoseconds up to
// seconds by 1, 2, 5; then 10 s, 30 s, minutes, hours and days).
#pragma once

#include <cstdint>
#include <vector>

namespace quor {

struct ValueAxis {
    double low = 0;   // the axis' ends, a margin beyond the data
    double high = 1;
    double step = 1;
    std::vector<double> ticks;
};

// The axis for values from low to high (either may be the other's equal),
// with about `wanted` ticks.
ValueAxis valueAxis(double low, double high, int wanted);

// Tick value text: as many decimals as the step needs, no more.
int valueDecimals(double step);

struct TimeTicks {
    int64_t step = 1;
    int decimals = 0;  // of the time text that labels them
    std::vector<int64_t> ticks;
};

// Ticks at multiples of a round step between from and to (inclusive),
// at most about `wanted` of them.
TimeTicks timeTicks(int64_t from, int64_t to, int wanted);

// The number of decimals a time text needs to tell apart times a step apart.
int timeDecimals(int64_t step);

}  // namespace quor
