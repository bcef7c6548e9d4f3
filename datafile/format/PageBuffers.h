// The values of one page read and the times of its rows.
#pragma once

#include <cstdint>
#include <memory>

#include "DataFile.h"

namespace quor {

class PageBuffers {
public:
    // No page is worth more than this; a header whose Data Size asks for more
    // is treated as a failed allocation on every platform alike.
    static constexpr uint64_t kMaxPageBytes = uint64_t(1) << 31;

    // E_OUTOFMEMORY (and the old buffers kept) when the sizes cannot be had.
    HRESULT allocate(int32_t samples, int32_t dataSize);
    bool allocated() const { return values_ != nullptr; }

    // Reads up to count samples from time, never more than the buffers hold
    // at the Data Size the file reads with now. That may differ from the one
    // the buffers were made for: a saved header changes the file's own, while
    // its reader may go on with the header it read at open.
    // Row times: a periodic file read as one run counts them from the time
    // asked for, one sample period apart, so that a page starting off the
    // sample grid (a negative Start Time, a negative Goto) shows the times it
    // was asked for. A file read segment by segment and an asynchronous file
    // keep the true times of the samples read.
    HRESULT read(DataFile& file, int64_t time, int32_t count, int32_t* countRead);

    const uint8_t* values() const { return values_.get(); }
    const int64_t* times() const { return times_.get(); }

private:
    void countRowTimes(int64_t time, uint64_t period, int32_t count);

    std::unique_ptr<uint8_t[]> values_;
    std::unique_ptr<int64_t[]> times_;
    int32_t samples_ = 0;
    uint64_t valueBytes_ = 0;
};

}  // namespace quor
