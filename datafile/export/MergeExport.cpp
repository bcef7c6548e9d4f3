#include "MergeExport.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "DecimalText.h"
#include "ExportRows.h"
#include "SampleStream.h"
#include "SummaryScan.h"
#include "ValueText.h"
#include "WrappingMath.h"

namespace quor {

namespace {

const size_t kFlushBytes = size_t(1) << 20;

// One file's place in the merge: the latest sample at or before the row's
// time (current) and the stream standing on the sample after it.
struct MergeCursor {
    SampleStream stream;
    int64_t shift = 0;
    int32_t dataFormat = 0;
    bool hasCurrent = false;
    int64_t currentTime = 0;
    int64_t currentRun = 0;
    // The current sample's text, made once however many rows it fills.
    char currentText[kNumericTextMax];
    size_t currentLength = 0;

    bool hasNext() const { return !stream.atEnd(); }
    int64_t nextTime() const { return saturatingAdd(stream.time(), shift); }

    // Takes every sample up to time; E_FAIL when a read fails.
    HRESULT advanceTo(int64_t time)
    {
        while (hasNext() && nextTime() <= time) {
            hasCurrent = true;
            currentTime = nextTime();
            currentRun = stream.run();
            currentLength = static_cast<size_t>(
                putNumericValue(currentText, stream.value(), stream.dataSize(), dataFormat) - currentText);
            if (FAILED(stream.next()))
                return E_FAIL;
        }
        return S_OK;
    }

    // The sample at time, or the one before it while its run lasts.
    bool holds(int64_t time) const
    {
        return hasCurrent && (currentTime == time || (hasNext() && stream.run() == currentRun));
    }
};

// Rows are composed in place in one buffer that goes to the sink whenever
// it holds kFlushBytes; room for the widest row is kept beyond that.
class MergeWriter {
public:
    MergeWriter(ExportSink& sink, size_t widestRow) : sink_(sink), buffer_(kFlushBytes + widestRow) {}

    char* room() { return buffer_.data() + used_; }
    void commit(const char* end) { used_ = static_cast<size_t>(end - buffer_.data()); }
    bool flushIfFull() { return used_ < kFlushBytes || flush(); }
    bool flush()
    {
        if (ok_ && used_ > 0)
            ok_ = sink_.write(buffer_.data(), used_);
        used_ = 0;
        return ok_;
    }

private:
    ExportSink& sink_;
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool ok_ = true;
};

MergeResult openCursors(const MergeRequest& request, std::vector<std::unique_ptr<MergeCursor>>* cursors,
                        std::string* failedPath)
{
    for (const MergeFile& file : request.files) {
        auto cursor = std::make_unique<MergeCursor>();
        *failedPath = file.path;
        if (FAILED(cursor->stream.open(file.path.c_str())))
            return MergeResult::unableToOpen;
        const DataFileHeader& header = cursor->stream.header();
        ValueCodec codec;
        if (!codec.configure(header.dataFormat, cursor->stream.dataSize(), false))
            return MergeResult::noNumericValues;
        cursor->shift = file.shift;
        cursor->dataFormat = header.dataFormat;
        cursors->push_back(std::move(cursor));
    }
    failedPath->clear();
    return MergeResult::ok;
}

// The earliest time any file reaches next; false when every file has ended.
bool nextRowTime(const std::vector<std::unique_ptr<MergeCursor>>& cursors, int64_t* time)
{
    bool any = false;
    for (const auto& c : cursors) {
        if (c->hasNext() && (!any || c->nextTime() < *time)) {
            *time = c->nextTime();
            any = true;
        }
    }
    return any;
}

void putRow(MergeWriter& out, RowTimeWriter& times, int64_t time,
            const std::vector<std::unique_ptr<MergeCursor>>& cursors)
{
    char* at = times.put(out.room(), time);
    for (const auto& c : cursors) {
        *at++ = ',';
        if (c->holds(time)) {
            std::memcpy(at, c->currentText, c->currentLength);
            at += c->currentLength;
        }
    }
    *at++ = '\r';
    *at++ = '\n';
    out.commit(at);
}

// The rows between two looks at the progress: a cancel acts within
// milliseconds, and the atomics cost nothing next to the rows.
const int32_t kRowsPerProgress = 4096;

int64_t samplesPassed(const std::vector<std::unique_ptr<MergeCursor>>& cursors)
{
    int64_t passed = 0;
    for (const auto& c : cursors)
        passed += c->stream.passed();
    return passed;
}

// false when the watcher asked the merge to stop.
bool reportProgress(const std::vector<std::unique_ptr<MergeCursor>>& cursors, TaskProgress* progress)
{
    if (!progress)
        return true;
    progress->done = samplesPassed(cursors);
    return !progress->cancel;
}

}  // namespace

std::string mergeLabel(const std::string& path)
{
    size_t start = path.find_last_of("/");
#ifdef _WIN32
    start = path.find_last_of("/\\:");
#endif
    std::string name = path.substr(start == std::string::npos ? 0 : start + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    if (name.find_first_of(",\"\r\n") == std::string::npos)
        return name;
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

MergeResult mergeRecordings(const MergeRequest& request, ExportSink& sink, std::string* failedPath,
                            TaskProgress* progress)
{
    std::vector<std::unique_ptr<MergeCursor>> cursors;
    const MergeResult opened = openCursors(request, &cursors, failedPath);
    if (opened != MergeResult::ok)
        return opened;
    if (progress) {
        int64_t total = 0;
        for (const auto& c : cursors)
            total += c->stream.count();
        progress->total = total;
    }
    std::string heading = "Time,Nanoseconds";
    for (const MergeFile& file : request.files)
        heading += "," + mergeLabel(file.path);
    heading += "\r\n";
    if (!sink.write(heading.data(), heading.size()))
        return MergeResult::writeFailed;
    MergeWriter out(sink, 64 + cursors.size() * (kNumericTextMax + 1));
    RowTimeWriter times;
    int64_t time = 0;
    int32_t rowsSinceProgress = 0;
    while (nextRowTime(cursors, &time) && !(request.hasTo && time > request.to)) {
        if (++rowsSinceProgress == kRowsPerProgress) {
            rowsSinceProgress = 0;
            if (!reportProgress(cursors, progress)) {
                sink.discard();
                return MergeResult::cancelled;
            }
        }
        for (size_t k = 0; k < cursors.size(); ++k) {
            if (FAILED(cursors[k]->advanceTo(time))) {
                *failedPath = request.files[k].path;
                out.flush();
                return MergeResult::readFailed;
            }
        }
        if (request.hasFrom && time < request.from)
            continue;
        putRow(out, times, time, cursors);
        if (!out.flushIfFull())
            return MergeResult::writeFailed;
    }
    return out.flush() && sink.finish() ? MergeResult::ok : MergeResult::writeFailed;
}

}  // namespace quor
