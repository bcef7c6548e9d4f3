// The readers: answer envelopes, statistics and the cursor sample from the
// published blocks, reading only the partial blocks at the ends of a range.
#include "SummaryState.h"

#include <algorithm>
#include <cmath>

namespace quor {

void SignalSummary::State::forgetPages()
{
    for (auto& c : cached)
        c.page = -1;
    timesPage = -1;
    forgetSplits();
    scannedColumns.clear();
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
// levels and read only what they need of the block split by each edge,
// shared by the two columns that meet there.
HRESULT SignalSummary::State::summariseColumns(const std::vector<int64_t>& ends, std::vector<SummaryNode>* nodes)
{
    const int64_t columns = static_cast<int64_t>(ends.size()) - 1;
    nodes->assign(static_cast<size_t>(columns), SummaryNode());
    if (ends.back() - ends.front() <= columns * blockSize)
        return scanColumns(ends, nodes);
    std::vector<ColumnParts> parts(static_cast<size_t>(columns));
    for (int64_t k = 0; k < columns; ++k)
        planColumn(ends[k], ends[k + 1], &parts[k]);
    // The edge between columns k - 1 and k: the one needs the part before it, the other the part after.
    SplitWalk walk = startSplitWalk();
    for (int64_t k = 0; k <= columns; ++k) {
        const bool before = k > 0 && parts[k - 1].tailWanted;
        const bool after = k < columns && parts[k].headWanted;
        const Split* split = nullptr;
        if ((before || after) && FAILED(splitAt(walk, ends[k], before, after, &split)))
            return E_FAIL;
        if (before)
            parts[k - 1].tail = split->before;
        if (after)
            parts[k].head = split->after;
    }
    endSplitWalk();
    for (int64_t k = 0; k < columns; ++k) {
        const ColumnParts& c = parts[k];
        if (c.asRange) {
            if (FAILED(summarise(ends[k], ends[k + 1], Figures::extremes, &(*nodes)[k])))
                return E_FAIL;
            continue;
        }
        (*nodes)[k] = c.between;
        mergeNode(codec.kind(), (*nodes)[k], c.head);
        mergeNode(codec.kind(), (*nodes)[k], c.tail);
    }
    return S_OK;
}

// What of the block split at an edge is read, in as few reads as the
// long-read buffer allows (one, for blocks of any file this side of 10^10
// samples): only the sides wanted, for each read costs more the more pages
// it touches where reads go through an emulation layer, and a picture of
// new edges costs a read per edge.
HRESULT SignalSummary::State::scanSplit(int64_t edge, bool before, bool after, Split* split)
{
    const int32_t size = codec.dataSize();
    const int64_t start = edge / blockSize * blockSize, end = start + blockSize;
    const int64_t readFrom = before ? start : edge, readTo = after ? end : edge;
    sequential.resize(static_cast<size_t>(kSequentialSamples * size));
    for (int64_t first = readFrom; first < readTo;) {
        const int64_t stop = std::min(readTo, first + kSequentialSamples);
        if (FAILED(readStoredValues(queryData, runs, size, first, stop - first, sequential.data())))
            return E_FAIL;
        // Each side's share of what was read.
        for (int side = 0; side < 2; ++side) {
            const int64_t begin = std::max(first, side == 0 ? start : edge);
            const int64_t finish = std::min(stop, side == 0 ? edge : end);
            if (begin >= finish)
                continue;
            SummaryNode part;
            codec.scanExtremes(sequential.data() + (begin - first) * size, finish - begin, begin, &part);
            mergeNode(codec.kind(), side == 0 ? split->before : split->after, part);
        }
        first = stop;
    }
    split->hasBefore = split->hasBefore || before;
    split->hasAfter = split->hasAfter || after;
    return S_OK;
}

// The oldest picture's vector takes this picture's splits; the others are
// walked from their starts.
SignalSummary::State::SplitWalk SignalSummary::State::startSplitWalk()
{
    SplitWalk walk;
    walk.taken = &pictureSplits[(newestPicture + 1) % kKeptPictures];
    walk.taken->clear();
    return walk;
}

void SignalSummary::State::endSplitWalk()
{
    newestPicture = (newestPicture + 1) % kKeptPictures;
}

// What the pictures kept know of the split at the edge, the sides of all
// of them together. Edges asked for never decrease along a walk.
SignalSummary::State::Split SignalSummary::State::keptSplit(SplitWalk& walk, int64_t edge)
{
    Split found;
    for (int p = 0; p < kKeptPictures; ++p) {
        const std::vector<EdgeSplit>& picture = pictureSplits[p];
        if (&picture == walk.taken)
            continue;
        size_t& at = walk.at[p];
        while (at < picture.size() && picture[at].edge < edge)
            ++at;
        if (at == picture.size() || picture[at].edge != edge)
            continue;
        const Split& kept = picture[at].split;
        if (kept.hasBefore && !found.hasBefore) {
            found.before = kept.before;
            found.hasBefore = true;
        }
        if (kept.hasAfter && !found.hasAfter) {
            found.after = kept.after;
            found.hasAfter = true;
        }
    }
    return found;
}

// The split at the edge with at least the sides wanted: the one this
// picture took already (an empty column repeats its edge), what the
// pictures kept know of it, and what is still missing read now.
HRESULT SignalSummary::State::splitAt(SplitWalk& walk, int64_t edge, bool before, bool after, const Split** split)
{
    std::vector<EdgeSplit>& taken = *walk.taken;
    if (taken.empty() || taken.back().edge != edge)
        taken.push_back(EdgeSplit{edge, keptSplit(walk, edge)});
    Split& s = taken.back().split;
    const bool readBefore = before && !s.hasBefore, readAfter = after && !s.hasAfter;
    if ((readBefore || readAfter) && FAILED(scanSplit(edge, readBefore, readAfter, &s))) {
        taken.pop_back();
        return E_FAIL;
    }
    *split = &s;
    return S_OK;
}

// A column that crosses from one whole block into another: its partial
// blocks at either end are sides of splits, the blocks between come from
// the levels. A column inside one block, or running past the whole
// blocks, is summarised as any range is. The sides are read afterwards,
// edge by edge, only where the blocks' own figures do not tell.
void SignalSummary::State::planColumn(int64_t first, int64_t end, ColumnParts* c) const
{
    const int64_t wholeBlocks = static_cast<int64_t>(levels[0].size());
    const int64_t headBlock = first / blockSize;
    const int64_t tailBlock = end / blockSize;  // the block the column's end edge splits, if any
    const bool endSplits = end % blockSize != 0;
    if (headBlock >= tailBlock || tailBlock > wholeBlocks || (endSplits && tailBlock == wholeBlocks)) {
        c->asRange = true;
        return;
    }
    const bool headSplits = first % blockSize != 0;
    mergeBlocks(headSplits ? headBlock + 1 : headBlock, tailBlock, &c->between);
    c->headWanted = headSplits && !partUnread(c->between, headBlock, first, (headBlock + 1) * blockSize, &c->head);
    c->tailWanted = endSplits && !partUnread(c->between, tailBlock, tailBlock * blockSize, end, &c->tail);
}

// The part [from, end) of a whole block that a column takes, as its
// envelope needs it, from the block's own figures where they tell: then the
// block under the edge is not read (in a wide picture, most edges). The
// block must hold no NaN, so that the part's count is its length; and each
// extreme must lie in the part (the block's first extreme is the part's),
// or be unable to change the extreme of the column's whole blocks. False
// when the block must be read.
bool SignalSummary::State::partUnread(const SummaryNode& between, int64_t block, int64_t from, int64_t end,
                                      SummaryNode* part) const
{
    const SummaryNode& node = levels[0][static_cast<size_t>(block)];
    if (node.count != blockSize)
        return false;
    SummaryNode merged = between;
    mergeNode(codec.kind(), merged, node);
    const bool minimumInPart = node.minimumAt >= from && node.minimumAt < end;
    const bool maximumInPart = node.maximumAt >= from && node.maximumAt < end;
    const bool minimumHeld = between.count > 0 && merged.minimum == between.minimum &&
                             merged.minimumAt == between.minimumAt;
    const bool maximumHeld = between.count > 0 && merged.maximum == between.maximum &&
                             merged.maximumAt == between.maximumAt;
    if (!(minimumInPart || minimumHeld) || !(maximumInPart || maximumHeld))
        return false;
    // An extreme the whole blocks hold is given as theirs: merging it changes nothing.
    *part = SummaryNode();
    part->count = end - from;
    part->minimum = minimumInPart ? node.minimum : between.minimum;
    part->minimumAt = minimumInPart ? node.minimumAt : between.minimumAt;
    part->maximum = maximumInPart ? node.maximum : between.maximum;
    part->maximumAt = maximumInPart ? node.maximumAt : between.maximumAt;
    return true;
}

// Columns of a block or less, read whole. A pan that keeps the zoom brings
// most columns of the envelope before it again, with the same ends: those
// are taken from it, and only the runs of columns new to the picture read.
HRESULT SignalSummary::State::scanColumns(const std::vector<int64_t>& ends, std::vector<SummaryNode>* nodes)
{
    const size_t columns = nodes->size();
    nextScanned.clear();
    size_t at = 0, run = 0;  // a run of columns still to read starts at `run`
    for (size_t k = 0; k <= columns; ++k) {
        const bool known = k < columns && (ends[k] == ends[k + 1] || keptColumn(ends[k], ends[k + 1], &at, &(*nodes)[k]));
        if (k < columns && !known)
            continue;
        if (run < k && FAILED(scanRun(ends, run, k, nodes)))
            return E_FAIL;
        run = k + 1;
    }
    // Empty columns are not kept: zoomed in to a sample a column or less, an
    // empty one shares its first ordinal with the column after it.
    for (size_t k = 0; k < columns; ++k)
        if (ends[k] < ends[k + 1])
            nextScanned.push_back(ScannedColumn{ends[k], ends[k + 1], (*nodes)[k]});
    scannedColumns.swap(nextScanned);
    return S_OK;
}

// The column [first, end) of the last envelope read whole, found by a walk
// from *at: the columns come in order.
bool SignalSummary::State::keptColumn(int64_t first, int64_t end, size_t* at, SummaryNode* node) const
{
    while (*at < scannedColumns.size() && scannedColumns[*at].first < first)
        ++*at;
    if (*at == scannedColumns.size() || scannedColumns[*at].first != first || scannedColumns[*at].end != end)
        return false;
    *node = scannedColumns[*at].node;
    return true;
}

// Columns firstColumn .. endColumn - 1 from their samples, in long reads.
HRESULT SignalSummary::State::scanRun(const std::vector<int64_t>& ends, size_t firstColumn, size_t endColumn,
                                      std::vector<SummaryNode>* nodes)
{
    const int32_t size = codec.dataSize();
    const int64_t last = ends[endColumn];
    size_t k = firstColumn;
    for (int64_t first = ends[firstColumn]; first < last;) {
        const int64_t end = std::min(last, first + kSequentialSamples);
        sequential.resize(static_cast<size_t>(kSequentialSamples * size));
        if (FAILED(readStoredValues(queryData, runs, size, first, end - first, sequential.data())))
            return E_FAIL;
        // Each column's share of what was read; a column may go on into the next read.
        for (; k < endColumn; ++k) {
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

}  // namespace quor
