#include "SampleTime.h"

#include <cmath>

namespace quor {

namespace {

const uint64_t kPeriodNumerator = 1000000000000000000ULL;  // 10^18: ns x nHz

}  // namespace

uint64_t samplePeriod(double sampleRate)
{
    const double nanohertz = sampleRate * 1e9;
    // Below one nanohertz, negative, NaN or so large that 10^18 / x is 0:
    // the rate gives no period. Checked before the integer conversion, which
    // would otherwise be undefined for out-of-range values.
    if (!(nanohertz >= 1.0) || nanohertz > 1e18)
        return 0;
    const uint64_t x = static_cast<uint64_t>(static_cast<int64_t>(nanohertz));
    return kPeriodNumerator / x;
}

int64_t divideByPeriod(int64_t time, uint64_t period)
{
    if (period == 0)
        return 0;
    return time / static_cast<int64_t>(period);
}

int64_t timeToIndex(int64_t time, double sampleRate)
{
    const uint64_t period = samplePeriod(sampleRate);
    return period == 0 ? -1 : divideByPeriod(time, period);
}

int64_t alignTime(int64_t time, double sampleRate)
{
    const uint64_t period = samplePeriod(sampleRate);
    if (time < 0 || !(sampleRate > 0) || period == 0)
        return time;
    return divideByPeriod(time, period) * static_cast<int64_t>(period);
}

}  // namespace quor
