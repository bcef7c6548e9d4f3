#include "PlotMergeExporter.h"

#include <cstring>
#include <memory>
#include <utility>

#include "CsvExport.h"

namespace quor {

bool RowCountingSink::write(const char* bytes, size_t count)
{
    for (const char* p = bytes; (p = static_cast<const char*>(std::memchr(p, '\n', bytes + count - p))); ++p)
        ++lines_;
    return target_.write(bytes, count);
}

PlotMergeExporter::~PlotMergeExporter()
{
    cancel();
    finish();
}

bool PlotMergeExporter::start(const MergeRequest& request, const std::string& target, HWND notify, UINT message)
{
    if (running_ || worker_.joinable())
        return false;
    progress_.done = 0;
    progress_.total = 0;
    progress_.cancel = false;
    rows_ = 0;
    failedPath_.clear();
    running_ = true;
    worker_ = std::thread(&PlotMergeExporter::run, this, request, target, notify, message);
    return true;
}

void PlotMergeExporter::run(MergeRequest request, std::string target, HWND notify, UINT message)
{
    // The file sink replaces the target only when the merge is complete.
    MergeResult result = MergeResult::writeFailed;
    std::string failed;
    int64_t rows = 0;
    if (std::unique_ptr<FileExportSink> sink = FileExportSink::create(target.c_str())) {
        RowCountingSink counter(*sink);
        result = mergeRecordings(request, counter, &failed, &progress_);
        rows = counter.rows();
    }
    result_ = result;
    rows_ = result == MergeResult::ok ? rows : 0;
    failedPath_ = std::move(failed);
    running_ = false;
    PostMessageA(notify, message, 0, 0);
}

MergeResult PlotMergeExporter::finish(int64_t* rows)
{
    if (worker_.joinable())
        worker_.join();
    if (rows)
        *rows = rows_;
    return result_;
}

}  // namespace quor
