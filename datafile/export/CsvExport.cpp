#include "CsvExport.h"

#include "ExportRows.h"

#include <algorithm>
#include <cstring>

#include "HeaderFieldNames.h"
#include "PageBuffers.h"
#include "SampleTime.h"
#include "TimeText.h"
#include "ValueText.h"
#include "WrappingMath.h"

namespace quor {

std::unique_ptr<FileExportSink> FileExportSink::create(const char* path)
{
    std::unique_ptr<FileExportSink> sink(new FileExportSink);
    if (!sink->file_.create(path))
        return nullptr;
    return sink;
}

bool FileExportSink::write(const char* bytes, size_t count)
{
    if (failed_)
        return false;
    const bool written = stream_ ? std::fwrite(bytes, 1, count, stream_) == count : file_.write(bytes, count);
    failed_ = !written;
    return written;
}

// A buffered stream reports a full disk only when it flushes, and a file
// system may report it only at the close.
bool FileExportSink::finish()
{
    if (stream_)
        return std::fflush(stream_) == 0 && !std::ferror(stream_) && !failed_;
    if (failed_) {
        file_.discard();
        return false;
    }
    return file_.commit();
}

void FileExportSink::discard()
{
    if (stream_)
        std::fflush(stream_);
    else
        file_.discard();
}

namespace {

// Turns one composed line into bytes with the export's CR LF line end. A
// line feed inside the line (an ascii value may hold one) is written as CR LF
// too, as a text-mode stream writes it, so the file has one kind of line end.
// After the first write the sink refuses, nothing more is written.
class CsvLines {
public:
    explicit CsvLines(ExportSink& sink) : sink_(sink) {}

    void emit(const Text& line) { emit(line.c_str(), static_cast<size_t>(line.length())); }
    void emit(const char* line) { emit(line, std::strlen(line)); }
    bool written() const { return written_; }

private:
    void emit(const char* line, size_t length)
    {
        const char* end = line + length;
        for (const char* at = line; at < end;) {
            const void* feed = std::memchr(at, '\n', static_cast<size_t>(end - at));
            const char* stop = feed ? static_cast<const char*>(feed) : end;
            put(at, static_cast<size_t>(stop - at));
            if (feed)
                put("\r\n", 2);
            at = feed ? stop + 1 : end;
        }
        put("\r\n", 2);
    }
    void put(const char* bytes, size_t count)
    {
        if (written_ && count > 0)
            written_ = sink_.write(bytes, count);
    }

