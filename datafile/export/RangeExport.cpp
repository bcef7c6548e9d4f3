#include "RangeExport.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "DataFile.h"
#include "ExportRows.h"
#include "GotoTime.h"
#include "SampleTime.h"
#include "WrappingMath.h"

namespace quor {

namespace {

// Rows read at a time: bounded memory whatever the range.
const int64_t kChunkBytes = int64_t(4) << 20;

// Reads the rows of the export part by part, exactly as one page read of
// all of them from the start time would give them.
class RowReader {
public:
    RowReader(DataFile& file, int64_t start, int32_t chunk) : file_(file), start_(start), chunk_(chunk) {}

    bool allocate(int32_t dataSize)
    {
        values_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(chunk_) * dataSize]);
        times_.reset(new (std::nothrow) int64_t[static_cast<size_t>(chunk_)]);
        return values_ && times_;
    }

    // The next part; false when the first read fails (no data at the start).
    // *count is 0 at the end.
    bool next(int32_t* count);
    const uint8_t* values() const { return values_.get(); }
    const int64_t* times() const { return times_.get(); }

private:
    bool nextPeriodic(int32_t* count);
    bool nextAsynchronous(int32_t* count);

    DataFile& file_;
    const int64_t start_;
    const int32_t chunk_;
    bool first_ = true;
    bool ended_ = false;
    int64_t rows_ = 0;       // rows returned so far
    int64_t nextIndex_ = 0;  // periodic: the sample index the next part asks for
    int64_t dataPos_ = 0;    // asynchronous: where the next part starts
    int64_t indexPos_ = 0;
    std::unique_ptr<uint8_t[]> values_;
    std::unique_ptr<int64_t[]> times_;
};

bool RowReader::next(int32_t* count)
{
    *count = 0;
    if (ended_)
        return true;
    DataFileHeader header;
    file_.getHeader(&header);
    const bool ok = header.dataType == typeAsynchronous ? nextAsynchronous(count) : nextPeriodic(count);
    first_ = false;
    rows_ += *count;
    if (*count < chunk_ && (header.dataType != typePeriodic || file_.readsPeriodicRun()))
        ended_ = true;
    return ok;
}

// Later parts ask for the sample index after the last one asked for, by its
// exact time on the grid. A multi-periodic page from before the first
// segment starts at the first segment, so the parts start there too.
bool RowReader::nextPeriodic(int32_t* count)
{
    const int64_t period = static_cast<int64_t>(file_.getSamplePeriod());
    int64_t time = start_;
    if (first_) {
        DataFileHeader header;
        file_.getHeader(&header);
        nextIndex_ = timeToIndex(start_, header.sampleRate);
        if (file_.readsMultiPeriodic() && nextIndex_ < file_.getStartIndex()) {
            nextIndex_ = file_.getStartIndex();
            time = nextIndex_ * period;
        }
    } else {
        if (period <= 0 || nextIndex_ > INT64_MAX / period || nextIndex_ < INT64_MIN / period)
            return true;
        time = nextIndex_ * period;
    }
    if (FAILED(file_.readSamples(time, chunk_, values_.get(), count, times_.get()))) {
        *count = 0;
        return !first_;
    }
    if (file_.readsPeriodicRun()) {
        // As a page shows them: counted from the time asked for.
        for (int32_t i = 0; i < *count; ++i)
            times_[i] = wrappingAdd(start_, wrappingMultiply(rows_ + i, static_cast<uint64_t>(period)));
    } else {
        // A part cut short by the data file's end ends the rows, as it ends a page.
        const int64_t begin = std::max(nextIndex_, file_.getStartIndex());
        const int64_t end = std::min(nextIndex_ + chunk_, file_.getEndIndex() + 1);
        if (*count < end - begin || nextIndex_ + chunk_ > file_.getEndIndex())
            ended_ = true;
    }
    nextIndex_ += chunk_;
    return true;
}

bool RowReader::nextAsynchronous(int32_t* count)
{
    if (first_ && FAILED(file_.gotoTime(start_, &dataPos_, &indexPos_)))
        return false;
    if (FAILED(file_.readAsynchronousAt(dataPos_, indexPos_, chunk_, values_.get(), count, times_.get())))
        return !first_ && (*count = 0, true);
    dataPos_ += static_cast<int64_t>(*count) * file_.getDataSize();
    indexPos_ += static_cast<int64_t>(*count) * kIndexStampSize;
    return true;
}

}  // namespace

namespace {

// Only a complete export is finished; any other stays out of the target.
RangeExportResult finishWith(ExportSink& sink, RangeExportResult result)
{
    if (result != RangeExportResult::ok) {
        sink.discard();
        return result;
    }
    return sink.finish() ? result : RangeExportResult::writeFailed;
}

}  // namespace

RangeExportResult exportTimeRange(const RangeExportRequest& request, ExportSink& sink, TaskProgress* progress)
{
    DataFile file;
    if (!request.path || FAILED(file.open(request.path, FileHandle::modeRead)))
        return RangeExportResult::unableToOpen;
    DataFileHeader header;
    std::memset(&header, 0, sizeof header);
    file.getHeader(&header);
    ExportPage page;
    page.header = &header;
    page.fileSize = file.getFileSize();
    page.segments = file.getSegments(&page.segmentCount);
    page.currentTime =
        request.hasFrom ? gotoPageStart(request.from, header.dataType, header.sampleRate) : header.startTime;

    const int32_t size = header.dataSize;
    const bool readable = size > 0 && (header.dataType == typePeriodic || header.dataType == typeAsynchronous);
    const int32_t chunk = readable ? static_cast<int32_t>(std::max<int64_t>(1, std::min<int64_t>(65536, kChunkBytes / size))) : 0;
    RowReader reader(file, page.currentTime, chunk);
    if (readable && !reader.allocate(size))
        return RangeExportResult::outOfMemory;
    if (progress)
        progress->total = readable ? std::max<int64_t>(0, page.fileSize - file.getDataStart()) / size : 0;

    if (FAILED(writeExportOpening(page, sink)))
        return finishWith(sink, RangeExportResult::writeFailed);
    int32_t count = 0;
    if (!readable || !reader.next(&count)) {
        const bool written = SUCCEEDED(writeExportNoData(page.currentTime, sink));
        return finishWith(sink, written ? RangeExportResult::ok : RangeExportResult::writeFailed);
    }
    ExportRows rows(sink, header, page.segments, page.segmentCount);
    for (bool more = true; more && count > 0;) {
        for (int32_t i = 0; i < count && more; ++i) {
            more = reader.times()[i] <= request.to;
            if (more)
                rows.add(reader.times()[i], reader.values() + static_cast<size_t>(i) * size);
        }
        if (progress) {
            progress->done += count;
            if (progress->cancel)
                return finishWith(sink, RangeExportResult::cancelled);
        }
        if (!rows.written())
            return finishWith(sink, RangeExportResult::writeFailed);
        if (more)
            reader.next(&count);
    }
    return finishWith(sink, rows.flush() ? RangeExportResult::ok : RangeExportResult::writeFailed);
}

}  // namespace quor
