#include "PageBuffers.h"

#include <algorithm>
#include <new>

#include "WrappingMath.h"

namespace quor {

int64_t rowsTheFileCanGive(const DataFile& file)
{
    const int64_t stride = file.getDataSize();
    if (stride <= 0)
        return 0;
    const int64_t stored = std::max<int64_t>(0, file.getFileSize() - file.getDataStart()) / stride;
    if (!file.readsMultiPeriodic() || stored == 0)
        return stored;
    int32_t count = 0;
    const Segment* segments = file.getSegments(&count);
    // Segment bounds come from the index file: their span may not fit.
    int64_t span = 0;
    if (__builtin_sub_overflow(segments[count - 1].endIndex, segments[0].startIndex, &span))
        return INT64_MAX;
    return span < 0 ? 0 : saturatingAdd(span, 1);
}

HRESULT PageBuffers::allocate(int32_t samples, int32_t dataSize)
{
    if (samples < 0 || dataSize < 0)
        return E_OUTOFMEMORY;
    const uint64_t valueBytes = static_cast<uint64_t>(samples) * static_cast<uint64_t>(dataSize);
    const uint64_t timeBytes = static_cast<uint64_t>(samples) * sizeof(int64_t);
    if (valueBytes > kMaxPageBytes || timeBytes > kMaxPageBytes)
        return E_OUTOFMEMORY;
    configured_ = true;
    samples_ = samples;
    dataSize_ = dataSize;
    valueBytes_ = valueBytes;
    return S_OK;
}

// The page's rows at the stride the file reads with now, and no more than
// the file can give.
int32_t PageBuffers::rowsFor(const DataFile& file, int32_t count) const
{
    int64_t rows = std::min(std::max(count, 0), samples_);
    const int32_t stride = file.getDataSize();
    if (stride > 0)
        rows = std::min<int64_t>(rows, static_cast<int64_t>(valueBytes_ / static_cast<uint64_t>(stride)));
    return static_cast<int32_t>(std::min(rows, rowsTheFileCanGive(file)));
}

// Values are held at the wider of the two strides: the page's reader may
// index them by the Data Size it opened with.
HRESULT PageBuffers::hold(int32_t rows, uint64_t rowBytes)
{
    rows = std::max(rows, 1);
    if (values_ && rows <= heldRows_ && rowBytes <= heldRowBytes_)
        return S_OK;
    const uint64_t valueBytes = std::max<uint64_t>(static_cast<uint64_t>(rows) * rowBytes, 1);
    std::unique_ptr<uint8_t[]> values(new (std::nothrow) uint8_t[valueBytes]);
    std::unique_ptr<int64_t[]> times(new (std::nothrow) int64_t[rows]());
    if (!values || !times)
        return E_OUTOFMEMORY;
    values_ = std::move(values);
    times_ = std::move(times);
    heldRows_ = rows;
    heldRowBytes_ = rowBytes;
    return S_OK;
}

HRESULT PageBuffers::reserve(const DataFile& file, int32_t count)
{
    if (!configured_)
        return E_FAIL;
    const uint64_t rowBytes = static_cast<uint64_t>(std::max(std::max(file.getDataSize(), dataSize_), 0));
    return hold(rowsFor(file, count), rowBytes);
}

HRESULT PageBuffers::read(DataFile& file, int64_t time, int32_t count, int32_t* countRead)
{
    *countRead = 0;
    const HRESULT reserved = reserve(file, count);
    if (FAILED(reserved))
        return reserved;
    const int32_t rows = rowsFor(file, count);
    const HRESULT hr = file.readSamples(time, rows, values_.get(), countRead, times_.get());
    if (SUCCEEDED(hr) && file.readsPeriodicRun())
        countRowTimes(time, file.getSamplePeriod(), *countRead);
    return hr;
}

// Times near the int64 limits wrap like every time derived from a header.
void PageBuffers::countRowTimes(int64_t time, uint64_t period, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        times_[i] = wrappingAdd(time, wrappingMultiply(i, period));
}

}  // namespace quor
