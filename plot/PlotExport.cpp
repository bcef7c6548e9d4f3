#include "PlotExport.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace quor {

namespace {

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};

}  // namespace

PlotExporter::~PlotExporter()
{
    cancel();
    finish();
}

bool PlotExporter::start(const std::string& dataFilePath, int64_t from, int64_t to, const std::string& target,
                         HWND notify, UINT message)
{
    if (running_ || worker_.joinable())
        return false;
    progress_.done = 0;
    progress_.total = 0;
    progress_.cancel = false;
    running_ = true;
    worker_ = std::thread(&PlotExporter::run, this, dataFilePath, from, to, target, notify, message);
    return true;
}

void PlotExporter::run(std::string dataFilePath, int64_t from, int64_t to, std::string target, HWND notify,
                       UINT message)
{
    RangeExportResult result = RangeExportResult::writeFailed;
    {
        std::unique_ptr<FILE, FileCloser> file(fopen(target.c_str(), "wb"));  // the writer puts CR LF itself
        if (file) {
            FileExportSink sink(file.get());
            RangeExportRequest request;
            request.path = dataFilePath.c_str();
            request.hasFrom = true;
            request.from = from;
            request.to = to;
            result = exportTimeRange(request, sink, &progress_);
            if (fflush(file.get()) != 0 || ferror(file.get()))
                result = result == RangeExportResult::ok ? RangeExportResult::writeFailed : result;
        }
    }
    if (result != RangeExportResult::ok)
        DeleteFileA(target.c_str());
    result_ = result;
    running_ = false;
    PostMessageA(notify, message, 0, 0);
}

RangeExportResult PlotExporter::finish()
{
    if (worker_.joinable())
        worker_.join();
    return result_;
}

double PlotExporter::fraction() const
{
    const int64_t total = progress_.total.load();
    return total > 0 ? std::min(1.0, double(progress_.done.load()) / double(total)) : 0.0;
}

}  // namespace quor
