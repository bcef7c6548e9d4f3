// Day-of-year time text: ddd:hh:mm:ss.fff... for signed 64-bit nanoseconds.
#pragma once

#include <cstdint>

namespace quor {

class Text;

// Writes t with the given number of decimals (clamped to 0..9), with or
// without the day, into out (replacing its text). The fraction is cut, never
// rounded, in integer arithmetic.
void formatTime(int64_t time, int32_t decimals, bool withDay, Text& out);

// Reads "day:hh:mm:ss.fraction" back into a time stamp; fields not given are 0.
int64_t parseTime(const char* text);

}  // namespace quor
