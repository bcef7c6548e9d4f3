// quordata: exports, describes and checks data files from the command line,
// and writes the sample set. Output bytes are the same on every platform.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "CommandLine.h"
#include "CsvExport.h"
#include "DataFile.h"
#include "GotoTime.h"
#include "IndexReport.h"
#include "SampleWriter.h"

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

int runExport(const QuordataArgs& args, OpenedFile& opened)
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

int runValidate(const QuordataArgs& args, OpenedFile& opened)
{
    const DataFileHeader& h = opened.header();
    IndexReportInput input = {args.path, h.startTime, h.endTime, h.dataType};
    QuorText report;
    IndexReportStatus status = buildIndexReport(input, &report);
    if (status == IndexReportStatus::indexUnreadable) {
        QuorText indexPath;
        makeIndexPath(args.path.c_str(), indexPath);
        return failWith("Unable to Open", indexPath.str());
    }
    if (status != IndexReportStatus::ok)
        report.assign(indexReportMessage(status));
    std::fwrite(report.c_str(), 1, static_cast<size_t>(report.length()), stdout);
    std::fwrite("\r\n", 1, 2, stdout);
    return kExitOk;
}

int runSamples(const QuordataArgs& args)
{
    std::error_code error;
    std::filesystem::create_directories(args.path, error);
    std::string failed;
    if (FAILED(writeSampleSet(args.path, &failed)))
        return failWith("Unable to Write", failed);
    return kExitOk;
}

int runOnFile(const QuordataArgs& args)
{
    OpenedFile opened;
    if (!opened.open(args.path))
        return failWith("Unable to Open", args.path);
    switch (args.command) {
    case QuordataCommand::exportPage:
        return runExport(args, opened);
    case QuordataCommand::info:
        return runInfo(opened);
    default:
        return runValidate(args, opened);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    useBinaryStdio();
    QuordataArgs args;
    if (!parseQuordataArgs(argc, argv, &args)) {
        std::fputs(kQuordataUsage, stderr);
        return kExitUsage;
    }
    int status = args.command == QuordataCommand::samples ? runSamples(args) : runOnFile(args);
    return std::fflush(stdout) == 0 ? status : kExitFailure;
}
