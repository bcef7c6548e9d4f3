// quordata: exports, describes and checks data files from the command line,
// and writes the sample set. Output bytes are the same on every platform.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "CommandLine.h"
#include "CsvExport.h"
#include "DataFile.h"
#include "ExportRows.h"
#include "GotoTime.h"
#include "IndexReport.h"
#include "MergeExport.h"
#include "RangeExport.h"
#include "SampleWriter.h"
#include "SignalSummary.h"
#include "TimeText.h"
#include "ValueText.h"

namespace quor {

namespace {

const int kExitOk = 0;
const int kExitFailure = 1;
const int kExitUsage = 2;

// The export goes to standard output, which has no path of its own.
const char kWriteFailed[] = "Unable To Write File";
const char kStandardOutput[] = "standard output";

// The C runtime would turn each "\n" into CR LF on Windows; the export
// writes its own CR LF and every build must print the same bytes.
void useBinaryStdio()
{
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

int failWith(const char* what, const std::string& path)
{
    std::fprintf(stderr, "%s: %s\n", what, path.c_str());
    return kExitFailure;
}

// A pipe closed early or a full disk shows at any write, or only at the
// final flush; every write is checked.
bool putOut(const char* bytes, size_t count)
{
    return std::fwrite(bytes, 1, count, stdout) == count;
}

// An open data file with the views of it that the export and the report use.
class OpenedFile {
public:
    bool open(const std::string& path)
    {
        if (FAILED(file_.open(path.c_str(), FileHandle::modeRead)))
            return false;
        std::memset(&header_, 0, sizeof header_);
        file_.getHeader(&header_);
        page_.header = &header_;
        page_.fileSize = file_.getFileSize();
        page_.segments = file_.getSegments(&page_.segmentCount);
        page_.currentTime = header_.startTime;
        return true;
    }

    DataFile& file() { return file_; }
    const DataFileHeader& header() const { return header_; }
    ExportPage& page() { return page_; }

private:
    DataFile file_;
    DataFileHeader header_;
    ExportPage page_;
};

int runExport(const ToolArgs& args, OpenedFile& opened)
{
    ExportPage& page = opened.page();
    page.pageSize = args.count;
    if (args.hasFrom) {
        const DataFileHeader& h = opened.header();
        page.currentTime = gotoPageStart(parseGotoTime(args.fromText.c_str()), h.dataType, h.sampleRate);
    }
    FileExportSink sink(stdout);
    const HRESULT hr = writeCsvExport(page, opened.file(), sink);
    if (hr == E_OUTOFMEMORY)
        return failWith("Unable to Allocate Memory", args.path);
    if (FAILED(hr))
        return failWith(kWriteFailed, kStandardOutput);
    return kExitOk;
}

int runInfo(OpenedFile& opened)
{
    FileExportSink sink(stdout);
    if (FAILED(writeExportHeader(opened.page(), sink)) || !sink.finish())
        return failWith(kWriteFailed, kStandardOutput);
    return kExitOk;
}

int runValidate(const ToolArgs& args, OpenedFile& opened)
{
    const DataFileHeader& h = opened.header();
    IndexReportInput input = {args.path, h.startTime, h.endTime, h.dataType};
    Text report;
    IndexReportStatus status = buildIndexReport(input, &report);
    if (status == IndexReportStatus::indexUnreadable) {
        Text indexPath;
        makeIndexPath(args.path.c_str(), indexPath);
        return failWith("Unable to Open", indexPath.str());
    }
    if (status != IndexReportStatus::ok)
        report.assign(indexReportMessage(status));
    report.append("\r\n", 2);
    if (!putOut(report.c_str(), static_cast<size_t>(report.length())))
        return failWith(kWriteFailed, kStandardOutput);
    return kExitOk;
}

int runSamples(const ToolArgs& args)
{
    std::error_code error;
    std::filesystem::create_directories(args.path, error);
    std::string failed;
    if (FAILED(writeSampleSet(args.path, &failed)))
        return failWith("Unable to Write", failed);
    return kExitOk;
}

// Prints text as it grows, in blocks, so that any width streams. Once a
// block could not be written nothing more is.
class OutputBuffer {
public:
    Text& text() { return text_; }
    void lineEnd()
    {
        text_.append("\r\n", 2);
        if (text_.length() >= kFlushAt)
            flush();
    }
    // false when any block could not be written.
    bool flush()
    {
        written_ = written_ && putOut(text_.c_str(), static_cast<size_t>(text_.length()));
        text_.clear();
        return written_;
    }

private:
    static const int32_t kFlushAt = 1 << 16;
    Text text_;
    bool written_ = true;
};

// From the first recorded sample to the last unless --from or --to say
// otherwise; a bound that was not typed never crosses one that was.
void summaryRange(const ToolArgs& args, const SignalSummary& summary, int64_t* from, int64_t* to)
{
    int64_t first = 0, last = 0;
    const bool any = summary.firstTime(&first) && summary.lastTime(&last);
    const int64_t typedFrom = parseGotoTime(args.fromText.c_str());
    const int64_t typedTo = parseGotoTime(args.toText.c_str());
    *from = args.hasFrom ? typedFrom : any ? first : args.hasTo ? typedTo : 0;
    *to = args.hasTo ? typedTo : any ? last : *from;
    if (!args.hasFrom)
        *from = std::min(*from, *to);
    if (!args.hasTo)
        *to = std::max(*to, *from);
}

// Opens and summarises FILE; 0 when it is ready, else the exit status.
int openSummary(const ToolArgs& args, SignalSummary& summary)
{
    if (FAILED(summary.open(args.path.c_str())))
        return failWith("Unable to Open", args.path);
    if (!summary.hasNumericValues())
        return failWith("No numeric values", args.path);
    if (FAILED(summary.build()))
        return failWith("Unable to Read", args.path);
    return kExitOk;
}

int runEnvelope(const ToolArgs& args)
{
    SignalSummary summary;
    if (int status = openSummary(args, summary))
        return status;
    int64_t from = 0, to = 0;
    summaryRange(args, summary, &from, &to);
    const int32_t kColumnsAtOnce = 4096;
    std::vector<EnvelopeColumn> columns;
    OutputBuffer out;
    for (int32_t first = 0; first < args.width; first += kColumnsAtOnce) {
        const int32_t count = std::min(kColumnsAtOnce, args.width - first);
        if (FAILED(summary.envelopeColumns(from, to, args.width, first, count, &columns)))
            return failWith("Unable to Read", args.path);
        for (int32_t k = 0; k < count; ++k) {
            const EnvelopeColumn& column = columns[k];
            Text& line = out.text();
            line.appendFormat("%d,%lld,", first + k, static_cast<long long>(column.count));
            if (column.count > 0) {
                summary.formatValue(column.minimum, line);
                line.append(',');
                summary.formatValue(column.maximum, line);
            } else {
                line.append(',');
            }
            out.lineEnd();
        }
    }
    return out.flush() ? kExitOk : failWith(kWriteFailed, kStandardOutput);
}

void appendExtreme(OutputBuffer& out, const char* label, const SignalSummary& summary,
                   const SampleValue& value, int64_t time)
{
    Text timeText;
    formatTime(time, 3, true, timeText);
    Text& line = out.text();
    line.append(label).append(',');
    summary.formatValue(value, line);
    line.append(',').append(timeText).appendFormat(",%lld", static_cast<long long>(time));
    out.lineEnd();
}

int runStats(const ToolArgs& args)
{
    SignalSummary summary;
    if (int status = openSummary(args, summary))
        return status;
    int64_t from = 0, to = 0;
    summaryRange(args, summary, &from, &to);
    RangeStats stats;
    if (FAILED(summary.stats(from, to, &stats)))
        return failWith("Unable to Read", args.path);
    OutputBuffer out;
    out.text().appendFormat("Samples,%lld", static_cast<long long>(stats.count));
    out.lineEnd();
    if (stats.count > 0) {
        appendExtreme(out, "Minimum", summary, stats.minimum, stats.minimumTime);
        appendExtreme(out, "Maximum", summary, stats.maximum, stats.maximumTime);
        appendFigure(out.text().append("Mean,"), stats.mean);
        out.lineEnd();
        appendFigure(out.text().append("RMS,"), stats.rms);
        out.lineEnd();
    }
    return out.flush() ? kExitOk : failWith(kWriteFailed, kStandardOutput);
}

// One line per hit: the export's row of the sample.
int runFind(const ToolArgs& args)
{
    SignalSummary summary;
    if (int status = openSummary(args, summary))
        return status;
    FindRequest request;
    request.condition = args.condition;
    request.threshold = args.threshold;
    request.count = args.count;
    request.last = args.last;
    summaryRange(args, summary, &request.from, &request.to);
    std::vector<FoundSample> hits;
    const HRESULT hr = summary.find(request, &hits);
    if (FAILED(hr))
        return failWith("Unable to Read", args.path);
    OutputBuffer out;
    for (const FoundSample& hit : hits) {
        char row[64];
        char* end = putExportTime(row, hit.time);
        Text& line = out.text();
        line.append(row, static_cast<size_t>(end - row)).appendFormat(",%lld,", static_cast<long long>(hit.time));
        summary.formatValue(hit.value, line);
        out.lineEnd();
    }
    if (!out.flush())
        return failWith(kWriteFailed, kStandardOutput);
    return hits.empty() ? kExitFailure : kExitOk;
}

int runMerge(const ToolArgs& args)
{
    MergeRequest request;
    for (size_t k = 0; k < args.paths.size(); ++k)
        request.files.push_back(MergeFile{args.paths[k], args.shifts[k]});
    request.hasFrom = args.hasFrom;
    request.from = parseGotoTime(args.fromText.c_str());
    request.hasTo = args.hasTo;
    request.to = parseGotoTime(args.toText.c_str());
    FileExportSink sink(stdout);
    std::string failed;
    switch (mergeRecordings(request, sink, &failed)) {
    case MergeResult::ok:
        return kExitOk;
    case MergeResult::unableToOpen:
        return failWith("Unable to Open", failed);
    case MergeResult::noNumericValues:
        return failWith("No numeric values", failed);
    case MergeResult::readFailed:
        return failWith("Unable to Read", failed);
    default:
        return failWith(kWriteFailed, kStandardOutput);
    }
}

// export --to streams the rows up to a time, in bounded memory.
int runRangeExport(const ToolArgs& args)
{
    RangeExportRequest request;
    request.path = args.path.c_str();
    request.hasFrom = args.hasFrom;
    request.from = parseGotoTime(args.fromText.c_str());
    request.to = parseGotoTime(args.toText.c_str());
    FileExportSink sink(stdout);
    switch (exportTimeRange(request, sink, nullptr)) {
    case RangeExportResult::ok:
        return kExitOk;
    case RangeExportResult::unableToOpen:
        return failWith("Unable to Open", args.path);
    case RangeExportResult::outOfMemory:
        return failWith("Unable to Allocate Memory", args.path);
    default:
        return failWith(kWriteFailed, kStandardOutput);
    }
}

int runOnFile(const ToolArgs& args)
{
    if (args.command == ToolCommand::exportPage && args.hasTo)
        return runRangeExport(args);
    if (args.command == ToolCommand::envelope)
        return runEnvelope(args);
    if (args.command == ToolCommand::stats)
        return runStats(args);
    if (args.command == ToolCommand::find)
        return runFind(args);
    OpenedFile opened;
    if (!opened.open(args.path))
        return failWith("Unable to Open", args.path);
    switch (args.command) {
    case ToolCommand::exportPage:
        return runExport(args, opened);
    case ToolCommand::info:
        return runInfo(opened);
    default:
        return runValidate(args, opened);
    }
}

}  // namespace

}  // namespace quor

int main(int argc, char** argv)
{
    using namespace quor;
    useBinaryStdio();
    ToolArgs args;
    if (!parseToolArgs(argc, argv, &args)) {
        std::fputs(kToolUsage, stderr);
        return kExitUsage;
    }
    if (args.command == ToolCommand::help) {
        std::fputs(kToolUsage, stdout);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
    }
    int status = args.command == ToolCommand::samples ? runSamples(args)
                 : args.command == ToolCommand::merge  ? runMerge(args)
                                                       : runOnFile(args);
    const bool flushed = std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!flushed && status == kExitOk)
        return failWith(kWriteFailed, kStandardOutput);
    return flushed ? status : kExitFailure;
}
