#include "SignalSummary.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include "DataFile.h"
#include "FileHandle.h"
#include "Text.h"
#include "SampleRuns.h"
#include "SummaryScan.h"
#include "ValueText.h"

namespace quor {

namespace {

// Queries read the file in pages of kPage samples, whatever the block size.
const int64_t kPage = SignalSummary::kBlockSamples;
const size_t kFanOut = 8;
const int kLevels = 16;  // 8^15 blocks lie far beyond any file
// One sequential read of the build: 64 Ki samples, at most 512 KiB of
// values and as many bytes of times.
const int64_t kChunkSamples = 128 * kPage;
// An envelope whose columns hold a block or less on average reads its whole
// range, in pieces of kSequentialSamples.
const int64_t kSequentialSamples = 128 * kPage;
const int64_t kMaxSplits = 4096;  // edges of a few pictures in each generation

HRESULT readExactly(FileHandle& file, int64_t position, void* out, int64_t bytes)
{
    uint32_t got = 0;
    if (FAILED(file.readAt(position, out, static_cast<uint32_t>(bytes), &got)) || got != bytes)
        return E_FAIL;
    return S_OK;
}

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

// What the header says about reading values; a refresh that finds other
// settings starts the summary again.
struct Layout {
    int32_t dataFormat = -1;
    int32_t dataSize = 0;
    bool swap = false;
    int32_t dataType = -1;
    bool operator==(const Layout& o) const
    {
        return dataFormat == o.dataFormat && dataSize == o.dataSize && swap == o.swap && dataType == o.dataType;
    }
};

Layout layoutOf(const DataFile& file)
{
    DataFileHeader header;
    file.getHeader(&header);
    Layout layout;
    layout.dataFormat = header.dataFormat;
    layout.dataSize = file.getDataSize();
    layout.swap = file.swapsValues();
    layout.dataType = header.dataType;
    return layout;
}

// What a query needs of a run of samples: everything, or (for envelopes)
// only counts and extremes, which scan several times faster.
enum class Figures { all, extremes };

struct CachedValues {
    int64_t page = -1;
    int64_t count = 0;
    std::vector<uint8_t> stored;
};

}  // namespace

struct SignalSummary::State {
    explicit State(int32_t maxBlocks) : maxBlocks(std::max<int64_t>(2, maxBlocks & ~1)) {}

    const int64_t maxBlocks;
    std::string path;
    Layout layout;
    ValueCodec codec;
    bool numeric = false;
    std::vector<SegmentSpan> segments;

    // The worker's side: only build steps and refresh touch these.
    FileHandle buildData;
    FileHandle buildIndex;
    SampleRuns buildRuns;
    int64_t builtBlocks = 0;   // whole blocks published
    int64_t builtSamples = 0;  // samples published
    SummaryNode pending;       // the block being filled
    int64_t pendingCount = 0;
    int64_t pendingFirstTime = 0;
    int64_t latest = INT64_MIN;  // asynchronous: the latest time so far
    int64_t latestBeforePending = INT64_MIN;
    std::vector<uint8_t> chunkValues;
    std::vector<int64_t> chunkTimes;
    std::vector<SummaryNode> chunkNodes;
    std::vector<int64_t> chunkFirstTimes;

    // Published blocks and levels, read by queries: under lock.
    mutable std::mutex lock;
    SampleRuns runs;
    int64_t blockSize = kPage;
    int64_t summarised = 0;
    std::vector<SummaryNode> levels[kLevels];
    std::vector<int64_t> blockFirstTimes;  // asynchronous files only
    int64_t tailFirstTime = 0;             // of the partial block after the last whole one
    int64_t firstTime = 0;
    int64_t lastTime = 0;

