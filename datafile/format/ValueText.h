// The text of one sample value by Data Format, shared by the data grid rows
// and the CSV export so that both always show the same value the same way.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quor {

class Text;

enum class ValueStyle {
    grid,    // discrete values as 0x%X
    exportCsv,  // discrete values as signed decimal
};

// Room for any text putNumericValue writes ("%f" of -DBL_MAX is 317 bytes).
const size_t kNumericTextMax = 330;

// The value as "%f" writes it (six decimals), with NaN and infinities
// spelled by every build as C defines them: nan, -nan (sign bit set), inf,
// -inf. Returns the end of the text.
char* putFixedSix(char* out, double value);

// The export's text of a numeric value (int and discrete in decimal, float
// and double by putFixedSix, long and code 8 signed, ulong unsigned of 4 or
// 8 bytes) at out, at most kNumericTextMax bytes; returns its end, or null
// for a value that has no numeric text (ascii, blob, other codes, a Data
// Size that is not the format's width).
char* putNumericValue(char* out, const void* value, int32_t dataSize, int32_t dataFormat);

// Appends the text of the value held in the dataSize bytes at value (already
// in host byte order). ulong is unsigned of dataSize (4 or 8) bytes; code 8
// is signed 64-bit; unknown codes and fixed-width formats whose dataSize is
// not their width are written as blob text (upper-case hex joined by '-').
// Never reads outside the dataSize bytes; dataSize <= 0 appends nothing.
void appendValueText(Text& out, const void* value, int32_t dataSize, int32_t dataFormat,
                     ValueStyle style);

// Appends one sample row: time text (3 decimals, with day), the time in
// nanoseconds and the value text, separated by '|' (grid) or ',' (export).
// No line end is added.
void appendSampleRow(Text& out, int64_t time, const void* value, int32_t dataSize,
                     int32_t dataFormat, ValueStyle style);

// Appends a figure computed from samples (a mean, an RMS) as "%.17g", with
// NaN and infinities spelled alike by every C runtime: nan, inf, -inf. The
// statistics of the tool and of the plot's readouts are written by this one.
void appendFigure(Text& out, double figure);

}  // namespace quor
