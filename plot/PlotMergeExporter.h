// Export A-B of the workspace: every lane between the cursors merged on
// one time base, the bytes of `quordata merge` with the lanes' offsets,
// written on a worker thread with progress and cancel. A cancelled or
// failed export leaves the target as it was.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "ExportSink.h"
#include "MergeExport.h"
#include "TaskProgress.h"

namespace quor {

// Passes the bytes on and counts the rows among them, the heading not
// included.
class RowCountingSink final : public ExportSink {
public:
    explicit RowCountingSink(ExportSink& target) : target_(target) {}
    bool write(const char* bytes, size_t count) override;
    bool finish() override { return target_.finish(); }
    void discard() override { target_.discard(); }
    int64_t rows() const { return lines_ > 0 ? lines_ - 1 : 0; }

private:
    ExportSink& target_;
    int64_t lines_ = 0;
};

class PlotMergeExporter {
public:
    PlotMergeExporter() = default;
    ~PlotMergeExporter();  // cancels and joins
    PlotMergeExporter(const PlotMergeExporter&) = delete;
    PlotMergeExporter& operator=(const PlotMergeExporter&) = delete;

    // Starts writing target; `message` is posted to notify when it ends.
    // false while an export runs or has not been finished.
    bool start(const MergeRequest& request, const std::string& target, HWND notify, UINT message);
    void cancel() { progress_.cancel = true; }
    // Joins the finished worker and gives its result and the rows written
    // (0 unless ok).
    MergeResult finish(int64_t* rows = nullptr);
    bool running() const { return running_.load(); }
    double fraction() const { return progress_.fraction(); }
    // The file that failed to open or read, after finish.
    const std::string& failedPath() const { return failedPath_; }

private:
    void run(MergeRequest request, std::string target, HWND notify, UINT message);

    TaskProgress progress_;
    std::atomic<bool> running_{false};
    MergeResult result_ = MergeResult::ok;
    int64_t rows_ = 0;
    std::string failedPath_;
    std::thread worker_;
};

}  // namespace quor
