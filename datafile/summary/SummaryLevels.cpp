// The pyramid: blocks of samples summarised, levels of eight nodes above
// them, and the merge of whole blocks from the levels.
#include "SummaryState.h"

namespace quor {

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

// The last whole block becomes the start of the block being filled, so that
// the whole blocks pair off; the pending block then spans one block more,
// still less than a doubled block.
void SignalSummary::State::takeBackLastBlock()
{
    SummaryNode node = levels[0].back();
    mergeNode(codec.kind(), node, pending);
    pending = node;
    pendingCount += blockSize;
    levels[0].pop_back();
    if (!blockFirstTimes.empty()) {
        pendingFirstTime = tailFirstTime = blockFirstTimes.back();
        blockFirstTimes.pop_back();
    }
}

// Blocks double until fewer than maxBlocks remain. Only the worker, or
// anyone while no build step runs, may do this: it changes the block being
// filled.
void SignalSummary::State::applyLimit()
{
    const int64_t limit = maxBlocks;
    while (static_cast<int64_t>(levels[0].size()) >= limit) {
        if (levels[0].size() % 2 != 0)
            takeBackLastBlock();
        doubleBlocks();
    }
    builtBlocks = static_cast<int64_t>(levels[0].size());
    // The room a higher limit reserved goes back once it was lowered.
    if (static_cast<int64_t>(levels[0].capacity()) > limit) {
        std::vector<SummaryNode> blocks;
        blocks.reserve(static_cast<size_t>(limit));
        blocks.assign(levels[0].begin(), levels[0].end());
        levels[0].swap(blocks);
        for (int l = 1; l < kLevels; ++l)
            levels[l].shrink_to_fit();
        if (asynchronous()) {
            std::vector<int64_t> firsts;
            firsts.reserve(static_cast<size_t>(limit));
            firsts.assign(blockFirstTimes.begin(), blockFirstTimes.end());
            blockFirstTimes.swap(firsts);
        }
    }
}

void SignalSummary::State::appendBlock(const SummaryNode& node, int64_t first)
{
    levels[0].push_back(node);
    if (asynchronous())
        blockFirstTimes.push_back(first);
    buildParents(0);
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

}  // namespace quor
