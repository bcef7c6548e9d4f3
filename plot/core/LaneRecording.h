// The recording one lane draws: its own DataFile and the summary of it,
// built on a worker thread. The window thread asks for envelopes,
// statistics, single samples and searches at any time; what is not
// summarised yet reads as empty. Times in and out are the file's own: the
// window adds the lane's offset.
//
// The workers of all lanes take turns on the cores (TurnQueue::readers()),
// a turn of a few build steps each.
//
// The worker reports progress through onProgress, from the worker thread:
// one call until the window says noteTaken(), so that a slow window is never
// flooded, and always a last one when the summary is complete.
//
// The summaries of all lanes share one memory budget: each holds at most
// its share of kWorkspaceBlocks blocks, the budget divided among the
// recordings that exist, so that 32 lanes stay bounded whatever their
// files' lengths while a few lanes keep finer blocks (cheaper edges when
// zooming). A recording made joins the budget and lowers the others' limit,
// whose blocks merge at once. Recordings are made, used and destroyed on
// one thread (the window's).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "LaneList.h"
#include "PlotView.h"
#include "SignalSummary.h"

namespace quor {

struct LaneColumn {
    int64_t count = 0;
    double minimum = 0;
    double maximum = 0;
};

// A sample with its value text as the export writes it.
struct LaneSample {
    int64_t time = 0;
    double value = 0;
    int64_t exact = 0;  // integer formats: the value (ulong: its bit pattern)
    std::string text;
};

// A range's figures as `quordata stats` prints them.
struct LaneStats {
    int64_t count = 0;
    std::string minimum, maximum;  // value text
    double mean = 0;
    double rms = 0;
};

class LaneRecording {
public:
    using Progress = std::function<void()>;
    // All lanes' summaries together: 2^20 blocks, about 70 MB.
    static constexpr int32_t kWorkspaceBlocks = 1 << 20;
    // A lane's share when there are `recordings`: never more than a lone
    // summary's own limit.
    static int32_t blockShare(int recordings);

    // Takes its share of the budget.
    LaneRecording();
    // A limit of its own, outside the budget.
    explicit LaneRecording(int32_t maxBlocks);
    ~LaneRecording();  // stops and joins the worker; leaves the budget
    LaneRecording(const LaneRecording&) = delete;
    LaneRecording& operator=(const LaneRecording&) = delete;

    // Opens the file and starts summarising it. E_FAIL when it cannot be
    // opened; S_FALSE when it opens but holds no numeric values.
    HRESULT open(const std::string& path, Progress onProgress);
    // Takes what the file holds now: summarises what was appended, or all of
    // it again when it shrank.
    void refresh();
    void stop();
    // The window took the last progress note; the worker may give another.
    void noteTaken() { notePending_ = false; }

    bool opened() const { return opened_; }
    bool plottable() const { return plottable_; }
    bool hasSamples() const { return hasSamples_; }
    // First and last sample time of the whole recording, known at open.
    const TimeSpan& extent() const { return extent_; }
    double progress() const { return progress_.load(); }
    bool summarised() const { return progress_.load() >= 1.0; }
    // The worker is still summarising: neither done nor cancelled.
    bool reading() const { return !summarised() && !readCancelled_; }
    // Stops summarising; what was summarised stays drawn and measured.
    void cancelReading();
    // Integer formats compute exactly; ulong values are unsigned.
    bool integerValues() const;
    __int128 wideValue(int64_t exact) const;
    // Steps for asynchronous files and integers (a value holds until the
    // next sample), lines for periodic floats.
    LaneStyle naturalStyle() const;
    int32_t tagId() const { return tagId_; }
    int64_t shortestSpan() const { return shortestSpan_; }
    // Times at which segments of a multi-periodic file begin and end.
    const std::vector<TimeSpan>& segments() const { return segmentTimes_; }
    const std::string& path() const { return path_; }
    size_t memoryBytes() const { return summary_.memoryBytes(); }
    int32_t maxBlocks() const { return maxBlocks_; }
    int64_t blockSamples() const { return summary_.blockSamples(); }
    // Lowers the limit: the blocks merge now, or as the worker next publishes.
    void limitBlocks(int32_t maxBlocks);

    // The file's size when it was last read, and whether it differs now
    // (grew, shrank, or went away).
    int64_t fileSize() const { return fileSize_; }
    bool changedOnDisk() const;

    // Column values are relative to `base`: zero, unless 64-bit integers
    // lie beyond a double's whole numbers, when it is the view's least value.
    void envelope(const TimeSpan& span, int columns, std::vector<LaneColumn>& out, __int128& base);
    // The range between two times in either order, both included.
    bool stats(int64_t from, int64_t to, LaneStats& out);
    bool sampleAtOrBefore(int64_t time, LaneSample& out);
    // What the summary finds among the samples summarised so far.
    HRESULT find(const FindRequest& request, std::vector<FoundSample>* hits) const;
    void formatValue(const SampleValue& value, std::string& out) const;

private:
    void startWorker();
    void stopWorker();
    void summarise();
    HRESULT summariseStep();
    void takeProgress(bool finished);
    void findExtent();
    void takeSegments();
    int64_t sizeOnDisk() const;

    bool inBudget_ = false;
    int32_t maxBlocks_ = 0;
    std::string path_;
    Progress onProgress_;
    bool opened_ = false;
    bool plottable_ = false;
    bool hasSamples_ = false;
    int32_t tagId_ = 0;
    bool asynchronous_ = false;
    int64_t shortestSpan_ = 1;
    int64_t fileSize_ = 0;
    std::vector<TimeSpan> segmentTimes_;
    TimeSpan extent_;
    std::atomic<double> progress_{0.0};
    std::atomic<bool> notePending_{false};
    bool readCancelled_ = false;
    SignalSummary summary_;
    std::thread worker_;
};

}  // namespace quor