    // The queries' own handles and page caches: under lock.
    FileHandle queryData;
    FileHandle queryIndex;
    CachedValues cached[2];
    int nextCached = 0;
    int64_t timesPage = -1;
    int64_t timesCount = 0;
    std::vector<int64_t> times;
    std::vector<uint8_t> sequential;  // an envelope's long reads
    // The two sides of whole blocks split by a column edge, by the edge's
    // ordinal. Panning and zooming by two keep most edges of the picture
    // before, and each edge costs a read. Two generations: when the recent
    // one is full it becomes the older one, so the edges in use stay.
    struct Split {
        SummaryNode before;  // from the block's start up to the edge
        SummaryNode after;   // from the edge to the block's end
    };
    using Splits = std::unordered_map<int64_t, Split>;
    Splits splits;
    Splits olderSplits;
    void forgetSplits()
    {
        splits.clear();
        olderSplits.clear();
    }

    bool asynchronous() const { return !runs.periodic(); }

    void forgetSummary();
    void forgetPages();
    void restartPending();
    void publish(int64_t end, int64_t first, int64_t last);
    void appendBlock(const SummaryNode& node, int64_t firstTime);
    void doubleBlocks();
    void buildParents(int from);
    HRESULT summariseChunk(int64_t start, int64_t end);

