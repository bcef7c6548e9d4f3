// "Export A-B...": writes the samples between the cursors to a file on a
// worker thread, the bytes of the range export, with progress and cancel.
// A cancelled or failed export leaves the target as it was.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "RangeExport.h"
#include "TaskProgress.h"

namespace quor {

class PlotExporter {
public:
    PlotExporter() = default;
    ~PlotExporter();  // cancels and joins
    PlotExporter(const PlotExporter&) = delete;
    PlotExporter& operator=(const PlotExporter&) = delete;

    // Starts writing target; `message` is posted to notify when it ends.
    bool start(const std::string& dataFilePath, int64_t from, int64_t to, const std::string& target,
               HWND notify, UINT message);
    void cancel() { progress_.cancel = true; }
    // Joins the finished worker and gives its result.
    RangeExportResult finish();
    bool running() const { return running_.load(); }
    double fraction() const;

private:
    void run(std::string dataFilePath, int64_t from, int64_t to, std::string target, HWND notify,
             UINT message);

    TaskProgress progress_;
    std::atomic<bool> running_{false};
    RangeExportResult result_ = RangeExportResult::ok;
    std::thread worker_;
};

}  // namespace quor
