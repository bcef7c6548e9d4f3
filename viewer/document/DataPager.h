// The viewer's position in the samples and its page buffers: where "<<",
// ">>" and "Goto:" move, and which rows one page turns into. It knows no
// windows; rows go to a RowSink.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "DataFile.h"
#include "PageBuffers.h"
#include "Status.h"
#include "Text.h"

namespace quor {

class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void appendRow(const Text& text, bool markEdited) = 0;
};

class DataPager {
public:
    static const int32_t kDefaultPageSize = 500;

    // A fresh start on a newly opened file; E_OUTOFMEMORY, and the pager
    // left as it was, when its buffers cannot be had. The pager keeps its own
    // copy of the segments' index ranges: the data file's table does not
    // outlive its next open.
    HRESULT open(const DataFileHeader& header, const Segment* segments, int32_t segmentCount);
    // The header a save wrote: the period, the segments and the buffers follow
    // it, while the time, the page size and the segment cursor stay. Buffers
    // that cannot be had for a new Data Size stay as they were
    // (E_OUTOFMEMORY); reads never overrun them.
    HRESULT followHeader(const DataFileHeader& header, const Segment* segments, int32_t segmentCount);
    void refreshSegments(const Segment* segments, int32_t segmentCount);
    void resetPageSize() { pageSize_ = kDefaultPageSize; }

    void pageBack();
    void pageForward(bool bySegment);
    // A new page size below 1 is not taken (S_FALSE); one whose buffers
    // cannot be had keeps the old size and buffers (E_OUTOFMEMORY).
    HRESULT setPageSize(int32_t pageSize);
    void goTo(int64_t time);

    // Reads the page at the current time and turns it into rows; false when
    // there are no buffers to read into.
    bool fillPage(DataFile& file, RowSink& rows);

    int64_t currentTime() const { return currentTime_; }
    int32_t pageSize() const { return pageSize_; }
    int32_t segmentIndex() const { return segmentIndex_; }
    int64_t previousPageStart() const { return previousPageStart_; }
    // The times of the first and last sample of the page last read; false
    // when it held none.
    bool shownSpan(int64_t* first, int64_t* last) const;

private:
    int64_t pageSpan() const;
    int64_t segmentStart(int32_t index) const;
    int32_t clampedSegmentIndex() const;
    void appendRows(int32_t count, RowSink& rows) const;
    void appendMarkers(const std::vector<int64_t>& edges, int64_t index, const char* marker,
                       RowSink& rows) const;
    void takeHeader(const DataFileHeader& header, const Segment* segments, int32_t segmentCount);

    int32_t segmentCount() const { return static_cast<int32_t>(segmentStarts_.size()); }

    DataFileHeader header_{};
    std::vector<int64_t> segmentStarts_;  // in table order: the segment cursor's steps
    // Sorted, so that a row finds its markers by search however many
    // segments the file has.
    std::vector<int64_t> startMarks_;
    std::vector<int64_t> endMarks_;
    int32_t segmentIndex_ = 0;
    int32_t pageSize_ = kDefaultPageSize;
    int64_t currentTime_ = 0;
    int64_t samplePeriodNs_ = 0;
    int64_t previousPageStart_ = 0;
    int32_t lastCount_ = 0;  // samples of the page last read
    PageBuffers buffers_;
};

}  // namespace quor
