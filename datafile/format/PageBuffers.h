// The values of one page read and the times of its rows.
#pragma once

#include <cstdint>
#include <memory>

#include "DataFile.h"

namespace quor {

// The most rows any read of file can return: the values stored after its
// header, or for a file read segment by segment every index from the first
// segment's start to the last one's end (a gap repeats the value before it).
int64_t rowsTheFileCanGive(const DataFile& file);

class PageBuffers {
public:
    // No page is worth more than this; a header whose Data Size asks for more
    // is treated as a failed allocation on every platform alike.
    static constexpr uint64_t kMaxPageBytes = uint64_t(1) << 31;

    // Sets the page: up to `samples` rows of dataSize bytes. E_OUTOFMEMORY
    // (and the old page kept) when such a page is beyond kMaxPageBytes.
    // Memory is taken as reads need it and never for more rows than the file
    // read can give, so a page size far beyond the file costs nothing.
    HRESULT allocate(int32_t samples, int32_t dataSize);
    bool allocated() const { return configured_; }

    // Takes the buffers a read of up to count rows of file needs;
    // E_OUTOFMEMORY when they cannot be had.
    HRESULT reserve(const DataFile& file, int32_t count);

    // Reads up to count samples from time, never more than the page holds
    // at the Data Size the file reads with now. That may differ from the one
    // the page was made for: a saved header changes the file's own, while
    // its reader may go on with the header it read at open.
    // Row times: a periodic file read as one run counts them from the time
    // asked for, one sample period apart, so that a page starting off the
    // sample grid (a negative Start Time, a negative Goto) shows the times it
    // was asked for. A file read segment by segment and an asynchronous file
    // keep the true times of the samples read.
    HRESULT read(DataFile& file, int64_t time, int32_t count, int32_t* countRead);

    const uint8_t* values() const { return values_.get(); }
    const int64_t* times() const { return times_.get(); }
    // The rows the buffers hold room for now.
    int32_t heldRows() const { return heldRows_; }

private:
    int32_t rowsFor(const DataFile& file, int32_t count) const;
    HRESULT hold(int32_t rows, uint64_t rowBytes);
    void countRowTimes(int64_t time, uint64_t period, int32_t count);

    std::unique_ptr<uint8_t[]> values_;
    std::unique_ptr<int64_t[]> times_;
    bool configured_ = false;
    int32_t samples_ = 0;
    int32_t dataSize_ = 0;
    uint64_t valueBytes_ = 0;
    int32_t heldRows_ = 0;
    uint64_t heldRowBytes_ = 0;
};

}  // namespace quor
