// The values and figures the summary answers with, shared by the summary,
// the scans beneath it and everyone who asks it, without their machinery.
#pragma once

#include <cstdint>

namespace quor {

// One sample value, exact as the export writes it and as a double for drawing.
struct SampleValue {
    // int, discrete, long, code 8: the value; ulong: its unsigned 64-bit
    // pattern; float and double: 0 (real is exact for them).
    int64_t exact = 0;
    double real = 0;  // float widened exactly; 64-bit integers rounded
};

struct EnvelopeColumn {
    int64_t count = 0;  // samples in the column, NaN left out; 0: min and max say nothing
    SampleValue minimum;
    SampleValue maximum;
};

struct RangeStats {
    int64_t count = 0;  // 0: nothing else is meaningful
    SampleValue minimum;
    int64_t minimumTime = 0;  // time of the earliest sample holding the minimum
    SampleValue maximum;
    int64_t maximumTime = 0;
    double mean = 0;  // accumulated in double
    double rms = 0;
};

// A segment of a multi-periodic file as times (both inclusive).
struct SegmentSpan {
    int64_t startTime = 0;
    int64_t endTime = 0;
};

// What a search looks for. Crossings compare a sample with the recorded
// non-NaN sample before it: rising, before < X <= this; falling, before >
// X >= this. NaN never matches.
enum class FindCondition { above, below, rising, falling };

// One sample a search found.
struct FoundSample {
    int64_t time = 0;
    SampleValue value;
};

}  // namespace quor
