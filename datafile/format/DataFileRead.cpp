// Reading samples: the periodic, multi-periodic and asynchronous reads
// behind DataFile::readSamples.
#include <algorithm>
#include <cstring>

#include "DataFile.h"
#include "SampleTime.h"
#include "WrappingMath.h"

namespace quor {

namespace {

// FileHandle reads at most 4 GiB - 1 at a time; stay well below.
const int64_t kReadChunk = int64_t(1) << 30;

bool isSwappable(int32_t dataFormat, int32_t dataSize)
{
    return dataFormat != formatAscii && dataFormat != formatBlob &&
           (dataSize == 2 || dataSize == 4 || dataSize == 8);
}

}  // namespace

HRESULT DataFile::readSamples(int64_t time, int32_t count, void* values, int32_t* countRead,
                              int64_t* times)
{
    *countRead = 0;
    if (!dataFile_.isOpen() || count < 0 || (count > 0 && !values) || header_.dataSize <= 0)
        return E_FAIL;
    uint8_t* out = static_cast<uint8_t*>(values);
    if (readsMultiPeriodic())
        return readMultiPeriodic(time, count, out, countRead, times);
    if (header_.dataType == typePeriodic)
        return readPeriodic(time, count, out, countRead, times);
    if (header_.dataType == typeAsynchronous)
        return readAsynchronous(time, count, out, countRead, times);
    return E_FAIL;
}

HRESULT DataFile::readValues(int64_t position, int64_t count, uint8_t* out, int64_t* got)
{
    *got = 0;
    const int64_t size = header_.dataSize;
    if (position < 0)
        return E_FAIL;
    const int64_t total = count * size;
    int64_t done = 0;
    while (done < total) {
        const uint32_t want = static_cast<uint32_t>(std::min(total - done, kReadChunk));
        uint32_t n = 0;
        if (FAILED(dataFile_.readAt(position + done, out + done, want, &n)))
            return E_FAIL;
        done += n;
        if (n < want)
            break;
    }
    *got = done / size;  // a partial value at the end of the file is not counted
    return S_OK;
}

void DataFile::swapValues(uint8_t* values, int64_t count) const
{
    if (!swap_ || !isSwappable(header_.dataFormat, header_.dataSize))
        return;
    const int64_t size = header_.dataSize;
    for (int64_t k = 0; k < count; ++k)
        std::reverse(values + k * size, values + (k + 1) * size);
}

void DataFile::fillPeriodTimes(int64_t firstIndex, int32_t count, int64_t* times) const
{
    if (!times)
        return;
    for (int32_t k = 0; k < count; ++k)
        times[k] = wrappingMultiply(wrappingAdd(firstIndex, k), samplePeriod_);
}

HRESULT DataFile::readPeriodic(int64_t time, int32_t count, uint8_t* values, int32_t* countRead,
                               int64_t* times)
{
    const int64_t index = timeToIndex(time, header_.sampleRate);
    if (samplePeriod_ == 0 || index < startIndex_)
        return E_FAIL;
    // Both indices come from the file: their distance may not fit in 64 bits.
    // Beyond any position a file can have: past the end, nothing to read.
    int64_t offset = 0;
    if (__builtin_sub_overflow(index, startIndex_, &offset) ||
        offset > (INT64_MAX - dataStart_) / header_.dataSize)
        return S_OK;
    int64_t got = 0;
    if (FAILED(readValues(dataStart_ + offset * header_.dataSize, count, values, &got)))
        return E_FAIL;
    *countRead = static_cast<int32_t>(got);
    fillPeriodTimes(index, *countRead, times);
    swapValues(values, got);
    return S_OK;
}

size_t DataFile::findSegmentAtOrBefore(int64_t index) const
{
    const auto after = std::upper_bound(
        segments_.begin(), segments_.end(), index,
        [](int64_t value, const Segment& segment) { return value < segment.startIndex; });
    return static_cast<size_t>(after - segments_.begin()) - 1;
}

HRESULT DataFile::loadLastValue(Segment& segment)
{
    const uint32_t size = static_cast<uint32_t>(header_.dataSize);
    if (!segment.needsLoad && segment.lastValue.size() == size)
        return S_OK;
    // Checked before allocating: a corrupt Data Size must not claim memory
    // for a value the file cannot hold.
    const int64_t fileSize = getFileSize();
    if (segment.lastOffset < 0 || segment.lastOffset > fileSize - static_cast<int64_t>(size))
        return E_FAIL;
    segment.lastValue.assign(size, 0);
    uint32_t got = 0;
    if (FAILED(dataFile_.readAt(segment.lastOffset, segment.lastValue.data(), size, &got)) ||
        got != size)
        return E_FAIL;
    segment.needsLoad = false;
    return S_OK;
}

HRESULT DataFile::readSegmentRun(const Segment& segment, int64_t first, int64_t count, uint8_t* out,
                                 int64_t* got)
{
    const int64_t step = wrappingSubtract(first, segment.startIndex);
    const int64_t position = wrappingAdd(
        segment.byteOffset, wrappingMultiply(step, static_cast<uint64_t>(header_.dataSize)));
    return readValues(position, count, out, got);
}

// A gap is shown as the last value of the segment before it, repeated.
HRESULT DataFile::fillGap(Segment& segment, int64_t count, uint8_t* out)
{
    if (FAILED(loadLastValue(segment)))
        return E_FAIL;
    const size_t size = static_cast<size_t>(header_.dataSize);
    for (int64_t k = 0; k < count; ++k)
        std::memcpy(out + k * header_.dataSize, segment.lastValue.data(), size);
    return S_OK;
}

HRESULT DataFile::readMultiPeriodic(int64_t time, int32_t count, uint8_t* values,
                                    int32_t* countRead, int64_t* times)
{
    const int64_t index = timeToIndex(time, header_.sampleRate);
    const int64_t firstIndex = segments_.front().startIndex;
    const int64_t lastIndex = segments_.back().endIndex;
    if (samplePeriod_ == 0 || index > lastIndex || index > INT64_MAX - count ||
        index + count < firstIndex)
        return E_FAIL;
    // Every existing sample of the range asked for, clipped to the segments.
    const int64_t begin = std::max(index, firstIndex);
    // Segment ends come from the index file and may be INT64_MAX: the index
    // just after them is held there rather than overflowing.
    const int64_t end = std::min(index + count, saturatingAdd(lastIndex, 1));
    int64_t got = 0;
    for (int64_t j = begin; j < end;) {
        Segment& segment = segments_[findSegmentAtOrBefore(j)];
        uint8_t* out = values + got * header_.dataSize;
        if (j <= segment.endIndex) {
            const int64_t wanted = std::min(saturatingAdd(segment.endIndex, 1), end) - j;
            int64_t run = 0;
            if (FAILED(readSegmentRun(segment, j, wanted, out, &run)))
                return E_FAIL;
            got += run;
            if (run < wanted)
                break;  // the data file ends inside the segment
            j += run;
        } else {
            const Segment& next = (&segment)[1];
            const int64_t gap = std::min(next.startIndex, end) - j;
            if (FAILED(fillGap(segment, gap, out)))
                return E_FAIL;
            got += gap;
            j += gap;
        }
    }
    *countRead = static_cast<int32_t>(got);
    fillPeriodTimes(begin, *countRead, times);
    swapValues(values, got);
    return S_OK;
}

HRESULT DataFile::readAsynchronous(int64_t time, int32_t count, uint8_t* values,
                                   int32_t* countRead, int64_t* times)
{
    int64_t dataPos = 0;
    int64_t indexPos = 0;
    if (FAILED(gotoTime(time, &dataPos, &indexPos)))
        return E_FAIL;
    return readAsynchronousAt(dataPos, indexPos, count, values, countRead, times);
}

HRESULT DataFile::readAsynchronousAt(int64_t dataPos, int64_t indexPos, int32_t count, void* out,
                                     int32_t* countRead, int64_t* times)
{
    *countRead = 0;
    uint8_t* values = static_cast<uint8_t*>(out);
    if (!dataFile_.isOpen() || count < 0 || (count > 0 && !values) || header_.dataSize <= 0 ||
        header_.dataType != typeAsynchronous)
        return E_FAIL;
    int64_t got = 0;
    if (FAILED(readValues(dataPos, count, values, &got)))
        return E_FAIL;
    if (times && indexFile_.isOpen() && got > 0) {
        uint32_t bytes = 0;
        if (FAILED(indexFile_.readAt(indexPos, times, static_cast<uint32_t>(got * kIndexStampSize), &bytes)))
            return E_FAIL;
        // Values and times run in step: a sample without its time is not returned.
        got = std::min<int64_t>(got, bytes / kIndexStampSize);
    }
    *countRead = static_cast<int32_t>(got);
    swapValues(values, got);
    return S_OK;
}

}  // namespace quor
