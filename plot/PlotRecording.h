// The recording a plot window draws: its own DataFile and the summary of
// it, built on a worker thread. The window thread asks for envelopes,
// statistics and single samples at any time; what is not summarised yet
// reads as empty. The worker posts `message` to the window as it goes.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "PlotView.h"
#include "SignalSummary.h"

namespace quor {

struct PlotColumn {
    int64_t count = 0;
    double minimum = 0;
    double maximum = 0;
};

// The readout's figures, with value texts as the export writes them.
struct PlotSample {
    int64_t time = 0;
    double value = 0;
    int64_t exact = 0;  // integer formats: the value (ulong: its bit pattern)
    std::string text;
};

struct PlotStats {
    int64_t count = 0;
    std::string minimum, maximum;  // value text
    double mean = 0;
    double rms = 0;
};

class PlotRecording {
public:
    PlotRecording();
    ~PlotRecording();  // stops and joins the worker
    PlotRecording(const PlotRecording&) = delete;
    PlotRecording& operator=(const PlotRecording&) = delete;

    // Opens the file and starts summarising it. E_FAIL when it cannot be
    // opened; S_FALSE when it opens but holds no numeric values.
    HRESULT open(const char* path, HWND notify, UINT message);
    // Summarises what was appended to the file since (F5).
    void refresh();
    void stop();
    // The window took the last progress note; the worker may post another.
    void noteTaken() { notePending_ = false; }

    bool plottable() const { return plottable_; }
    bool hasSamples() const { return hasSamples_; }
    // First and last sample time of the whole recording, known at open.
    const TimeSpan& extent() const { return extent_; }
    // The fraction of the file summarised so far, 0 to 1.
    double progress() const { return progress_.load(); }
    bool summarised() const { return progress_.load() >= 1.0; }
    // The worker is still summarising: neither done nor cancelled.
    bool reading() const { return !summarised() && !readCancelled_; }
    // Stops summarising; what was summarised stays drawn and measured.
    void cancelReading();
    // Integer formats compute exactly; ulong values are unsigned.
    bool integerValues() const;
    __int128 wideValue(int64_t exact) const;
    int64_t shortestSpan() const { return shortestSpan_; }
    // Times at which segments of a multi-periodic file begin and end.
    const std::vector<TimeSpan>& segments() const { return segmentTimes_; }
    const std::string& path() const { return path_; }

    // Column values are relative to `base`: zero, unless 64-bit integers
    // lie beyond a double's whole numbers, when it is the view's least value.
    void envelope(const TimeSpan& span, int columns, std::vector<PlotColumn>& out, __int128& base);
    bool stats(int64_t from, int64_t to, PlotStats& out);
    bool sampleAtOrBefore(int64_t time, PlotSample& out);

private:
    void startWorker();
    void stopWorker();
    void summarise();
    void takeProgress(bool finished);
    void findExtent();

    std::string path_;
    HWND notify_ = nullptr;
    UINT message_ = 0;
    bool plottable_ = false;
    bool hasSamples_ = false;
    int64_t shortestSpan_ = 1;
    std::vector<TimeSpan> segmentTimes_;
    TimeSpan extent_;
    std::atomic<double> progress_{0.0};
    std::atomic<bool> notePending_{false};
    bool readCancelled_ = false;
    SignalSummary summary_;
    std::thread worker_;
};

}  // namespace quor