    HRESULT pageValues(int64_t page, const uint8_t** stored);
    HRESULT pageTimes(int64_t page, const int64_t** times);
    int64_t blockFirstTime(int64_t block) const;
    HRESULT lowerBound(Wide time, int64_t* ordinal);
    HRESULT timeOf(int64_t ordinal, int64_t* time);
    HRESULT scanStored(int64_t first, int64_t end, Figures figures, SummaryNode* into);
    void mergeBlocks(int64_t first, int64_t end, SummaryNode* into) const;
    HRESULT summarise(int64_t first, int64_t end, Figures figures, SummaryNode* into);
    HRESULT columnEnds(int64_t from, int64_t to, int32_t columns, int32_t firstColumn, int32_t count,
                       std::vector<int64_t>* ends);
    HRESULT summariseColumns(const std::vector<int64_t>& ends, std::vector<SummaryNode>* nodes);
    HRESULT scanColumns(const std::vector<int64_t>& ends, std::vector<SummaryNode>* nodes);
    HRESULT splitAt(int64_t edge, const Split** split);
    HRESULT summariseColumn(int64_t first, int64_t end, SummaryNode* into);
};

void SignalSummary::State::forgetPages()
{
    for (auto& c : cached)
        c.page = -1;
    timesPage = -1;
    forgetSplits();
}

// The worker reads the block being filled again from its start.
void SignalSummary::State::restartPending()
{
    pending = SummaryNode();
    pendingCount = 0;
    pendingFirstTime = 0;
    latest = latestBeforePending;
}

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

void SignalSummary::State::buildParents(int from)
{
    for (int l = from; l + 1 < kLevels; ++l) {
        std::vector<SummaryNode>& children = levels[l];
        std::vector<SummaryNode>& parents = levels[l + 1];
        while ((parents.size() + 1) * kFanOut <= children.size()) {
            const size_t at = parents.size() * kFanOut;
            SummaryNode parent = children[at];
            for (size_t k = 1; k < kFanOut; ++k)
                mergeNode(codec.kind(), parent, children[at + k]);
            parents.push_back(parent);
        }
    }
}

// Neighbouring blocks become one: memory stays bounded however long the file.
void SignalSummary::State::doubleBlocks()
{
    std::vector<SummaryNode>& blocks = levels[0];
    const size_t pairs = blocks.size() / 2;
    for (size_t k = 0; k < pairs; ++k) {
        SummaryNode merged = blocks[2 * k];
        mergeNode(codec.kind(), merged, blocks[2 * k + 1]);
        blocks[k] = merged;
        if (!blockFirstTimes.empty())
            blockFirstTimes[k] = blockFirstTimes[2 * k];
    }
    blocks.resize(pairs);
    if (!blockFirstTimes.empty())
        blockFirstTimes.resize(pairs);
    for (int l = 1; l < kLevels; ++l)
        levels[l].clear();
    blockSize *= 2;
    forgetSplits();
    buildParents(0);
}

void SignalSummary::State::appendBlock(const SummaryNode& node, int64_t first)
{
    levels[0].push_back(node);
    if (asynchronous())
        blockFirstTimes.push_back(first);
    buildParents(0);
}

// Makes the worker's finished blocks and its progress visible to queries.
void SignalSummary::State::publish(int64_t end, int64_t first, int64_t last)
{
    std::lock_guard<std::mutex> guard(lock);
    for (size_t k = 0; k < chunkNodes.size(); ++k)
        appendBlock(chunkNodes[k], asynchronous() ? chunkFirstTimes[k] : 0);
    chunkNodes.clear();
    chunkFirstTimes.clear();
    if (static_cast<int64_t>(levels[0].size()) >= maxBlocks)
        doubleBlocks();
    builtBlocks = static_cast<int64_t>(levels[0].size());
    if (summarised == 0)
        firstTime = first;
    summarised = end;
    tailFirstTime = pendingFirstTime;
    lastTime = last;
}

// Summarises the samples [start, end), which continue the block being
// filled. A block that makes the blocks too many is published at once, so
// that the blocks double before the next one is filled.
HRESULT SignalSummary::State::summariseChunk(int64_t start, int64_t end)
{
    const int64_t count = end - start;
    const int32_t size = codec.dataSize();
    chunkValues.resize(static_cast<size_t>(count * size));
    if (FAILED(readStoredValues(buildData, buildRuns, size, start, count, chunkValues.data())))
        return E_FAIL;
    const bool async = !buildRuns.periodic();
    if (async) {
        chunkTimes.resize(static_cast<size_t>(count));
        if (FAILED(readStoredTimes(buildIndex, start, count, chunkTimes.data())))
            return E_FAIL;
    }
    const int64_t first = async ? std::max(latest, chunkTimes[0]) : buildRuns.periodicTime(0);
    for (int64_t at = 0; at < count;) {
        const int64_t take = std::min(count - at, blockSize - pendingCount);
        if (async) {
            // A time earlier than the one before it counts as that one.
            if (pendingCount == 0)
                pendingFirstTime = std::max(latest, chunkTimes[at]);
            for (int64_t i = at; i < at + take; ++i)
                latest = std::max(latest, chunkTimes[i]);
        }
        SummaryNode node;
        codec.scan(chunkValues.data() + at * size, take, start + at, &node);
        mergeNode(codec.kind(), pending, node);
        pendingCount += take;
        at += take;
        if (pendingCount < blockSize)
            continue;
        chunkNodes.push_back(pending);
        chunkFirstTimes.push_back(pendingFirstTime);
        pending = SummaryNode();
        pendingCount = 0;
        latestBeforePending = latest;
        if (builtBlocks + static_cast<int64_t>(chunkNodes.size()) >= maxBlocks)
            publish(start + at, first, async ? latest : buildRuns.periodicTime(start + at - 1));
    }
    publish(end, first, async ? latest : buildRuns.periodicTime(end - 1));
    builtSamples = end;
    return S_OK;
}

HRESULT SignalSummary::State::pageValues(int64_t page, const uint8_t** stored)
{
    const int64_t count = std::min(kPage, summarised - page * kPage);
    for (auto& c : cached) {
        if (c.page == page && c.count == count) {
            *stored = c.stored.data();
            return S_OK;
        }
    }
    CachedValues& c = cached[nextCached];
    nextCached ^= 1;
    c.page = -1;
    c.stored.resize(static_cast<size_t>(count * codec.dataSize()));
    if (FAILED(readStoredValues(queryData, runs, codec.dataSize(), page * kPage, count, c.stored.data())))
        return E_FAIL;
    c.page = page;
    c.count = count;
    *stored = c.stored.data();
    return S_OK;
}

int64_t SignalSummary::State::blockFirstTime(int64_t block) const
{
    return block < static_cast<int64_t>(blockFirstTimes.size()) ? blockFirstTimes[block] : tailFirstTime;
}

// The times of a page, never decreasing: each is the latest of the times
// up to it, carried from the start of its block.
HRESULT SignalSummary::State::pageTimes(int64_t page, const int64_t** out)
{
    const int64_t count = std::min(kPage, summarised - page * kPage);
    if (timesPage != page || timesCount != count) {
        const int64_t block = page * kPage / blockSize;
        int64_t carry = blockFirstTime(block);
        int64_t p = block * blockSize / kPage;
        // Walking forward page by page, the carry is the last time read.
        if (!times.empty() && timesPage >= p && timesPage + 1 == page) {
            carry = std::max(carry, times.back());
            p = page;
        }
        timesPage = -1;
        times.resize(static_cast<size_t>(kPage));
        for (; p < page; ++p) {
            if (FAILED(readStoredTimes(queryIndex, p * kPage, kPage, times.data())))
                return E_FAIL;
            carry = std::max(carry, *std::max_element(times.begin(), times.end()));
        }
        times.resize(static_cast<size_t>(count));
        if (FAILED(readStoredTimes(queryIndex, page * kPage, count, times.data())))
            return E_FAIL;
        for (int64_t i = 0; i < count; ++i)
            carry = times[i] = std::max(carry, times[i]);
        timesPage = page;
        timesCount = count;
    }
    *out = times.data();
    return S_OK;
}

HRESULT SignalSummary::State::lowerBound(Wide time, int64_t* ordinal)
{
    *ordinal = 0;
    if (summarised == 0 || time <= INT64_MIN)
        return S_OK;
    if (time > INT64_MAX) {
        *ordinal = summarised;
        return S_OK;
    }
    if (!asynchronous()) {
        *ordinal = std::min(runs.periodicLowerBound(time), summarised);
        return S_OK;
    }
    // The last block that starts before the time holds the answer, or the
    // answer is the start of the block after it.
    int64_t low = 0, high = (summarised + blockSize - 1) / blockSize;
    while (low < high) {
        const int64_t mid = low + (high - low) / 2;
        if (blockFirstTime(mid) < time)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == 0)
        return S_OK;
    const int64_t block = low - 1;
    const int64_t endPage = std::min(low * blockSize, summarised + kPage - 1) / kPage;
    for (int64_t page = block * blockSize / kPage; page < endPage; ++page) {
        const int64_t* t = nullptr;
        if (FAILED(pageTimes(page, &t)))
            return E_FAIL;
        const int64_t* at = std::lower_bound(t, t + timesCount, static_cast<int64_t>(time));
        *ordinal = page * kPage + (at - t);
        if (at != t + timesCount)
            break;
    }
    return S_OK;
}

HRESULT SignalSummary::State::timeOf(int64_t ordinal, int64_t* time)
{
    if (!asynchronous()) {
        *time = runs.periodicTime(ordinal);
        return S_OK;
    }
    const int64_t* t = nullptr;
    if (FAILED(pageTimes(ordinal / kPage, &t)))
        return E_FAIL;
    *time = t[ordinal % kPage];
    return S_OK;
}

HRESULT SignalSummary::State::scanStored(int64_t first, int64_t end, Figures figures, SummaryNode* into)
{
    while (first < end) {
        const int64_t page = first / kPage;
        const int64_t stop = std::min(end, (page + 1) * kPage);
        const uint8_t* stored = nullptr;
        if (FAILED(pageValues(page, &stored)))
            return E_FAIL;
        SummaryNode node;
        const uint8_t* values = stored + (first - page * kPage) * codec.dataSize();
        if (figures == Figures::all)
            codec.scan(values, stop - first, first, &node);
        else
            codec.scanExtremes(values, stop - first, first, &node);
        mergeNode(codec.kind(), *into, node);
        first = stop;
    }
    return S_OK;
}

// Whole blocks [first, end) from the levels: at each level the nodes that
// stick out of the parents' alignment, then the parents.
void SignalSummary::State::mergeBlocks(int64_t first, int64_t end, SummaryNode* into) const
{
    const int64_t fanOut = static_cast<int64_t>(kFanOut);
    for (int l = 0; first < end; ++l) {
        const std::vector<SummaryNode>& level = levels[l];
        const bool lastLevel = l + 1 == kLevels || (first + fanOut - 1) / fanOut >= end / fanOut;
        if (lastLevel) {
            for (int64_t k = first; k < end; ++k)
                mergeNode(codec.kind(), *into, level[k]);
            return;
        }
        for (; first % fanOut != 0; ++first)
            mergeNode(codec.kind(), *into, level[first]);
        for (; end % fanOut != 0; --end)
            mergeNode(codec.kind(), *into, level[end - 1]);
        first /= fanOut;
        end /= fanOut;
    }
}

HRESULT SignalSummary::State::summarise(int64_t first, int64_t end, Figures figures, SummaryNode* into)
{
    *into = SummaryNode();
    if (first >= end)
        return S_OK;
    const int64_t wholeBlocks = static_cast<int64_t>(levels[0].size());
    const int64_t firstBlock = (first + blockSize - 1) / blockSize;
    const int64_t endBlock = std::min(end / blockSize, wholeBlocks);
    if (firstBlock >= endBlock)
        return scanStored(first, end, figures, into);
    if (FAILED(scanStored(first, firstBlock * blockSize, figures, into)))
        return E_FAIL;
    mergeBlocks(firstBlock, endBlock, into);
    return scanStored(endBlock * blockSize, end, figures, into);
}

// The first ordinal of each of the columns firstColumn .. firstColumn +
// count, the last one ending the part. Column k starts at
// from + floor(k * span / columns), exactly.
HRESULT SignalSummary::State::columnEnds(int64_t from, int64_t to, int32_t columns, int32_t firstColumn,
                                         int32_t count, std::vector<int64_t>* ends)
{
    const Wide span = Wide(to) - from + 1;
    ends->resize(static_cast<size_t>(count) + 1);
    for (int32_t k = 0; k <= count; ++k) {
        if (FAILED(lowerBound(from + (Wide(firstColumn) + k) * span / columns, &(*ends)[k])))
            return E_FAIL;
    }
    return S_OK;
}

// Counts and extremes of the columns between the ends. Columns of a block
// or less are cheaper read whole, in long sequential reads, than a block
// read at each column edge; wider ones take their whole blocks from the
// levels and read only the block split by each edge, shared by the two
// columns that meet there.
HRESULT SignalSummary::State::summariseColumns(const std::vector<int64_t>& ends, std::vector<SummaryNode>* nodes)
{
    const int64_t columns = static_cast<int64_t>(ends.size()) - 1;
    nodes->assign(static_cast<size_t>(columns), SummaryNode());
    if (ends.back() - ends.front() <= columns * blockSize)
        return scanColumns(ends, nodes);
    if (static_cast<int64_t>(splits.size()) > kMaxSplits) {
        olderSplits.swap(splits);
        splits.clear();
    }
    for (int64_t k = 0; k < columns; ++k) {
        if (FAILED(summariseColumn(ends[k], ends[k + 1], &(*nodes)[k])))
            return E_FAIL;
    }
    return S_OK;
}

HRESULT SignalSummary::State::splitAt(int64_t edge, const Split** split)
{
    auto found = splits.find(edge);
    if (found == splits.end()) {
        const auto older = olderSplits.find(edge);
        Split fresh;
        if (older != olderSplits.end()) {
            fresh = older->second;
        } else {
            const int64_t start = edge / blockSize * blockSize;
            if (FAILED(scanStored(start, edge, Figures::extremes, &fresh.before)) ||
                FAILED(scanStored(edge, start + blockSize, Figures::extremes, &fresh.after)))
                return E_FAIL;
        }
        found = splits.emplace(edge, fresh).first;
    }
    *split = &found->second;
    return S_OK;
}

// A column that crosses from one whole block into another: its partial
// blocks at either end are sides of splits, the blocks between come from
// the levels. A column inside one block, or running past the whole
// blocks, is summarised as any range is.
HRESULT SignalSummary::State::summariseColumn(int64_t first, int64_t end, SummaryNode* into)
{
    const int64_t wholeBlocks = static_cast<int64_t>(levels[0].size());
    const int64_t headBlock = first / blockSize;
    const int64_t tailBlock = end / blockSize;  // the block the column's end edge splits, if any
    const bool endSplits = end % blockSize != 0;
    if (headBlock >= tailBlock || tailBlock > wholeBlocks || (endSplits && tailBlock == wholeBlocks))
        return summarise(first, end, Figures::extremes, into);
    *into = SummaryNode();
    const Split* split = nullptr;
    int64_t firstWhole = headBlock;
    if (first % blockSize != 0) {
        if (FAILED(splitAt(first, &split)))
            return E_FAIL;
        mergeNode(codec.kind(), *into, split->after);
        ++firstWhole;
    }
    mergeBlocks(firstWhole, tailBlock, into);
    if (endSplits) {
        if (FAILED(splitAt(end, &split)))
            return E_FAIL;
        mergeNode(codec.kind(), *into, split->before);
    }
    return S_OK;
}

HRESULT SignalSummary::State::scanColumns(const std::vector<int64_t>& ends, std::vector<SummaryNode>* nodes)
{
    const int32_t size = codec.dataSize();
    const int64_t last = ends.back();
    size_t k = 0;
    for (int64_t first = ends.front(); first < last;) {
        const int64_t end = std::min(last, first + kSequentialSamples);
        sequential.resize(static_cast<size_t>(kSequentialSamples * size));
        if (FAILED(readStoredValues(queryData, runs, size, first, end - first, sequential.data())))
            return E_FAIL;
        // Each column's share of what was read; a column may go on into the next read.
        for (; k < nodes->size(); ++k) {
            const int64_t begin = std::max(ends[k], first), stop = std::min(ends[k + 1], end);
            if (begin < stop) {
                SummaryNode part;
                codec.scanExtremes(sequential.data() + (begin - first) * size, stop - begin, begin, &part);
                mergeNode(codec.kind(), (*nodes)[k], part);
            }
            if (ends[k + 1] > end)
                break;
        }
        first = end;
    }
    return S_OK;
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
    const size_t blocks = static_cast<size_t>(std::min(s.runs.count() / kPage + 1, s.maxBlocks));
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
    s.layout = Layout();
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

HRESULT SignalSummary::buildStep(int64_t sampleBudget)
{
    State& s = *state_;
    if (!isOpen())
        return E_FAIL;
    int64_t budget = std::max<int64_t>(sampleBudget, 1);
    for (;;) {
        if (progress_.cancel)
            return E_ABORT;
        const int64_t recorded = s.buildRuns.count();
        if (s.builtSamples >= recorded)
            return S_OK;
        if (budget <= 0)
            return S_FALSE;
        const int64_t start = s.builtSamples;
        const int64_t end = std::min(recorded, start + kChunkSamples);
        if (FAILED(s.summariseChunk(start, end)))
            return E_FAIL;
        budget -= end - start;
        progress_.done = end;
    }
}

HRESULT SignalSummary::build()
{
    for (;;) {
        const HRESULT hr = buildStep(kChunkSamples * 16);
        if (hr != S_FALSE)
            return hr;
    }
}

HRESULT SignalSummary::refresh()
{
    State& s = *state_;
    DataFile file;
    if (!isOpen() || FAILED(file.open(s.path.c_str(), FileHandle::modeRead)))
        return E_FAIL;
    const Layout layout = layoutOf(file);
    int64_t dataSize = 0, indexSize = 0;
    s.buildData.getSize(&dataSize);
    if (s.buildIndex.isOpen())
        s.buildIndex.getSize(&indexSize);
    SampleRuns fresh;
    if (s.numeric && layout == s.layout)
        fresh.describe(file, dataSize, indexSize);
    const bool keeps = layout == s.layout && s.buildRuns.sameOver(fresh, s.builtSamples) &&
                       fresh.count() >= s.builtSamples;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        if (!keeps)
            s.forgetSummary();
        s.runs = fresh;
        s.forgetPages();
    }
    s.buildRuns = fresh;
    progress_.total = fresh.count();
    progress_.done = s.builtSamples;
    return S_OK;
}

bool SignalSummary::firstTime(int64_t* time) const
{
    std::lock_guard<std::mutex> guard(state_->lock);
    *time = state_->firstTime;
    return state_->summarised > 0;
}

bool SignalSummary::lastTime(int64_t* time) const
{
    std::lock_guard<std::mutex> guard(state_->lock);
    *time = state_->lastTime;
    return state_->summarised > 0;
}

HRESULT SignalSummary::envelope(int64_t from, int64_t to, int32_t columns,
                                std::vector<EnvelopeColumn>* out) const
{
    return envelopeColumns(from, to, columns, 0, columns, out);
}

HRESULT SignalSummary::envelopeColumns(int64_t from, int64_t to, int32_t columns, int32_t firstColumn,
                                       int32_t count, std::vector<EnvelopeColumn>* out) const
{
    if (columns < 1 || to < from || !out || firstColumn < 0 || count < 0 || count > columns - firstColumn)
        return E_FAIL;
    State& s = *state_;
    std::lock_guard<std::mutex> guard(s.lock);
    out->assign(static_cast<size_t>(count), EnvelopeColumn());
    std::vector<int64_t> ends;
    std::vector<SummaryNode> nodes;
    if (FAILED(s.columnEnds(from, to, columns, firstColumn, count, &ends)) ||
        FAILED(s.summariseColumns(ends, &nodes)))
        return E_FAIL;
    for (int32_t k = 0; k < count; ++k) {
        EnvelopeColumn& column = (*out)[k];
        column.count = nodes[k].count;
        if (column.count > 0) {
            column.minimum = s.codec.valueOf(nodes[k].minimum);
            column.maximum = s.codec.valueOf(nodes[k].maximum);
        }
    }
    return S_OK;
}

HRESULT SignalSummary::stats(int64_t from, int64_t to, RangeStats* out) const
{
    if (to < from || !out)
        return E_FAIL;
    State& s = *state_;
    std::lock_guard<std::mutex> guard(s.lock);
    *out = RangeStats();
    int64_t begin = 0, end = 0;
    SummaryNode node;
    if (FAILED(s.lowerBound(from, &begin)) || FAILED(s.lowerBound(Wide(to) + 1, &end)) ||
        FAILED(s.summarise(begin, end, Figures::all, &node)))
        return E_FAIL;
    out->count = node.count;
    if (node.count == 0)
        return S_OK;
    out->minimum = s.codec.valueOf(node.minimum);
    out->maximum = s.codec.valueOf(node.maximum);
    if (FAILED(s.timeOf(node.minimumAt, &out->minimumTime)) || FAILED(s.timeOf(node.maximumAt, &out->maximumTime)))
        return E_FAIL;
    out->mean = node.sum / static_cast<double>(node.count);
    out->rms = std::sqrt(node.sumOfSquares / static_cast<double>(node.count));
    return S_OK;
}

HRESULT SignalSummary::sampleAtOrBefore(int64_t time, int64_t* sampleTime, SampleValue* value) const
{
    State& s = *state_;
    std::lock_guard<std::mutex> guard(s.lock);
    int64_t after = 0;
    if (FAILED(s.lowerBound(Wide(time) + 1, &after)))
        return E_FAIL;
    if (after == 0)
        return S_FALSE;
    const int64_t ordinal = after - 1;
    const uint8_t* stored = nullptr;
    if (FAILED(s.timeOf(ordinal, sampleTime)) || FAILED(s.pageValues(ordinal / kPage, &stored)))
        return E_FAIL;
    *value = s.codec.decode(stored + (ordinal % kPage) * s.codec.dataSize());
    return S_OK;
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
    bytes += (s.splits.size() + s.olderSplits.size()) * (sizeof(int64_t) + sizeof(State::Split) + 2 * sizeof(void*));
    return bytes;
}

int64_t SignalSummary::blockSamples() const
{
    std::lock_guard<std::mutex> guard(state_->lock);
    return state_->blockSize;
}

}  // namespace quor
