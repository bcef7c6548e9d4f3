// Conversions between Sample Rate, sample period, time stamps and sample
// indices. Time stamps are signed 64-bit nanoseconds; the period is unsigned
// 64-bit nanoseconds, 0 when the rate gives none.
#pragma once

#include <cstdint>

namespace quor {

// 10^18 / (rate in nanohertz), in integers; 0 for a rate of 0, a negative
// rate or a rate above 10^9.
uint64_t samplePeriod(double sampleRate);

// t / period, truncating toward zero; -1 when the period is 0.
int64_t timeToIndex(int64_t time, double sampleRate);

// t rounded down to the period grid when t >= 0, the rate > 0 and the period
// is not 0; otherwise t unchanged.
int64_t alignTime(int64_t time, double sampleRate);

// time / period, truncating toward zero; 0 when the period is 0. This is the
// form for shown and exported index figures, which must never divide by 0.
int64_t divideByPeriod(int64_t time, uint64_t period);

}  // namespace quor
