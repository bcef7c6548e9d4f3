// SignalSummary: a multi-resolution summary of the numeric samples of one
// data file, for drawing a signal's envelope and for the statistics of any
// time range without reading the range.
//
// Recorded samples, in the order they are summarised:
// - periodic files without segments or with one segment, and legacy files:
//   every whole value of the data file, at index x period from Start Index;
// - multi-periodic files: only the samples inside the segments (a segment
//   ends where the next one starts; the gap rows of a page read are not
//   samples);
// - asynchronous files: every sample that has both its value and its time,
//   at its time from the index file. A time earlier than the one before it
//   counts as that one, so that times never go backwards.
// A sample whose time does not fit in 64 bits is not recorded. NaN values
// are samples (sampleAtOrBefore returns them) but are left out of every
// figure: counts, minima, maxima, means.
//
// Per block of samples the summary keeps the minimum and the maximum with
// their first positions, the sum and the sum of squares (and for
// asynchronous files the block's first time), and levels of blocks of
// blocks above them. A query reads from the file only the partial blocks at
// the ends of its columns, so its cost does not depend on the range length;
// an envelope whose columns hold a block or less reads its range instead,
// in long reads. The blocks split by recent column edges are kept
// summarised, and the columns of the last envelope read whole are kept,
// so that a panned picture reads only its new edges or columns.
// Blocks hold kBlockSamples samples until there are maxBlocks of them; then
// neighbours are merged and blocks hold twice as many, so memory stays
// bounded (about 20 MB at the default) for files of any length.
//
// Threads. The summary opens its own DataFile and file handles (one set for
// building, one for queries), never the viewer's. One thread (the worker)
// may call buildStep, build and refresh while any other threads call the
// queries (firstTime/lastTime, envelope, stats, sampleAtOrBefore, find,
// segmentTimes, progress, requestCancel, formatValue); queries see the part
// summarised so far and are serialised against each other and against the
// moment a build step publishes its blocks. open and close must not run
// concurrently with anything else on the same summary.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "FindThreshold.h"
#include "Status.h"
#include "SummaryTypes.h"
#include "TaskProgress.h"

namespace quor {

class Text;

struct FindRequest {
    FindCondition condition = FindCondition::above;
    FindThreshold threshold;
    int64_t from = 0;  // the samples searched have times in [from, to]
    int64_t to = 0;
    int32_t count = 1;  // hits wanted, at least 1
    bool last = false;  // the last count hits of the range instead of the first
};

class SignalSummary {
public:
    static const int32_t kBlockSamples = 512;
    static const int32_t kMaxBlocks = 1 << 18;

    // maxBlocks: even, at least 2; a small limit only makes blocks grow sooner.
    explicit SignalSummary(int32_t maxBlocks = kMaxBlocks);
    ~SignalSummary();
    SignalSummary(const SignalSummary&) = delete;
    SignalSummary& operator=(const SignalSummary&) = delete;

    // Opens the data file read-only with its own handles and takes the
    // number of samples it holds now. E_FAIL when it cannot be opened.
    // A file without numeric values opens (hasNumericValues() is false)
    // and summarises nothing.
    HRESULT open(const char* path);
    void close();
    bool isOpen() const;
    // int, discrete, float (4 bytes), long, double, code 8 (8 bytes), ulong
    // (4 or 8 bytes). Not ascii, blob, other codes, or a Data Size that has
    // no numeric decoding.
    bool hasNumericValues() const;
    int32_t dataFormat() const;

    // Worker thread. Summarises up to about sampleBudget more samples.
    // S_OK: everything recorded so far is summarised; S_FALSE: more remains;
    // E_ABORT: progress().cancel was set (the part already summarised stays
    // usable; clear the flag to go on); E_FAIL: the file could not be read.
    HRESULT buildStep(int64_t sampleBudget);
    // buildStep until S_OK, E_ABORT or E_FAIL.
    HRESULT build();
    // Takes the sizes of a growing file again; the next build steps
    // summarise what was appended. When what was summarised no longer holds
    // (the file shrank, its segments changed) the summary starts again.
    // S_OK, or E_FAIL when the file can no longer be read.
    HRESULT refresh();

    // done: samples summarised; total: samples recorded at the last open or
    // refresh. The cancel flag stops a build.
    TaskProgress& progress() { return progress_; }
    void requestCancel() { progress_.cancel = true; }

    // Times of the first and the last summarised sample; false when none.
    bool firstTime(int64_t* time) const;
    bool lastTime(int64_t* time) const;

    // Column k of columns covers the times [from + floor(k*span/columns),
    // from + floor((k+1)*span/columns)) with span = to - from + 1, computed
    // exactly. E_FAIL when columns < 1 or to < from; otherwise out holds
    // columns entries (empty ones count 0), answered from what is summarised.
    HRESULT envelope(int64_t from, int64_t to, int32_t columns,
                     std::vector<EnvelopeColumn>* out) const;
    // Columns firstColumn .. firstColumn + count - 1 of the same envelope,
    // for callers that take a wide envelope a part at a time. E_FAIL also
    // when the part does not lie within the columns.
    HRESULT envelopeColumns(int64_t from, int64_t to, int32_t columns, int32_t firstColumn,
                            int32_t count, std::vector<EnvelopeColumn>* out) const;
    // Statistics of the summarised samples with times in [from, to].
    // E_FAIL when to < from or a read fails.
    HRESULT stats(int64_t from, int64_t to, RangeStats* out) const;
    // The last summarised sample whose time is at or before time (NaN
    // values included). S_FALSE when there is none.
    HRESULT sampleAtOrBefore(int64_t time, int64_t* sampleTime, SampleValue* value) const;
    // The first (or last) request.count summarised samples in [from, to]
    // that meet the condition, in time order. Blocks whose extremes cannot
    // hold a hit are skipped whole, so a search costs a walk down the levels
    // and a read of the blocks that may hold hits. S_OK when something was
    // found, S_FALSE when nothing was, E_FAIL when to < from, count < 1 or a
    // read fails.
    HRESULT find(const FindRequest& request, std::vector<FoundSample>* hits) const;
    // The segments of a multi-periodic file; empty for any other file.
    std::vector<SegmentSpan> segmentTimes() const;

    // Appends the value as the export writes a value of this Data Format
    // ("%d", "%f", 64-bit decimals, ulong unsigned).
    void formatValue(const SampleValue& value, Text& out) const;

    // Changes the most blocks the summary may hold (even, at least 2), so
    // that several summaries can share one memory budget. Blocks already
    // summarised merge with their neighbours until they fit: at once, or,
    // while a build step runs, when it next publishes; they answer alike.
    // Any thread; a higher limit only lets blocks to come stay finer.
    void limitBlocks(int32_t maxBlocks);

    // Bytes the summary holds in memory (blocks, levels and buffers).
    size_t memoryBytes() const;
    // Samples per block now.
    int64_t blockSamples() const;

private:
    struct State;
    std::unique_ptr<State> state_;
    TaskProgress progress_;
};

}  // namespace quor
