// The search: walks the pyramid from a position, skips every node whose
// extremes cannot hold a hit and reads only the blocks that may. Crossings
// carry what is known of the sample before the position: a skipped node
// tells it as well as a read one (none of its values meets the condition,
// or all do), so skipping never loses a crossing at a node's edge.
#include "SummaryState.h"

#include <algorithm>

namespace quor {

FindTest::FindTest(const FindRequest& request, const ValueCodec& codec)
    : condition_(request.condition), threshold_(request.threshold), codec_(codec),
      crossing_(request.condition == FindCondition::rising || request.condition == FindCondition::falling)
{
}

namespace {

// v > X iff v > floor; v >= X iff v >= ceil; v < X iff v < ceil; v <= X iff v <= floor.
template <class V>
bool meetsCondition(FindCondition condition, V v, V floor, V ceil)
{
    switch (condition) {
    case FindCondition::above:
        return v > floor;
    case FindCondition::below:
        return v < ceil;
    case FindCondition::rising:
        return v >= ceil;
    default:
        return v <= floor;
    }
}

}  // namespace

bool FindTest::meets(const SampleValue& value) const
{
    const FindThreshold& x = threshold_;
    switch (codec_.kind()) {
    case ValueKind::real:  // NaN meets nothing
        return meetsCondition(condition_, value.real, x.realFloor, x.realCeil);
    case ValueKind::unsignedInt:
        return meetsCondition(condition_, Wide(static_cast<uint64_t>(value.exact)), x.integerFloor, x.integerCeil);
    default:
        return meetsCondition(condition_, Wide(value.exact), x.integerFloor, x.integerCeil);
    }
}

bool FindTest::someMeet(const SummaryNode& node) const
{
    return meets(codec_.valueOf(lowSide() ? node.minimum : node.maximum));
}

bool FindTest::allMeet(const SummaryNode& node) const
{
    return meets(codec_.valueOf(lowSide() ? node.maximum : node.minimum));
}

namespace {

bool isNaN(const ValueCodec& codec, const SampleValue& value)
{
    return codec.kind() == ValueKind::real && value.real != value.real;
}

// Adds a hit; a backward search keeps only the last limit of a window's
// hits, trimming in halves so that any number of hits costs bounded memory.
void addHit(int64_t ordinal, size_t limit, bool keepLast, std::vector<int64_t>* hits)
{
    hits->push_back(ordinal);
    if (keepLast && hits->size() >= 2 * limit)
        hits->erase(hits->begin(), hits->end() - static_cast<std::ptrdiff_t>(limit));
}

}  // namespace

HRESULT SignalSummary::State::scanForHits(const FindTest& test, int64_t first, int64_t end, size_t limit,
                                          bool keepLast, Before* before, std::vector<int64_t>* hits)
{
    const int32_t size = codec.dataSize();
    while (first < end && (keepLast || hits->size() < limit)) {
        const int64_t page = first / kPage;
        const int64_t stop = std::min(end, (page + 1) * kPage);
        const uint8_t* stored = nullptr;
        if (FAILED(pageValues(page, &stored)))
            return E_FAIL;
        for (int64_t i = first; i < stop; ++i) {
            const SampleValue value = codec.decode(stored + (i - page * kPage) * size);
            if (isNaN(codec, value))
                continue;
            const bool meets = test.meets(value);
            const bool hit = meets && (!test.crossing() || *before == Before::failsToMeet);
            *before = meets ? Before::meets : Before::failsToMeet;
            if (hit) {
                addHit(i, limit, keepLast, hits);
                if (!keepLast && hits->size() >= limit)
                    return S_OK;
            }
        }
        first = stop;
    }
    return S_OK;
}

HRESULT SignalSummary::State::findForward(const FindTest& test, int64_t first, int64_t end, size_t limit,
                                          bool keepLast, Before* before, std::vector<int64_t>* hits)
{
    int64_t at = first;
    while (at < end && (keepLast || hits->size() < limit)) {
        const int64_t block = at / blockSize;
        if (at % blockSize != 0 || block >= wholeBlocks() || (block + 1) * blockSize > end) {
            const int64_t stop = std::min(end, (block + 1) * blockSize);
            if (FAILED(scanForHits(test, at, stop, limit, keepLast, before, hits)))
                return E_FAIL;
            at = stop;
            continue;
        }
        // The highest node that starts here and ends within the range.
        int level = 0;
        while (level + 1 < kLevels) {
            const int64_t span = int64_t(1) << (3 * (level + 1));
            if (block % span != 0 || block / span >= static_cast<int64_t>(levels[level + 1].size()) ||
                (block + span) * blockSize > end)
                break;
            ++level;
        }
        for (;; --level) {
            const SummaryNode& node = levels[level][static_cast<size_t>(block >> (3 * level))];
            const int64_t samples = (int64_t(1) << (3 * level)) * blockSize;
            bool skip = true;
            if (node.count == 0) {
            } else if (!test.someMeet(node)) {
                *before = Before::failsToMeet;
            } else if (test.crossing() && test.allMeet(node) && *before != Before::failsToMeet) {
                *before = Before::meets;  // every sample has a meeting one before it, or none
            } else {
                skip = false;
            }
            if (skip) {
                at += samples;
                break;
            }
            if (level == 0) {
                if (FAILED(scanForHits(test, at, at + blockSize, limit, keepLast, before, hits)))
                    return E_FAIL;
                at += blockSize;
                break;
            }
        }
    }
    return S_OK;
}

// What the last non-NaN sample before ordinal says; whole blocks answer
// from their extremes when all or none of their values meet the condition.
HRESULT SignalSummary::State::beforeOrdinal(const FindTest& test, int64_t ordinal, Before* before)
{
    *before = Before::none;
    const int32_t size = codec.dataSize();
    for (int64_t end = ordinal; end > 0;) {
        const int64_t block = (end - 1) / blockSize;
        const int64_t start = block * blockSize;
        if (end == start + blockSize && block < wholeBlocks()) {
            const SummaryNode& node = levels[0][static_cast<size_t>(block)];
            if (node.count == 0) {
                end = start;
                continue;
            }
            if (!test.someMeet(node) || test.allMeet(node)) {
                *before = test.allMeet(node) ? Before::meets : Before::failsToMeet;
                return S_OK;
            }
        }
        for (; end > start; end = std::max(start, (end - 1) / kPage * kPage)) {
            const int64_t page = (end - 1) / kPage;
            const uint8_t* stored = nullptr;
            if (FAILED(pageValues(page, &stored)))
                return E_FAIL;
            for (int64_t i = end - 1; i >= std::max(start, page * kPage); --i) {
                const SampleValue value = codec.decode(stored + (i - page * kPage) * size);
                if (!isNaN(codec, value)) {
                    *before = test.meets(value) ? Before::meets : Before::failsToMeet;
                    return S_OK;
                }
            }
        }
    }
    return S_OK;
}

// Windows that double in width from the end: each is searched forward from
// what the sample before it says, until the hits after it are enough.
HRESULT SignalSummary::State::findBackward(const FindTest& test, int64_t first, int64_t end, size_t limit,
                                           std::vector<int64_t>* hits)
{
    hits->clear();
    std::vector<int64_t> window;
    for (int64_t width = kPage; end > first && hits->size() < limit; width *= 2) {
        const int64_t start = end - std::min(width, end - first);
        Before before = Before::none;
        window.clear();
        if ((test.crossing() && FAILED(beforeOrdinal(test, start, &before))) ||
            FAILED(findForward(test, start, end, limit, true, &before, &window)))
            return E_FAIL;
        const size_t take = std::min(window.size(), limit - hits->size());
        hits->insert(hits->begin(), window.end() - static_cast<std::ptrdiff_t>(take), window.end());
        end = start;
    }
    return S_OK;
}

HRESULT SignalSummary::find(const FindRequest& request, std::vector<FoundSample>* hits) const
{
    if (!hits || request.count < 1 || request.to < request.from)
        return E_FAIL;
    hits->clear();
    State& s = *state_;
    std::lock_guard<std::mutex> guard(s.lock);
    if (!s.numeric)
        return S_FALSE;
    int64_t begin = 0, end = 0;
    if (FAILED(s.lowerBound(request.from, &begin)) || FAILED(s.lowerBound(Wide(request.to) + 1, &end)))
        return E_FAIL;
    const FindTest test(request, s.codec);
    const size_t limit = static_cast<size_t>(request.count);
    std::vector<int64_t> ordinals;
    if (request.last) {
        if (FAILED(s.findBackward(test, begin, end, limit, &ordinals)))
            return E_FAIL;
    } else {
        Before before = Before::none;
        if ((test.crossing() && FAILED(s.beforeOrdinal(test, begin, &before))) ||
            FAILED(s.findForward(test, begin, end, limit, false, &before, &ordinals)))
            return E_FAIL;
    }
    for (int64_t ordinal : ordinals) {
        FoundSample found;
        const uint8_t* stored = nullptr;
        if (FAILED(s.timeOf(ordinal, &found.time)) || FAILED(s.pageValues(ordinal / kPage, &stored)))
            return E_FAIL;
        found.value = s.codec.decode(stored + (ordinal % kPage) * s.codec.dataSize());
        hits->push_back(found);
    }
    return hits->empty() ? S_FALSE : S_OK;
}

}  // namespace quor
