#include "PlotTicks.h"

#include <algorithm>
#include <cmath>

namespace quor {

namespace {

const int64_t kSecond = 1000000000;
const int64_t kMinute = 60 * kSecond;
const int64_t kHour = 60 * kMinute;
const int64_t kDay = 24 * kHour;

// Above a second, steps follow the clock.
const int64_t kClockSteps[] = {
    2 * kSecond, 5 * kSecond, 10 * kSecond, 15 * kSecond, 30 * kSecond,
    kMinute, 2 * kMinute, 5 * kMinute, 10 * kMinute, 15 * kMinute, 30 * kMinute,
    kHour, 2 * kHour, 3 * kHour, 6 * kHour, 12 * kHour,
    kDay, 2 * kDay, 5 * kDay, 10 * kDay, 20 * kDay, 50 * kDay, 100 * kDay,
};

double roundStep(double rough)
{
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double scaled = rough / power;
    const double mantissa = scaled <= 1 ? 1 : scaled <= 2 ? 2 : scaled <= 5 ? 5 : 10;
    return mantissa * power;
}

int64_t roundTimeStep(int64_t rough)
{
    if (rough <= kSecond) {
        int64_t power = 1;
        while (power * 10 <= rough)
            power *= 10;
        for (int64_t mantissa : {1, 2, 5, 10}) {
            if (power * mantissa >= rough)
                return power * mantissa;
        }
    }
    for (int64_t step : kClockSteps) {
        if (step >= rough)
            return step;
    }
    const int64_t last = kClockSteps[sizeof kClockSteps / sizeof kClockSteps[0] - 1];
    return (rough + last - 1) / last * last;
}

int64_t floorMultiple(int64_t t, int64_t step)
{
    int64_t q = t / step;
    if (t % step != 0 && t < 0)
        --q;
    return q * step;
}

}  // namespace

ValueAxis valueAxis(double low, double high, int wanted)
{
    ValueAxis axis;
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = std::isfinite(low) ? low : (std::isfinite(high) ? high : 0);
        high = std::isfinite(high) ? high : low;
    }
    if (high < low)
        std::swap(low, high);
    double range = high - low;
    if (!(range > 0) || !std::isfinite(range)) {
        // A flat signal sits in the middle of a unit-wide band.
        const double half = std::max(std::fabs(low) * 0.05, 0.5);
        low -= half;
        high += half;
        range = high - low;
    }
    const double margin = range * 0.05;
    axis.low = low - margin;
    axis.high = high + margin;
    axis.step = roundStep((axis.high - axis.low) / std::max(wanted, 1));
    if (!(axis.step > 0) || !std::isfinite(axis.step))
        return axis;
    for (double v = std::ceil(axis.low / axis.step) * axis.step; v <= axis.high && axis.ticks.size() < 100;
         v += axis.step)
        axis.ticks.push_back(std::fabs(v) < axis.step * 1e-9 ? 0.0 : v);
    return axis;
}

int valueDecimals(double step)
{
    if (!(step > 0) || step >= 1)
        return 0;
    return std::min(12, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

TimeTicks timeTicks(int64_t from, int64_t to, int wanted)
{
    TimeTicks result;
    if (to < from)
        std::swap(from, to);
    const double rough = (static_cast<double>(to) - static_cast<double>(from)) / std::max(wanted, 1);
    result.step = roundTimeStep(std::max<int64_t>(1, static_cast<int64_t>(std::min(rough, 9.0e18))));
    result.decimals = timeDecimals(result.step);
    for (int64_t t = floorMultiple(from, result.step); t <= to && result.ticks.size() < 100; t += result.step) {
        if (t >= from)
            result.ticks.push_back(t);
        if (t > to - result.step)
            break;
    }
    return result;
}

int timeDecimals(int64_t step)
{
    int decimals = 9;
    int64_t unit = 1;
    while (decimals > 0 && step % (unit * 10) == 0) {
        unit *= 10;
        --decimals;
    }
    return decimals;
}

}  // namespace quor
