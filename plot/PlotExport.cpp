#include "PlotExport.h"

#include <algorithm>
#include <memory>

namespace quor {

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
    // The sink replaces the target only when the export is complete: a
    // cancel or a failure leaves what was there before.
    RangeExportResult result = RangeExportResult::writeFailed;
    if (std::unique_ptr<FileExportSink> sink = FileExportSink::create(target.c_str())) {
        RangeExportRequest request;
        request.path = dataFilePath.c_str();
        request.hasFrom = true;
        request.from = from;
        request.to = to;
        result = exportTimeRange(request, *sink, &progress_);
    }
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
