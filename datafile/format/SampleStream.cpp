#include "SampleStream.h"

#include <algorithm>
#include <cstring>

#include "IndexLayout.h"
#include "Text.h"

namespace quor {

namespace {

const int64_t kChunkSamples = 8192;

bool readExactly(FileHandle& file, int64_t position, void* out, int64_t bytes)
{
    uint32_t got = 0;
    return SUCCEEDED(file.readAt(position, out, static_cast<uint32_t>(bytes), &got)) && got == bytes;
}

void swapValues(uint8_t* values, int64_t count, int32_t size)
{
    for (int64_t k = 0; k < count; ++k)
        std::reverse(values + k * size, values + (k + 1) * size);
}

}  // namespace

HRESULT SampleStream::open(const char* path)
{
    DataFile file;
    if (!path || FAILED(file.open(path, FileHandle::modeRead)) || FAILED(data_.open(path, FileHandle::modeRead)))
        return E_FAIL;
    file.getHeader(&header_);
    dataSize_ = file.getDataSize();
    swap_ = file.swapsValues() && header_.dataFormat != formatAscii && header_.dataFormat != formatBlob;
    int64_t dataSize = 0, indexSize = 0;
    data_.getSize(&dataSize);
    if (header_.dataType == typeAsynchronous) {
        Text indexPath;
        makeIndexPath(path, indexPath);
        if (FAILED(index_.open(indexPath.c_str(), FileHandle::modeRead)))
            return E_FAIL;
        index_.getSize(&indexSize);
    }
    layout_.describe(file, dataSize, indexSize);
    count_ = dataSize_ > 0 ? layout_.count() : 0;
    at_ = chunkFirst_ = 0;
    latest_ = INT64_MIN;
    return atEnd() ? S_OK : loadChunk();
}

HRESULT SampleStream::next()
{
    if (atEnd())
        return S_OK;
    ++at_;
    if (atEnd() || at_ < chunkFirst_ + static_cast<int64_t>(times_.size()))
        return S_OK;
    return loadChunk();
}

// The chunk from at_ on, cut at the end of at_'s run so that it is one read.
HRESULT SampleStream::loadChunk()
{
    const std::vector<SampleRun>& runs = layout_.runs();
    const auto runAt = std::upper_bound(runs.begin(), runs.end(), at_,
                                        [](int64_t ordinal, const SampleRun& r) { return ordinal < r.firstOrdinal; }) - 1;
    const SampleRun& run = *runAt;
    const int64_t count = std::min(kChunkSamples, run.firstOrdinal + run.count - at_);
    chunkFirst_ = at_;
    values_.resize(static_cast<size_t>(count * dataSize_));
    times_.resize(static_cast<size_t>(count));
    runs_.assign(static_cast<size_t>(count), runAt - runs.begin());
    const int64_t offset = at_ - run.firstOrdinal;
    if (!readExactly(data_, run.position + offset * dataSize_, values_.data(), count * dataSize_) ||
        (!layout_.periodic() &&
         !readExactly(index_, kIndexHeaderSize + at_ * kIndexStampSize, times_.data(), count * kIndexStampSize))) {
        count_ = at_;  // the stream ends here
        return E_FAIL;
    }
    if (swap_)
        swapValues(values_.data(), count, dataSize_);
    for (int64_t k = 0; k < count; ++k) {
        if (layout_.periodic()) {
            times_[static_cast<size_t>(k)] = static_cast<int64_t>((Wide(run.firstIndex) + offset + k) * Wide(layout_.period()));
        } else {
            latest_ = std::max(latest_, times_[static_cast<size_t>(k)]);
            times_[static_cast<size_t>(k)] = latest_;
        }
    }
    return S_OK;
}

}  // namespace quor
