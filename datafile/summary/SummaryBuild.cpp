// The worker: reads the recorded samples in long sequential chunks,
// summarises them into blocks and publishes them to the queries.
#include "SummaryState.h"

#include <algorithm>

namespace quor {

// The worker reads the block being filled again from its start.
void SignalSummary::State::restartPending()
{
    pending = SummaryNode();
    pendingCount = 0;
    pendingFirstTime = 0;
    latest = latestBeforePending;
}

// Makes the worker's finished blocks and its progress visible to queries.
void SignalSummary::State::publish(int64_t end, int64_t first, int64_t last)
{
    std::lock_guard<std::mutex> guard(lock);
    for (size_t k = 0; k < chunkNodes.size(); ++k)
        appendBlock(chunkNodes[k], asynchronous() ? chunkFirstTimes[k] : 0);
    chunkNodes.clear();
    chunkFirstTimes.clear();
    applyLimit();
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

SignalSummary::State::Building::Building(State& s) : s_(s)
{
    std::lock_guard<std::mutex> guard(s_.lock);
    s_.building = true;
}

SignalSummary::State::Building::~Building()
{
    std::lock_guard<std::mutex> guard(s_.lock);
    s_.applyLimit();
    s_.building = false;
}

HRESULT SignalSummary::buildStep(int64_t sampleBudget)
{
    State& s = *state_;
    if (!isOpen())
        return E_FAIL;
    State::Building building(s);
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
    State::Building building(s);
    const SummaryLayout layout = layoutOf(file);
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

}  // namespace quor
