// The figures of a run of samples (count, minimum and maximum with their
// first positions, sum, sum of squares) and the decoding of numeric values
// behind them. The summary's blocks and levels and its queries all combine
// these, so every figure comes out of one scan and one merge.
#pragma once

#include <cstdint>

#include "SummaryTypes.h"

namespace quor {

enum class ValueKind : int32_t { none, signedInt, unsignedInt, real };

// Minimum and maximum are held as the 64-bit pattern of their kind's value
// (int64_t, uint64_t or double); positions are sample ordinals.
struct SummaryNode {
    uint64_t minimum = 0;
    uint64_t maximum = 0;
    int64_t minimumAt = 0;
    int64_t maximumAt = 0;
    int64_t count = 0;  // NaN values are not counted
    double sum = 0;
    double sumOfSquares = 0;
};

// How the stored values of one file are decoded.
class ValueCodec {
public:
    // false (and kind none) for ascii, blob, other codes and Data Sizes
    // without a numeric decoding.
    bool configure(int32_t dataFormat, int32_t dataSize, bool swap);
    ValueKind kind() const { return kind_; }
    int32_t dataSize() const { return dataSize_; }
    int32_t dataFormat() const { return dataFormat_; }

    // Summarises count stored values; the first has ordinal firstOrdinal.
    void scan(const uint8_t* stored, int64_t count, int64_t firstOrdinal, SummaryNode* out) const
    {
        scan_(stored, count, firstOrdinal, out);
    }
    // The same without the sums (left 0), for envelopes.
    void scanExtremes(const uint8_t* stored, int64_t count, int64_t firstOrdinal, SummaryNode* out) const
    {
        scanExtremes_(stored, count, firstOrdinal, out);
    }
    SampleValue decode(const uint8_t* stored) const;
    SampleValue valueOf(uint64_t pattern) const;

private:
    using ScanFunction = void (*)(const uint8_t*, int64_t, int64_t, SummaryNode*);
    ValueKind kind_ = ValueKind::none;
    int32_t dataFormat_ = -1;
    int32_t dataSize_ = 0;
    bool swap_ = false;
    ScanFunction scan_ = nullptr;
    ScanFunction scanExtremes_ = nullptr;
};

// Adds from to into, as if their samples had been scanned together: ties
// of the minimum or maximum go to the earlier position, so the order in
// which nodes are merged does not matter.
void mergeNode(ValueKind kind, SummaryNode& into, const SummaryNode& from);

}  // namespace quor
