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
    HRESULT hr = buffers_.allocate(pageSize_, header.dataSize);
    header_ = header;
    currentTime_ = header.startTime;
    previousPageStart_ = header.startTime;
    lastCount_ = 0;
    if (header.sampleRate > 0)
        samplePeriodNs_ = periodNs(header.sampleRate);
    refreshSegments(segments, segmentCount);
    return hr;
}

void DataPager::refreshSegments(const Segment* segments, int32_t segmentCount)
{
    segments_.clear();
    for (int32_t s = 0; segments && s < segmentCount; ++s)
        segments_.push_back({segments[s].startIndex, segments[s].endIndex});
}

int64_t DataPager::pageSpan() const { return saturatingMultiply(pageSize_, samplePeriodNs_); }

int64_t DataPager::segmentStart(int32_t index) const
{
    return saturatingMultiply(segments_[index].startIndex, samplePeriodNs_);
}

int32_t DataPager::clampedSegmentIndex() const
{
    return std::min(std::max(segmentIndex_, 0), segmentCount() - 1);
}

void DataPager::pageBack()
{
    if (header_.dataType == typePeriodic) {
        currentTime_ = saturatingAdd(currentTime_, -pageSpan());
        if (!segments_.empty()) {
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
        if (!segments_.empty() && bySegment) {
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

void DataPager::appendMarkers(int64_t index, bool starts, RowSink& rows) const
{
    for (const SegmentRange& segment : segments_) {
        const int64_t edge = starts ? segment.startIndex : segment.endIndex;
        if (edge == index)
            rows.appendRow(starts ? kStartMarker : kEndMarker, false);
    }
}

// Row times are the page's own (PageBuffers says which rule gives them), so
// the grid shows the times the export writes.
void DataPager::appendRows(int32_t count, RowSink& rows) const
{
    Text row;
    for (int32_t i = 0; i < count; ++i) {
        const int64_t t = buffers_.times()[i];
        const int64_t index = timeToIndex(t, header_.sampleRate);
        appendMarkers(index, true, rows);
        row.clear();
        appendSampleRow(row, t, buffers_.values() + static_cast<size_t>(i) * header_.dataSize,
                        header_.dataSize, header_.dataFormat, ValueStyle::grid);
        rows.appendRow(row, false);
        appendMarkers(index, false, rows);
    }
}

}  // namespace quor
