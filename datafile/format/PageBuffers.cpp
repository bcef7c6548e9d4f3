#include "PageBuffers.h"

#include <algorithm>
#include <new>

#include "WrappingMath.h"

namespace quor {

HRESULT PageBuffers::allocate(int32_t samples, int32_t dataSize)
{
    if (samples < 0 || dataSize < 0)
        return E_OUTOFMEMORY;
    const uint64_t valueBytes = static_cast<uint64_t>(samples) * static_cast<uint64_t>(dataSize);
    const uint64_t timeBytes = static_cast<uint64_t>(samples) * sizeof(int64_t);
    if (valueBytes > kMaxPageBytes || timeBytes > kMaxPageBytes)
        return E_OUTOFMEMORY;
    std::unique_ptr<uint8_t[]> values(new (std::nothrow) uint8_t[std::max<uint64_t>(valueBytes, 1)]);
    std::unique_ptr<int64_t[]> times(new (std::nothrow) int64_t[std::max(samples, 1)]());
    if (!values || !times)
        return E_OUTOFMEMORY;
    values_ = std::move(values);
    times_ = std::move(times);
    samples_ = samples;
    valueBytes_ = valueBytes;
    return S_OK;
}

HRESULT PageBuffers::read(DataFile& file, int64_t time, int32_t count, int32_t* countRead)
{
    *countRead = 0;
    if (!allocated())
        return E_FAIL;
    int32_t fits = std::min(std::max(count, 0), samples_);
    const int32_t stride = file.getDataSize();
    if (stride > 0)
        fits = static_cast<int32_t>(std::min<uint64_t>(static_cast<uint64_t>(fits), valueBytes_ / stride));
    const HRESULT hr = file.readSamples(time, fits, values_.get(), countRead, times_.get());
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
