// The recorded samples of one data file read in order, in chunks, with
// their times and the run (segment) each lies in: what a merge of
// recordings walks. Samples are those SampleRuns describes; an
// asynchronous time earlier than the one before it counts as that one.
#pragma once

#include <cstdint>
#include <vector>

#include "DataFile.h"
#include "FileHandle.h"
#include "SampleRuns.h"
#include "Status.h"

namespace quor {

class SampleStream {
public:
    // E_FAIL when the data file (or an asynchronous file's index) cannot be
    // opened. Afterwards the stream stands on the first sample, if any.
    HRESULT open(const char* path);
    const DataFileHeader& header() const { return header_; }
    int32_t dataSize() const { return dataSize_; }

    // The sample the stream stands on; only while !atEnd().
    bool atEnd() const { return at_ >= count_; }
    int64_t time() const { return times_[static_cast<size_t>(at_ - chunkFirst_)]; }
    // In host byte order.
    const uint8_t* value() const { return values_.data() + (at_ - chunkFirst_) * dataSize_; }
    int64_t run() const { return runs_[static_cast<size_t>(at_ - chunkFirst_)]; }
    // Samples recorded, and how many of them the stream has passed.
    int64_t count() const { return count_; }
    int64_t passed() const { return at_; }
    // Moves to the next sample; E_FAIL when a read fails (the stream then ends).
    HRESULT next();

private:
    HRESULT loadChunk();

    DataFileHeader header_ = {};
    int32_t dataSize_ = 0;
    bool swap_ = false;
    FileHandle data_;
    FileHandle index_;
    SampleRuns layout_;
    int64_t count_ = 0;
    int64_t at_ = 0;
    int64_t chunkFirst_ = 0;
    int64_t latest_ = INT64_MIN;
    std::vector<uint8_t> values_;
    std::vector<int64_t> times_;
    std::vector<int64_t> runs_;
};

}  // namespace quor
