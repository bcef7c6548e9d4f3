#include "LaneRecording.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "DataFile.h"
#include "FileHandle.h"
#include "Text.h"
#include "TurnQueue.h"

namespace quor {

namespace {

// About a hundredth of a second of summarising between two progress notes,
// so that the first picture comes early and the window follows smoothly.
const int64_t kStepSamples = int64_t(1) << 20;
// How long a reader keeps its turn.
const std::chrono::milliseconds kTurn(20);
// Zooming in stops when this many samples span the window.
const int64_t kFewestSamplesShown = 4;
// Whole numbers up to this size are exact in a double.
const double kExactInDouble = 9007199254740992.0;  // 2^53

bool readStamp(FileHandle& index, int64_t k, int64_t* time)
{
    uint32_t got = 0;
    return SUCCEEDED(index.readAt(kIndexHeaderSize + k * kIndexStampSize, time, sizeof *time, &got)) &&
           got == sizeof *time;
}

// The recordings that share the budget.
std::vector<LaneRecording*>& budgetMembers()
{
    static std::vector<LaneRecording*> members;
    return members;
}

// Joins the budget and lowers the others' share to the new one.
int32_t joinBudget(LaneRecording* recording)
{
    std::vector<LaneRecording*>& members = budgetMembers();
    members.push_back(recording);
    const int32_t share = LaneRecording::blockShare(static_cast<int>(members.size()));
    for (LaneRecording* other : members)
        if (other != recording)
            other->limitBlocks(share);
    return share;
}

}  // namespace

int32_t LaneRecording::blockShare(int recordings)
{
    const int32_t lone = SignalSummary::kMaxBlocks;
    return std::min(lone, kWorkspaceBlocks / std::max(1, recordings)) & ~1;
}

LaneRecording::LaneRecording() : inBudget_(true), maxBlocks_(joinBudget(this)), summary_(maxBlocks_) {}

LaneRecording::LaneRecording(int32_t maxBlocks) : maxBlocks_(maxBlocks), summary_(maxBlocks) {}

LaneRecording::~LaneRecording()
{
    stop();
    if (inBudget_) {
        std::vector<LaneRecording*>& members = budgetMembers();
        members.erase(std::find(members.begin(), members.end(), this));
    }
}

void LaneRecording::limitBlocks(int32_t maxBlocks)
{
    if (maxBlocks >= maxBlocks_)
        return;
    summary_.limitBlocks(maxBlocks);
    maxBlocks_ = maxBlocks;
}

HRESULT LaneRecording::open(const std::string& path, Progress onProgress)
{
    stop();
    path_ = path;
    onProgress_ = std::move(onProgress);
    opened_ = plottable_ = hasSamples_ = readCancelled_ = false;
    tagId_ = 0;
    segmentTimes_.clear();
    extent_ = TimeSpan{};
    progress_ = 0.0;
    fileSize_ = sizeOnDisk();
    if (FAILED(summary_.open(path.c_str())))
        return E_FAIL;
    opened_ = true;
    plottable_ = summary_.hasNumericValues();
    findExtent();
    if (!plottable_)
        return S_FALSE;
    takeSegments();
    startWorker();
    return S_OK;
}

// The first and last time of the whole recording, before the summary has
// read it: from the sample count and period, the segment table, or the first
// and last stamp of the index file.
void LaneRecording::findExtent()
{
    DataFile file;
    DataFileHeader header{};
    hasSamples_ = false;
    if (FAILED(file.open(path_.c_str(), 1)) || FAILED(file.getHeader(&header)))
        return;
    tagId_ = header.tagId;
    asynchronous_ = header.dataType == typeAsynchronous;
    if (header.dataSize <= 0)
        return;
    const int64_t values = std::max<int64_t>(0, (file.getFileSize() - file.getDataStart()) / header.dataSize);
    const int64_t period = static_cast<int64_t>(std::min<uint64_t>(file.getSamplePeriod(), INT64_MAX / 8));
    const std::vector<SegmentSpan> segments = summary_.segmentTimes();
    if (asynchronous_) {
        FileHandle index;
        int64_t size = 0;
        if (FAILED(index.open(file.getIndexPath(), FileHandle::modeRead)) || FAILED(index.getSize(&size)))
            return;
        const int64_t stamps = std::min(values, std::max<int64_t>(0, (size - kIndexHeaderSize) / kIndexStampSize));
        if (stamps < 1 || !readStamp(index, 0, &extent_.from) || !readStamp(index, stamps - 1, &extent_.to))
            return;
        extent_.to = std::max(extent_.to, extent_.from);
        const int64_t spacing = stamps > 1 ? (extent_.to - extent_.from) / (stamps - 1) : 1;
        shortestSpan_ = std::max<int64_t>(kFewestSamplesShown, spacing * kFewestSamplesShown);
    } else if (!segments.empty()) {
        extent_ = TimeSpan{segments.front().startTime, std::max(segments.back().endTime, segments.front().startTime)};
        shortestSpan_ = std::max<int64_t>(1, period) * kFewestSamplesShown;
    } else {
        if (values < 1)
            return;
        extent_.from = file.getStartIndex() * period;
        extent_.to = extent_.from + (values - 1) * period;
        shortestSpan_ = std::max<int64_t>(1, period) * kFewestSamplesShown;
    }
    hasSamples_ = true;
}

void LaneRecording::takeSegments()
{
    segmentTimes_.clear();
    for (const SegmentSpan& segment : summary_.segmentTimes())
        segmentTimes_.push_back(TimeSpan{segment.startTime, segment.endTime});
}

int64_t LaneRecording::sizeOnDisk() const
{
    FileHandle file;
    int64_t size = -1;
    if (FAILED(file.open(path_.c_str(), FileHandle::modeRead)) || FAILED(file.getSize(&size)))
        return -1;
    return size;
}

bool LaneRecording::changedOnDisk() const
{
    return !path_.empty() && sizeOnDisk() != fileSize_;
}

void LaneRecording::refresh()
{
    if (!plottable_)
        return;
    stopWorker();
    readCancelled_ = false;
    fileSize_ = sizeOnDisk();
    if (FAILED(summary_.refresh()))
        return;
    // What was appended is not read yet: the bar and the picture say so.
    takeProgress(summary_.progress().done.load() >= summary_.progress().total.load());
    findExtent();
    takeSegments();
    startWorker();
}

void LaneRecording::stop()
{
    stopWorker();
    summary_.close();
}

void LaneRecording::startWorker()
{
    summary_.progress().cancel = false;
    worker_ = std::thread([this] { summarise(); });
}

void LaneRecording::stopWorker()
{
    summary_.requestCancel();
    TurnQueue::readers().wakeWaiters();
    if (worker_.joinable())
        worker_.join();
}

// The steps run in turns of the readers', so that many lanes reading leave
// the window its share of the machine. A turn lasts a few steps: handing it
// on wakes another thread, which a busy machine may leave waiting for a
// scheduler slice.
void LaneRecording::summarise()
{
    TurnQueue& turns = TurnQueue::readers();
    HRESULT hr = S_FALSE;
    while (hr == S_FALSE) {
        if (!turns.take(summary_.progress().cancel))
            return;
        const auto turnEnds = std::chrono::steady_clock::now() + kTurn;
        do
            hr = summariseStep();
        while (hr == S_FALSE && std::chrono::steady_clock::now() < turnEnds);
        turns.give();
        // A cancelled reading is not a finished one.
        if (hr == E_ABORT)
            return;
    }
    // A last note even when the window has not taken the one before: the
    // picture must end complete.
    if (onProgress_)
        onProgress_();
}

HRESULT LaneRecording::summariseStep()
{
    const HRESULT hr = summary_.buildStep(kStepSamples);
    if (hr == E_ABORT)
        return hr;
    takeProgress(hr != S_FALSE);
    if (!notePending_.exchange(true) && onProgress_)
        onProgress_();
    return hr;
}

void LaneRecording::takeProgress(bool finished)
{
    const TaskProgress& p = summary_.progress();
    const int64_t total = p.total.load();
    progress_ = !finished && total > 0 ? std::min(0.999, double(p.done.load()) / double(total)) : 1.0;
}

void LaneRecording::cancelReading()
{
    if (!reading())
        return;
    stopWorker();
    readCancelled_ = true;
}

bool LaneRecording::integerValues() const
{
    const int32_t format = summary_.dataFormat();
    return format == formatInt || format == formatDiscrete || format == formatLong || format == formatUlong ||
           format == formatLong8;
}

__int128 LaneRecording::wideValue(int64_t exact) const
{
    return summary_.dataFormat() == formatUlong ? __int128(static_cast<uint64_t>(exact)) : __int128(exact);
}

LaneStyle LaneRecording::naturalStyle() const
{
    return asynchronous_ || integerValues() ? LaneStyle::steps : LaneStyle::lines;
}

void LaneRecording::envelope(const TimeSpan& span, int columns, std::vector<LaneColumn>& out, __int128& base)
{
    std::vector<EnvelopeColumn> found;
    out.assign(columns > 0 ? columns : 0, LaneColumn{});
    base = 0;
    if (!plottable_ || columns < 1 || FAILED(summary_.envelope(span.from, span.to, columns, &found)))
        return;
    const size_t n = std::min(found.size(), out.size());
    bool beyondDouble = false, any = false;
    __int128 least = 0;
    for (size_t k = 0; k < n && integerValues(); ++k) {
        if (found[k].count <= 0)
            continue;
        beyondDouble = beyondDouble || std::fabs(found[k].minimum.real) > kExactInDouble ||
                       std::fabs(found[k].maximum.real) > kExactInDouble;
        const __int128 minimum = wideValue(found[k].minimum.exact);
        least = any ? std::min(least, minimum) : minimum;
        any = true;
    }
    if (beyondDouble)
        base = least;
    for (size_t k = 0; k < n; ++k) {
        out[k].count = found[k].count;
        out[k].minimum = base == 0 ? found[k].minimum.real : double(wideValue(found[k].minimum.exact) - base);
        out[k].maximum = base == 0 ? found[k].maximum.real : double(wideValue(found[k].maximum.exact) - base);
    }
}

bool LaneRecording::stats(int64_t from, int64_t to, LaneStats& out)
{
    RangeStats found;
    out = LaneStats{};
    if (!plottable_ || FAILED(summary_.stats(std::min(from, to), std::max(from, to), &found)))
        return false;
    out.count = found.count;
    if (found.count > 0) {
        formatValue(found.minimum, out.minimum);
        formatValue(found.maximum, out.maximum);
        out.mean = found.mean;
        out.rms = found.rms;
    }
    return true;
}

bool LaneRecording::sampleAtOrBefore(int64_t time, LaneSample& out)
{
    SampleValue value;
    out = LaneSample{};
    if (!plottable_ || summary_.sampleAtOrBefore(time, &out.time, &value) != S_OK)
        return false;
    out.value = value.real;
    out.exact = value.exact;
    formatValue(value, out.text);
    return true;
}

HRESULT LaneRecording::find(const FindRequest& request, std::vector<FoundSample>* hits) const
{
    hits->clear();
    return plottable_ ? summary_.find(request, hits) : S_FALSE;
}

void LaneRecording::formatValue(const SampleValue& value, std::string& out) const
{
    Text text;
    summary_.formatValue(value, text);
    out = text.str();
}

}  // namespace quor
