// The summary's face: opening and closing, the file reads its units share,
// and the value text.
#include "SummaryState.h"

#include <algorithm>
#include <cstring>

#include "Text.h"
#include "ValueText.h"

namespace quor {

namespace {

HRESULT readExactly(FileHandle& file, int64_t position, void* out, int64_t bytes)
{
    uint32_t got = 0;
    if (FAILED(file.readAt(position, out, static_cast<uint32_t>(bytes), &got)) || got != bytes)
        return E_FAIL;
    return S_OK;
}

}  // namespace

HRESULT readStoredValues(FileHandle& data, const SampleRuns& runs, int32_t valueSize, int64_t first,
                         int64_t count, uint8_t* out)
{
    while (count > 0) {
        const SampleRun& run = runs.runOf(first);
        const int64_t take = std::min(count, run.firstOrdinal + run.count - first);
        const int64_t position = run.position + (first - run.firstOrdinal) * valueSize;
        if (FAILED(readExactly(data, position, out, take * valueSize)))
            return E_FAIL;
        out += take * valueSize;
        first += take;
        count -= take;
    }
    return S_OK;
}

// Index times are little-endian on disk, as every host this builds for.
HRESULT readStoredTimes(FileHandle& index, int64_t first, int64_t count, int64_t* out)
{
    return readExactly(index, kIndexHeaderSize + first * kIndexStampSize, out, count * kIndexStampSize);
}

int64_t saturatedTime(int64_t index, uint64_t period)
{
    const Wide time = Wide(index) * Wide(period);
    return time > INT64_MAX ? INT64_MAX : time < INT64_MIN ? INT64_MIN : static_cast<int64_t>(time);
}

SummaryLayout layoutOf(const DataFile& file)
{
    DataFileHeader header;
    file.getHeader(&header);
    SummaryLayout layout;
    layout.dataFormat = header.dataFormat;
    layout.dataSize = file.getDataSize();
    layout.swap = file.swapsValues();
    layout.dataType = header.dataType;
    return layout;
}

SignalSummary::SignalSummary(int32_t maxBlocks) : state_(new State(maxBlocks)) {}

SignalSummary::~SignalSummary() = default;

HRESULT SignalSummary::open(const char* path)
{
    close();
    DataFile file;
    if (!path || FAILED(file.open(path, FileHandle::modeRead)))
        return E_FAIL;
    State& s = *state_;
    s.path = path;
    s.layout = layoutOf(file);
    s.numeric = s.codec.configure(s.layout.dataFormat, s.layout.dataSize, s.layout.swap);
    const bool async = s.layout.dataType == typeAsynchronous;
    Text indexPath;
    makeIndexPath(path, indexPath);
    if (FAILED(s.buildData.open(path, FileHandle::modeRead)) ||
        FAILED(s.queryData.open(path, FileHandle::modeRead)) ||
        (async && (FAILED(s.buildIndex.open(indexPath.c_str(), FileHandle::modeRead)) ||
                   FAILED(s.queryIndex.open(indexPath.c_str(), FileHandle::modeRead))))) {
        close();
        return E_FAIL;
    }
    if (file.readsMultiPeriodic()) {
        int32_t count = 0;
        const Segment* table = file.getSegments(&count);
        for (int32_t k = 0; k < count; ++k)
            s.segments.push_back(SegmentSpan{saturatedTime(table[k].startIndex, file.getSamplePeriod()),
                                             saturatedTime(table[k].endIndex, file.getSamplePeriod())});
    }
    int64_t dataSize = 0, indexSize = 0;
    s.buildData.getSize(&dataSize);
    if (async)
        s.buildIndex.getSize(&indexSize);
    s.buildRuns.describe(file, dataSize, indexSize);
    if (!s.numeric)
        s.buildRuns = SampleRuns();
    s.runs = s.buildRuns;
    const size_t blocks = static_cast<size_t>(std::min<int64_t>(s.runs.count() / kPage + 1, s.maxBlocks));
    s.levels[0].reserve(blocks);
    if (async)
        s.blockFirstTimes.reserve(blocks);
    progress_.done = 0;
    progress_.total = s.runs.count();
    progress_.cancel = false;
    return S_OK;
}

void SignalSummary::close()
{
    State& s = *state_;
    s.buildData.close();
    s.buildIndex.close();
    s.queryData.close();
    s.queryIndex.close();
    s.forgetSummary();
    s.path.clear();
    s.layout = SummaryLayout();
    s.codec = ValueCodec();
    s.numeric = false;
    s.segments.clear();
    s.runs = SampleRuns();
    s.buildRuns = SampleRuns();
    progress_.done = 0;
    progress_.total = 0;
}

bool SignalSummary::isOpen() const { return state_->buildData.isOpen(); }

bool SignalSummary::hasNumericValues() const { return state_->numeric; }

int32_t SignalSummary::dataFormat() const { return state_->layout.dataFormat; }

void SignalSummary::State::forgetSummary()
{
    builtBlocks = 0;
    builtSamples = 0;
    latestBeforePending = INT64_MIN;
    restartPending();
    blockSize = kPage;
    summarised = 0;
    for (auto& level : levels)
        std::vector<SummaryNode>().swap(level);
    std::vector<int64_t>().swap(blockFirstTimes);
    forgetPages();
}

std::vector<SegmentSpan> SignalSummary::segmentTimes() const
{
    return state_->segments;
}

void SignalSummary::formatValue(const SampleValue& value, Text& out) const
{
    const ValueCodec& codec = state_->codec;
    uint8_t stored[8];
    if (codec.dataFormat() == formatFloat) {
        const float f = static_cast<float>(value.real);
        std::memcpy(stored, &f, 4);
    } else if (codec.kind() == ValueKind::real) {
        std::memcpy(stored, &value.real, 8);
    } else if (codec.dataSize() == 4) {
        const uint32_t bits = static_cast<uint32_t>(value.exact);
        std::memcpy(stored, &bits, 4);
    } else {
        std::memcpy(stored, &value.exact, 8);
    }
    appendValueText(out, stored, codec.dataSize(), codec.dataFormat(), ValueStyle::exportCsv);
}

void SignalSummary::limitBlocks(int32_t maxBlocks)
{
    State& s = *state_;
    std::lock_guard<std::mutex> guard(s.lock);
    s.maxBlocks = std::max<int64_t>(2, maxBlocks & ~1);
    if (!s.building)
        s.applyLimit();
}

size_t SignalSummary::memoryBytes() const
{
    const State& s = *state_;
    std::lock_guard<std::mutex> guard(s.lock);
    size_t bytes = sizeof(State) + s.blockFirstTimes.capacity() * sizeof(int64_t) +
                   s.chunkValues.capacity() + s.chunkTimes.capacity() * sizeof(int64_t) +
                   s.chunkNodes.capacity() * sizeof(SummaryNode) + s.chunkFirstTimes.capacity() * sizeof(int64_t) +
                   s.times.capacity() * sizeof(int64_t) + s.runs.runs().capacity() * sizeof(SampleRun) * 2;
    for (const auto& level : s.levels)
        bytes += level.capacity() * sizeof(SummaryNode);
    for (const auto& c : s.cached)
        bytes += c.stored.capacity();
    bytes += s.sequential.capacity();
    for (const auto& picture : s.pictureSplits)
        bytes += picture.capacity() * sizeof(State::EdgeSplit);
    bytes += (s.scannedColumns.capacity() + s.nextScanned.capacity()) * sizeof(State::ScannedColumn);
    return bytes;
}

int64_t SignalSummary::blockSamples() const
{
    std::lock_guard<std::mutex> guard(state_->lock);
    return state_->blockSize;
}

}  // namespace quor
