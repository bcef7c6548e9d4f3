// The sample rows of the export, composed without printf into one large
// buffer that goes to the sink in blocks. The page export and the range
// export both write their rows through here, so that the same samples give
// the same bytes whichever wrote them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "DataFile.h"
#include "ExportSink.h"
#include "Text.h"

namespace quor {

// The time text of formatTime with three decimals and the day, appended at
// out; returns the end of what was written (at most 40 bytes).
char* putExportTime(char* out, int64_t time);

// The two time cells of a row, "time text,nanoseconds", as putExportTime
// and a signed decimal write them. Rows come many to a second: what
// depends on the second alone is kept composed, so a row costs a copy and
// twelve digits. The row needs 64 bytes of room.
class RowTimeWriter {
public:
    char* put(char* out, int64_t time);

private:
    int64_t second_ = -1;  // the second the parts below belong to; -1: none
    char clock_[40];       // "ddd:hh:mm:ss."
    size_t clockLength_ = 0;
    char seconds_[24];     // the decimal digits of the second
    size_t secondsLength_ = 0;
};

class ExportRows {
public:
    // segments may be null; rows then never end a segment.
    ExportRows(ExportSink& sink, const DataFileHeader& header, const Segment* segments, int32_t segmentCount);

    // One row (time text, nanoseconds, value text, CR LF), then one
    // "-End Segment-" line for each segment that ends at the row's index.
    void add(int64_t time, const uint8_t* value);
    // Hands the buffered bytes to the sink; false once the sink refused any.
    bool flush();
    bool written() const { return written_; }

private:
    char* reserve(size_t bytes);
    void putSegmentEnds(int64_t time);

    ExportSink& sink_;
    RowTimeWriter times_;
    int32_t dataSize_;
    int32_t dataFormat_;
    double sampleRate_;
    std::vector<int64_t> segmentEnds_;  // sorted End Indices, one per segment
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool written_ = true;
    Text scratch_;
};

}  // namespace quor
