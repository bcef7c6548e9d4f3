// The plot's own texts: times on its axis and in its readouts, exact
// integers, and the figures of a range. The grid and the exports keep the
// data file's time text; the plot signs a time before zero once.
#pragma once

#include <cstdint>
#include <string>

namespace quor {

// "-000:00:00:04.800": one minus sign before the distance from zero, where
// the data file's time text would sign every field.
std::string plotTimeText(int64_t time, int decimals);

// Every digit of a 128-bit integer: differences of 64-bit values.
std::string integerText(__int128 value);

// A mean or an RMS as `quordata stats` prints it ("%.17g", nan, inf, -inf).
std::string figureText(double figure);

// An offset as the lane's label shows it: " +1.5 s", " -0.000000001 s";
// empty for no offset.
std::string offsetMark(int64_t offset);

}  // namespace quor
