// The summary's inner state, shared by the units that make it up: the
// pyramid of block figures (SummaryLevels.cpp), the worker that builds it
// (SummaryBuild.cpp) and the readers that answer queries from it
// (SummaryQueries.cpp). Only those units and SignalSummary.cpp include it.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "DataFile.h"
#include "FileHandle.h"
#include "SampleRuns.h"
#include "SignalSummary.h"
#include "SummaryScan.h"

namespace quor {

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

// What the header says about reading values; a refresh that finds other
// settings starts the summary again.
struct SummaryLayout {
    int32_t dataFormat = -1;
    int32_t dataSize = 0;
    bool swap = false;
    int32_t dataType = -1;
    bool operator==(const SummaryLayout& o) const
    {
        return dataFormat == o.dataFormat && dataSize == o.dataSize && swap == o.swap && dataType == o.dataType;
    }
};

SummaryLayout layoutOf(const DataFile& file);

// What a query needs of a run of samples: everything, or (for envelopes)
// only counts and extremes, which scan several times faster.
enum class Figures { all, extremes };

struct CachedValues {
    int64_t page = -1;
    int64_t count = 0;
    std::vector<uint8_t> stored;
};

// A search's condition applied to values and to nodes of the pyramid.
class FindTest {
public:
    FindTest(const FindRequest& request, const ValueCodec& codec);
    bool crossing() const { return crossing_; }
    // The value meets the condition (for a crossing: its "this" side).
    bool meets(const SampleValue& value) const;
    // Of the non-NaN values of a node with a count: some meet it, all do.
    bool someMeet(const SummaryNode& node) const;
    bool allMeet(const SummaryNode& node) const;

private:
    bool lowSide() const { return condition_ == FindCondition::below || condition_ == FindCondition::falling; }
    FindCondition condition_;
    FindThreshold threshold_;
    const ValueCodec& codec_;
    bool crossing_;
};

// What is known of the recorded non-NaN sample before a search position.
enum class Before { none, meets, failsToMeet };

// Reads count stored values from ordinal first on, across runs.
HRESULT readStoredValues(FileHandle& data, const SampleRuns& runs, int32_t valueSize, int64_t first,
                         int64_t count, uint8_t* out);
// Index times are little-endian on disk, as every host this builds for.
HRESULT readStoredTimes(FileHandle& index, int64_t first, int64_t count, int64_t* out);
// index x period, held at the int64 limits.
int64_t saturatedTime(int64_t index, uint64_t period);

struct SignalSummary::State {
    explicit State(int32_t maxBlocks) : maxBlocks(std::max<int64_t>(2, maxBlocks & ~1)) {}

    // Written under lock; the worker reads it between its publications.
    std::atomic<int64_t> maxBlocks;
    // A build step or refresh runs (under lock): a lowered limit is then
    // left to the worker, which alone may touch the block being filled.
    bool building = false;
    class Building {
    public:
        explicit Building(State& s);
        ~Building();  // applies a limit lowered meanwhile
        Building(const Building&) = delete;
        Building& operator=(const Building&) = delete;

    private:
        State& s_;
    };
    std::string path;
    SummaryLayout layout;
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
    // before, and each edge costs a read. The splits of the last few
    // pictures are kept, each picture's in edge order: a picture's edges
    // come in order, so finding them is a walk along each, with no hashing
    // and no allocation once the pictures' vectors have grown.
    struct Split {
        SummaryNode before;  // from the block's start up to the edge
        SummaryNode after;   // from the edge to the block's end
        bool hasBefore = false;  // the side was read
        bool hasAfter = false;
    };
    // A column of an envelope whose edges split blocks: its whole blocks,
    // and its partial ones at either end, known from the blocks' figures
    // or wanted from the split at the edge.
    struct ColumnParts {
        bool asRange = false;  // summarised as any range is instead
        SummaryNode between;
        SummaryNode head, tail;
        bool headWanted = false, tailWanted = false;
    };
    struct EdgeSplit {
        int64_t edge;
        Split split;
    };
    static const int kKeptPictures = 4;
    std::vector<EdgeSplit> pictureSplits[kKeptPictures];  // a ring; the newest at newestPicture
    int newestPicture = 0;
    // One envelope's way along the pictures kept: the splits it takes go
    // into the oldest picture's vector, the others are searched.
    struct SplitWalk {
        std::vector<EdgeSplit>* taken = nullptr;
        size_t at[kKeptPictures] = {};
    };
    SplitWalk startSplitWalk();
    void endSplitWalk();
    Split keptSplit(SplitWalk& walk, int64_t edge);
    void forgetSplits()
    {
        for (auto& picture : pictureSplits)
            picture.clear();
    }
    // The columns of the last envelope whose columns were read whole.
    struct ScannedColumn {
        int64_t first, end;
        SummaryNode node;
    };
    std::vector<ScannedColumn> scannedColumns, nextScanned;

    bool asynchronous() const { return !runs.periodic(); }

    void forgetSummary();
    void forgetPages();
    void restartPending();
    void publish(int64_t end, int64_t first, int64_t last);
    void appendBlock(const SummaryNode& node, int64_t firstTime);
    void doubleBlocks();
    void takeBackLastBlock();
    void applyLimit();
    void buildParents(int from);
    HRESULT summariseChunk(int64_t start, int64_t end);

    HRESULT pageValues(int64_t page, const uint8_t** stored);
    HRESULT scanSplit(int64_t edge, bool before, bool after, Split* split);
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
    bool keptColumn(int64_t first, int64_t end, size_t* at, SummaryNode* node) const;
    HRESULT scanRun(const std::vector<int64_t>& ends, size_t firstColumn, size_t endColumn,
                    std::vector<SummaryNode>* nodes);
    HRESULT splitAt(SplitWalk& walk, int64_t edge, bool before, bool after, const Split** split);
    void planColumn(int64_t first, int64_t end, ColumnParts* parts) const;
    bool partUnread(const SummaryNode& between, int64_t block, int64_t from, int64_t end, SummaryNode* part) const;

    // Searches (SummaryFind.cpp), over ordinals.
    // Up to limit hits in [first, end) from the first on; keepLast: every
    // hit is looked for and only the last limit are kept.
    HRESULT findForward(const FindTest& test, int64_t first, int64_t end, size_t limit, bool keepLast,
                        Before* before, std::vector<int64_t>* hits);
    HRESULT scanForHits(const FindTest& test, int64_t first, int64_t end, size_t limit, bool keepLast,
                        Before* before, std::vector<int64_t>* hits);
    HRESULT findBackward(const FindTest& test, int64_t first, int64_t end, size_t limit,
                         std::vector<int64_t>* hits);
    HRESULT beforeOrdinal(const FindTest& test, int64_t ordinal, Before* before);
    int64_t wholeBlocks() const { return static_cast<int64_t>(levels[0].size()); }
};

}  // namespace quor
