#include "ExportRows.h"

#include <algorithm>
#include <cstring>

#include "SampleTime.h"
#include "ValueText.h"

namespace quor {

namespace {

const size_t kBufferBytes = size_t(1) << 20;
const int64_t kSecond = 1000000000LL;
const int64_t kDay = 86400 * kSecond;
const char kSegmentEnd[] = "-End Segment-\r\n";

char* putUnsigned(char* out, uint64_t value, int width)
{
    char digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int pad = width - n; pad > 0; --pad)
        *out++ = '0';
    while (n > 0)
        *out++ = digits[--n];
    return out;
}

// As %0*lld does: the sign, then zeros up to the width, then the digits.
char* putSigned(char* out, int64_t value, int width = 0)
{
    if (value < 0) {
        *out++ = '-';
        return putUnsigned(out, 0 - static_cast<uint64_t>(value), width - 1);
    }
    return putUnsigned(out, static_cast<uint64_t>(value), width);
}

template <class T>
T load(const uint8_t* value)
{
    T result;
    std::memcpy(&result, value, sizeof result);
    return result;
}

}  // namespace

char* putExportTime(char* out, int64_t time)
{
    const int64_t day = time / kDay;
    const int64_t r = time - day * kDay;
    out = putSigned(out, static_cast<int32_t>(day), 3);
    *out++ = ':';
    out = putSigned(out, static_cast<int32_t>(r / (3600 * kSecond)) % 24, 2);
    *out++ = ':';
    out = putSigned(out, static_cast<int32_t>(r / (60 * kSecond)) % 60, 2);
    *out++ = ':';
    out = putSigned(out, static_cast<int32_t>(r / kSecond) % 60, 2);
    *out++ = '.';
    return putSigned(out, (r - (r / kSecond) * kSecond) / 1000000, 3);
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

bool ExportRows::putsInteger() const
{
    const bool four = dataSize_ == 4, eight = dataSize_ == 8;
    return ((dataFormat_ == formatInt || dataFormat_ == formatDiscrete) && four) ||
           ((dataFormat_ == formatLong || dataFormat_ == formatLong8) && eight) ||
           (dataFormat_ == formatUlong && (four || eight));
}

char* ExportRows::putInteger(char* out, const uint8_t* value) const
{
    if (dataFormat_ == formatUlong)
        return putUnsigned(out, dataSize_ == 4 ? load<uint32_t>(value) : load<uint64_t>(value), 0);
    return dataSize_ == 4 ? putSigned(out, load<int32_t>(value)) : putSigned(out, load<int64_t>(value));
}

// Integers are composed here; other values take the text the rest of the
// viewer gives them, with a line feed inside an ascii value written as CR LF.
void ExportRows::add(int64_t time, const uint8_t* value)
{
    const bool integer = putsInteger();
    size_t valueBytes = 24;
    if (!integer) {
        scratch_.clear();
        appendValueText(scratch_, value, dataSize_, dataFormat_, ValueStyle::exportCsv);
        valueBytes = 2 * static_cast<size_t>(scratch_.length());
    }
    char* out = reserve(64 + valueBytes);
    out = putExportTime(out, time);
    *out++ = ',';
    out = putSigned(out, time);
    *out++ = ',';
    if (integer) {
        out = putInteger(out, value);
    } else {
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
