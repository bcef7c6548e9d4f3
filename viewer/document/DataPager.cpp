#include "DataPager.h"

#include <algorithm>
#include <limits>

#include "GotoTime.h"
#include "HeaderRows.h"
#include "SampleTime.h"
#include "ValueText.h"

namespace quor {

namespace {

const char kNoDataRow[] = "** No Data at this time||";
const char kStartMarker[] = "-Start Segment-||";
const char kEndMarker[] = "-End Segment-||";

int64_t periodNs(double sampleRate)
{
    const uint64_t period = samplePeriod(sampleRate);
    return period > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())
               ? std::numeric_limits<int64_t>::max()
               : static_cast<int64_t>(period);
}

bool readsPages(int32_t dataType) { return dataType == typePeriodic || dataType == typeAsynchronous; }

}  // namespace

HRESULT DataPager::open(const DataFileHeader& header, const Segment* segments, int32_t segmentCount)
{
    const HRESULT hr = buffers_.allocate(pageSize_, header.dataSize);
    if (FAILED(hr))
        return hr;
    takeHeader(header, segments, segmentCount);
    currentTime_ = header.startTime;
    previousPageStart_ = header.startTime;
    return hr;
}

HRESULT DataPager::followHeader(const DataFileHeader& header, const Segment* segments, int32_t segmentCount)
{
    const HRESULT hr = buffers_.allocate(pageSize_, header.dataSize);
    takeHeader(header, segments, segmentCount);
    return hr;
}

void DataPager::takeHeader(const DataFileHeader& header, const Segment* segments, int32_t segmentCount)
{
    header_ = header;
    lastCount_ = 0;
    if (header.sampleRate > 0)
        samplePeriodNs_ = periodNs(header.sampleRate);
    refreshSegments(segments, segmentCount);
}

void DataPager::refreshSegments(const Segment* segments, int32_t segmentCount)
{
    segmentStarts_.clear();
    endMarks_.clear();
    for (int32_t s = 0; segments && s < segmentCount; ++s) {
        segmentStarts_.push_back(segments[s].startIndex);
        endMarks_.push_back(segments[s].endIndex);
    }
    startMarks_ = segmentStarts_;
    std::sort(startMarks_.begin(), startMarks_.end());
    std::sort(endMarks_.begin(), endMarks_.end());
}

int64_t DataPager::pageSpan() const { return saturatingMultiply(pageSize_, samplePeriodNs_); }

int64_t DataPager::segmentStart(int32_t index) const
{
    return saturatingMultiply(segmentStarts_[index], samplePeriodNs_);
}

int32_t DataPager::clampedSegmentIndex() const
{
    return std::min(std::max(segmentIndex_, 0), segmentCount() - 1);
}

void DataPager::pageBack()
{
    if (header_.dataType == typePeriodic) {
        currentTime_ = saturatingAdd(currentTime_, -pageSpan());
        if (!segmentStarts_.empty()) {
            segmentIndex_ = std::max(clampedSegmentIndex() - 1, 0);
            currentTime_ = segmentStart(segmentIndex_);
        }
    } else if (header_.dataType == typeAsynchronous) {
        currentTime_ = previousPageStart_;
        previousPageStart_ = std::max(saturatingAdd(previousPageStart_, -pageSpan()), header_.startTime);
    }
}

void DataPager::pageForward(bool bySegment)
{
    if (header_.dataType == typePeriodic) {
        if (!segmentStarts_.empty() && bySegment) {
            segmentIndex_ = std::min(clampedSegmentIndex() + 1, segmentCount() - 1);
            currentTime_ = segmentStart(segmentIndex_);
        } else {
            currentTime_ = saturatingAdd(currentTime_, pageSpan());
        }
    } else if (header_.dataType == typeAsynchronous && lastCount_ == pageSize_) {
        // The next page starts with the last sample of a full page. After a
        // short page there is nothing further to show yet: the page stays,
        // is read again (a recording may have grown meanwhile), and "<<"
        // still leads to the page before it.
        previousPageStart_ = buffers_.times()[0];
        currentTime_ = buffers_.times()[pageSize_ - 1];
    }
}

HRESULT DataPager::setPageSize(int32_t pageSize)
{
    if (pageSize < 1)
        return S_FALSE;
    if (pageSize == pageSize_)
        return S_OK;
    HRESULT hr = buffers_.allocate(pageSize, header_.dataSize);
    if (FAILED(hr))
        return hr;
    pageSize_ = pageSize;
    lastCount_ = 0;
    return S_OK;
}

void DataPager::goTo(int64_t time)
{
    currentTime_ = gotoPageStart(time, header_.dataType, header_.sampleRate);
}

bool DataPager::fillPage(DataFile& file, RowSink& rows)
{
    if (!buffers_.allocated())
        return false;
    int32_t count = 0;
    lastCount_ = 0;
    if (!readsPages(header_.dataType) ||
        FAILED(buffers_.read(file, currentTime_, pageSize_, &count))) {
        rows.appendRow(kNoDataRow, true);
        return true;
    }
    lastCount_ = std::min(std::max(count, 0), pageSize_);
    appendRows(lastCount_, rows);
    return true;
}

bool DataPager::shownSpan(int64_t* first, int64_t* last) const
{
    if (lastCount_ < 1 || !buffers_.allocated())
        return false;
    *first = buffers_.times()[0];
    *last = buffers_.times()[lastCount_ - 1];
    return true;
}

// One marker for every segment with that edge (markers of equal edges read
// alike, so their table order needs no keeping).
void DataPager::appendMarkers(const std::vector<int64_t>& edges, int64_t index, const char* marker,
                              RowSink& rows) const
{
    const auto found = std::equal_range(edges.begin(), edges.end(), index);
    for (auto edge = found.first; edge != found.second; ++edge)
        rows.appendRow(marker, false);
}

// Row times are the page's own (PageBuffers says which rule gives them), so
// the grid shows the times the export writes.
void DataPager::appendRows(int32_t count, RowSink& rows) const
{
    Text row;
    for (int32_t i = 0; i < count; ++i) {
        const int64_t t = buffers_.times()[i];
        const int64_t index = timeToIndex(t, header_.sampleRate);
        appendMarkers(startMarks_, index, kStartMarker, rows);
        row.clear();
        appendSampleRow(row, t, buffers_.values() + static_cast<size_t>(i) * header_.dataSize,
                        header_.dataSize, header_.dataFormat, ValueStyle::grid);
        rows.appendRow(row, false);
        appendMarkers(endMarks_, index, kEndMarker, rows);
    }
}

}  // namespace quor
