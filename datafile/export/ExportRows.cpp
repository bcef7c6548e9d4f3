#include "ExportRows.h"

#include <algorithm>
#include <cstring>

#include "DecimalText.h"
#include "SampleTime.h"
#include "ValueText.h"

namespace quor {

namespace {

const size_t kBufferBytes = size_t(1) << 20;
const int64_t kSecond = 1000000000LL;
const int64_t kDay = 86400 * kSecond;
const char kSegmentEnd[] = "-End Segment-\r\n";

}  // namespace

namespace {

// A clock field as %02d writes it; the table serves the usual 0 to 99.
char* putTwoDigits(char* out, int32_t value)
{
    if (value < 0 || value > 99)
        return putSigned64(out, value, 2);
    decimal_text::putDigits(out, static_cast<uint32_t>(value), 2);
    return out + 2;
}

}  // namespace

// One 64-bit divide for the day and one for the second; the fields follow
// from the seconds of the day in 32-bit arithmetic. Truncating twice gives
// the quotients formatTime takes, and the remainders keep their signs.
char* putExportTime(char* out, int64_t time)
{
    const int64_t day = time / kDay;
    const int64_t r = time - day * kDay;
    const int32_t seconds = static_cast<int32_t>(r / kSecond);
    const int32_t nanoseconds = static_cast<int32_t>(r - static_cast<int64_t>(seconds) * kSecond);
    out = putSigned64(out, static_cast<int32_t>(day), 3);
    *out++ = ':';
    out = putTwoDigits(out, seconds / 3600 % 24);
    *out++ = ':';
    out = putTwoDigits(out, seconds / 60 % 60);
    *out++ = ':';
    out = putTwoDigits(out, seconds % 60);
    *out++ = '.';
    return putSigned64(out, nanoseconds / 1000000, 3);
}

char* RowTimeWriter::put(char* out, int64_t time)
{
    const int64_t second = time / kSecond;
    if (second <= 0) {  // the fraction carries a sign, or the digits stand alone
        out = putExportTime(out, time);
        *out++ = ',';
        return putSigned64(out, time);
    }
    if (second != second_) {
        second_ = second;
        char* end = putExportTime(clock_, second * kSecond);
        clockLength_ = static_cast<size_t>(end - clock_) - 3;  // without the milliseconds
        secondsLength_ = static_cast<size_t>(putUnsigned64(seconds_, static_cast<uint64_t>(second)) - seconds_);
    }
    const uint32_t fraction = static_cast<uint32_t>(time - second * kSecond);
    // Whole fixed-size copies (the row has room beyond them): a copy of a
    // length known only at run time is a call into the C runtime per row.
    std::memcpy(out, clock_, sizeof seconds_);
    out += clockLength_;
    decimal_text::putDigits(out, fraction / 1000000, 3);
    out += 3;
    *out++ = ',';
    std::memcpy(out, seconds_, sizeof seconds_);
    out += secondsLength_;
    decimal_text::putDigits(out, fraction, 9);
    return out + 9;
}

ExportRows::ExportRows(ExportSink& sink, const DataFileHeader& header, const Segment* segments,
                       int32_t segmentCount)
    : sink_(sink), dataSize_(header.dataSize), dataFormat_(header.dataFormat), sampleRate_(header.sampleRate),
      buffer_(kBufferBytes)
{
    for (int32_t s = 0; segments && s < segmentCount; ++s)
        segmentEnds_.push_back(segments[s].endIndex);
    std::sort(segmentEnds_.begin(), segmentEnds_.end());
}

char* ExportRows::reserve(size_t bytes)
{
    if (buffer_.size() - used_ < bytes) {
        flush();
        if (buffer_.size() < bytes)
            buffer_.resize(bytes);
    }
    return buffer_.data() + used_;
}

bool ExportRows::flush()
{
    if (written_ && used_ > 0)
        written_ = sink_.write(buffer_.data(), used_);
    used_ = 0;
    return written_;
}

// Numbers are composed here; other values take the text the rest of the
// viewer gives them, with a line feed inside an ascii value written as CR LF.
void ExportRows::add(int64_t time, const uint8_t* value)
{
    char* row = reserve(64 + kNumericTextMax);
    char* out = times_.put(row, time);
    *out++ = ',';
    if (char* end = putNumericValue(out, value, dataSize_, dataFormat_)) {
        out = end;
    } else {
        scratch_.clear();
        appendValueText(scratch_, value, dataSize_, dataFormat_, ValueStyle::exportCsv);
        // Room for the text may flush the buffer: the row's start moves along.
        char start[64];
        const size_t startBytes = static_cast<size_t>(out - row);
        std::memcpy(start, row, startBytes);
        row = reserve(startBytes + 2 * static_cast<size_t>(scratch_.length()) + 2);
        std::memcpy(row, start, startBytes);
        out = row + startBytes;
        const char* text = scratch_.c_str();
        for (int32_t i = 0; i < scratch_.length(); ++i) {
            if (text[i] == '\n')
                *out++ = '\r';
            *out++ = text[i];
        }
    }
    *out++ = '\r';
    *out++ = '\n';
    used_ = static_cast<size_t>(out - buffer_.data());
    if (!segmentEnds_.empty())
        putSegmentEnds(time);
}

void ExportRows::putSegmentEnds(int64_t time)
{
    const auto range = std::equal_range(segmentEnds_.begin(), segmentEnds_.end(), timeToIndex(time, sampleRate_));
    for (auto at = range.first; at != range.second; ++at) {
        std::memcpy(reserve(sizeof kSegmentEnd), kSegmentEnd, sizeof kSegmentEnd - 1);
        used_ += sizeof kSegmentEnd - 1;
    }
}

}  // namespace quor