    ExportSink& sink_;
    bool written_ = true;
};

const int32_t kTimeDecimals = 3;

// A block that fills all 64 bytes has no NUL; it must not be read past.
int versionLength(const DataFileHeader& header)
{
    const void* nul = std::memchr(header.version, 0, sizeof header.version);
    return nul ? static_cast<int>(static_cast<const char*>(nul) - header.version)
               : static_cast<int>(sizeof header.version);
}

void emitTimeLine(CsvLines& out, const char* label, int64_t time, uint64_t period)
{
    Text timeText;
    formatTime(time, kTimeDecimals, true, timeText);
    Text line;
    line.format("%s,%lld,%lld,%s", label, static_cast<long long>(time),
                static_cast<long long>(divideByPeriod(time, period)), timeText.c_str());
    out.emit(line);
}

void emitHeaderLines(CsvLines& out, const ExportPage& page, uint64_t period)
{
    const DataFileHeader& h = *page.header;
    const char* formatName = nullptr;
    const char* typeName = nullptr;
    dataFormatName(h.dataFormat, &formatName);
    dataTypeName(h.dataType, &typeName);
    int64_t elements = h.dataSize > 0 ? page.fileSize / h.dataSize : 0;

    Text line;
    out.emit(line.format("Version,%.*s", versionLength(h), h.version));
    out.emit(line.format("Tag Id,%d", h.tagId));
    out.emit(line.format("Sample Rate,%lf", h.sampleRate));
    emitTimeLine(out, "Start Time", h.startTime, period);
    emitTimeLine(out, "End Time", h.endTime, period);
    out.emit(line.format("Data Format,%d,%s", h.dataFormat, formatName));
    out.emit(line.format("Data Size(bytes),%d", h.dataSize));
    out.emit(line.format("Data Type,%d,%s", h.dataType, typeName));
    out.emit(line.format("Byte Order,%d,%s", h.byteOrder, byteOrderName(h.byteOrder)));
    out.emit(line.format("File Size(bytes),%lld", static_cast<long long>(page.fileSize)));
    out.emit(line.format("Total Data Elements,%lld", static_cast<long long>(elements)));
}

// The third field repeats the start time text under the "Byte Offset"
// heading; viewers of these files expect exactly that layout.
void emitSegmentBlock(CsvLines& out, const ExportPage& page, uint64_t period)
{
    if (page.header->dataType != typePeriodic || page.segmentCount <= 0 || !page.segments)
        return;
    out.emit("--MultiPeriodic Info--");
    out.emit("Start Index,End Index,Byte Offset");
    const int64_t step = static_cast<int64_t>(period);
    Text line, startText, endText;
    for (int32_t s = 0; s < page.segmentCount; ++s) {
        // Indices from the index file: the products are held at the int64
        // limits, as the header grid holds them.
        const int64_t start = saturatingMultiply(page.segments[s].startIndex, step);
        const int64_t end = saturatingMultiply(page.segments[s].endIndex, step);
        formatTime(start, kTimeDecimals, true, startText);
        formatTime(end, kTimeDecimals, true, endText);
        out.emit(line.format("%lld,%lld,%s,%s", static_cast<long long>(start), static_cast<long long>(end),
                             startText.c_str(), endText.c_str()));
    }
}

bool pageReadable(const ExportPage& page)
{
    const DataFileHeader& h = *page.header;
    return page.pageSize > 0 && h.dataSize > 0 &&
           (h.dataType == typePeriodic || h.dataType == typeAsynchronous);
}

void emitNoData(CsvLines& out, int64_t currentTime)
{
    Text timeText;
    formatTime(currentTime, kTimeDecimals, true, timeText);
    Text line;
    out.emit("");
    out.emit("");
    out.emit(line.format("**No Data at this time,%s", timeText.c_str()));
}

// Row times are the page's own (PageBuffers says which rule gives them), so
// the export's rows carry the times the data grid shows.
bool emitSamples(ExportSink& sink, const ExportPage& page, const PageBuffers& buffers, int32_t count)
{
    const DataFileHeader& h = *page.header;
    ExportRows rows(sink, h, page.segments, page.segmentCount);
    for (int32_t i = 0; i < count; ++i)
        rows.add(buffers.times()[i], buffers.values() + static_cast<size_t>(i) * h.dataSize);
    return rows.flush();
}

void emitExportHeader(CsvLines& out, const ExportPage& page)
{
    const uint64_t period = samplePeriod(page.header->sampleRate);
    emitHeaderLines(out, page, period);
    emitSegmentBlock(out, page, period);
}

}  // namespace

HRESULT writeExportHeader(const ExportPage& page, ExportSink& sink)
{
    CsvLines out(sink);
    emitExportHeader(out, page);
    return out.written() ? S_OK : E_FAIL;
}

HRESULT writeExportOpening(const ExportPage& page, ExportSink& sink)
{
    CsvLines out(sink);
    emitExportHeader(out, page);
    out.emit("");
    out.emit("");
    out.emit("--Begin Data--");
    return out.written() ? S_OK : E_FAIL;
}

HRESULT writeExportNoData(int64_t currentTime, ExportSink& sink)
{
    CsvLines out(sink);
    emitNoData(out, currentTime);
    return out.written() ? S_OK : E_FAIL;
}

HRESULT writeCsvExport(const ExportPage& page, DataFile& file, ExportSink& sink)
{
    // Data Size comes from the header and may be hostile: the rows the file
    // can give bound the page, so a huge Data Size or page size never claims
    // memory the file could not fill.
    PageBuffers buffers;
    const bool readable = pageReadable(page);
    const int32_t rows = static_cast<int32_t>(std::min<int64_t>(page.pageSize, rowsTheFileCanGive(file)));
    if (readable && (FAILED(buffers.allocate(rows, page.header->dataSize)) || FAILED(buffers.reserve(file, rows))))
        return E_OUTOFMEMORY;

    bool written = SUCCEEDED(writeExportOpening(page, sink));
    int32_t count = 0;
    if (!readable || FAILED(buffers.read(file, page.currentTime, page.pageSize, &count)))
        written = written && SUCCEEDED(writeExportNoData(page.currentTime, sink));
    else
        written = written && emitSamples(sink, page, buffers, count);
    if (!written) {
        sink.discard();
        return E_FAIL;
    }
    return sink.finish() ? S_OK : E_FAIL;
}

}  // namespace quor
