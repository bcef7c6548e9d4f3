#include "SummaryScan.h"

#include <cstring>
#include <type_traits>

// SSE2 is part of every x86-64 processor; elsewhere the scalar scans serve.
#if defined(__SSE2__)
#include <emmintrin.h>
#define QUOR_VECTOR_SCANS 1
#endif

#include "DataFile.h"

namespace quor {

namespace {

template <class Raw, bool Swap>
Raw loadStored(const uint8_t* stored)
{
    static_assert(sizeof(Raw) == 4 || sizeof(Raw) == 8, "values are 4 or 8 bytes");
    using Bits = typename std::conditional<sizeof(Raw) == 4, uint32_t, uint64_t>::type;
    Bits bits;
    std::memcpy(&bits, stored, sizeof bits);
    if (Swap)
        bits = sizeof(Raw) == 4 ? static_cast<Bits>(__builtin_bswap32(static_cast<uint32_t>(bits)))
                                : static_cast<Bits>(__builtin_bswap64(bits));
    Raw value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <class Wide>
uint64_t patternOf(Wide value)
{
    uint64_t pattern;
    std::memcpy(&pattern, &value, sizeof pattern);
    return pattern;
}

template <class Wide>
Wide fromPattern(uint64_t pattern)
{
    Wide value;
    std::memcpy(&value, &pattern, sizeof value);
    return value;
}

// One pass: the first valid value seeds minimum and maximum, so that a run
// holding only the extreme value of its type still has a position.
template <class Raw, class Wide, bool Swap>
void scanStored(const uint8_t* stored, int64_t count, int64_t firstOrdinal, SummaryNode* out)
{
    const bool mayBeNaN = std::is_floating_point<Wide>::value;
    int64_t i = 0;
    Wide first = 0;
    for (; i < count; ++i) {
        first = static_cast<Wide>(loadStored<Raw, Swap>(stored + i * sizeof(Raw)));
        if (!mayBeNaN || first == first)
            break;
    }
    *out = SummaryNode();
    if (i == count)
        return;
    Wide minimum = first, maximum = first;
    int64_t minimumAt = i, maximumAt = i, valid = 1;
    double sum = static_cast<double>(first);
    double sumOfSquares = sum * sum;
    for (++i; i < count; ++i) {
        const Wide v = static_cast<Wide>(loadStored<Raw, Swap>(stored + i * sizeof(Raw)));
        if (mayBeNaN && v != v)
            continue;
        ++valid;
        const double d = static_cast<double>(v);
        sum += d;
        sumOfSquares += d * d;
        if (v < minimum) {
            minimum = v;
            minimumAt = i;
        }
        if (v > maximum) {
            maximum = v;
            maximumAt = i;
        }
    }
    out->minimum = patternOf(minimum);
    out->maximum = patternOf(maximum);
    out->minimumAt = firstOrdinal + minimumAt;
    out->maximumAt = firstOrdinal + maximumAt;
    out->count = valid;
    out->sum = sum;
    out->sumOfSquares = sumOfSquares;
}

// Counts and extremes only, as an envelope needs them, in four lanes
// without branches: a new minimum or maximum is common in a signal and
// mispredicts. Each lane keeps the first position of its extremes and the
// lanes' ties go to the earlier position, so the result is scanStored's
// with the sums left 0 (of -0.0 and 0.0 the earlier one wins).
template <class Raw, class Wide, bool Swap>
void scanExtremes(const uint8_t* stored, int64_t count, int64_t firstOrdinal, SummaryNode* out)
{
    // Compared as stored: widening keeps the order, and costs a conversion a sample.
    const bool mayBeNaN = std::is_floating_point<Raw>::value;
    auto load = [stored](int64_t i) { return loadStored<Raw, Swap>(stored + i * sizeof(Raw)); };
    *out = SummaryNode();
    int64_t i = 0;
    while (mayBeNaN && i < count && load(i) != load(i))
        ++i;
    if (i == count)
        return;
    const int kLanes = 4;
    Raw low[kLanes], high[kLanes];
    int64_t lowAt[kLanes], highAt[kLanes], valid[kLanes] = {};
    for (int l = 0; l < kLanes; ++l) {
        low[l] = high[l] = load(i);
        lowAt[l] = highAt[l] = i;
    }
    // NaN compares false: it is neither an extreme nor counted.
    auto take = [&](int l, int64_t at) {
        const Raw v = load(at);
        lowAt[l] = v < low[l] ? at : lowAt[l];
        low[l] = v < low[l] ? v : low[l];
        highAt[l] = high[l] < v ? at : highAt[l];
        high[l] = high[l] < v ? v : high[l];
        valid[l] += !mayBeNaN || v == v;
    };
    for (; i + kLanes <= count; i += kLanes) {
        for (int l = 0; l < kLanes; ++l)
            take(l, i + l);
    }
    for (; i < count; ++i)
        take(0, i);
    for (int l = 1; l < kLanes; ++l) {
        if (low[l] < low[0] || (low[l] == low[0] && lowAt[l] < lowAt[0])) {
            low[0] = low[l];
            lowAt[0] = lowAt[l];
        }
        if (high[0] < high[l] || (high[l] == high[0] && highAt[l] < highAt[0])) {
            high[0] = high[l];
            highAt[0] = highAt[l];
        }
        valid[0] += valid[l];
    }
    out->minimum = patternOf(static_cast<Wide>(low[0]));
    out->maximum = patternOf(static_cast<Wide>(high[0]));
    out->minimumAt = firstOrdinal + lowAt[0];
    out->maximumAt = firstOrdinal + highAt[0];
    out->count = valid[0];
}

#ifdef QUOR_VECTOR_SCANS
// Floats and doubles in the host's byte order, the common case, a vector at
// a time: min and max keep the value they hold on a tie or a NaN (an
// ordered comparison, as the scalar scan's), and the extremes' positions
// are then the first holding an equal value, so the result is the same.
struct FloatVectors {
    using Raw = float;
    using Vector = __m128;
    static const int kLanes = 4;
    static Vector load(const uint8_t* at) { return _mm_loadu_ps(reinterpret_cast<const float*>(at)); }
    static Vector splat(float v) { return _mm_set1_ps(v); }
    static Vector lower(Vector v, Vector low) { return _mm_min_ps(v, low); }
    static Vector higher(Vector v, Vector high) { return _mm_max_ps(v, high); }
    static int equal(Vector a, Vector b) { return _mm_movemask_ps(_mm_cmpeq_ps(a, b)); }
    static int ordered(Vector v) { return _mm_movemask_ps(_mm_cmpord_ps(v, v)); }
};

struct DoubleVectors {
    using Raw = double;
    using Vector = __m128d;
    static const int kLanes = 2;
    static Vector load(const uint8_t* at) { return _mm_loadu_pd(reinterpret_cast<const double*>(at)); }
    static Vector splat(double v) { return _mm_set1_pd(v); }
    static Vector lower(Vector v, Vector low) { return _mm_min_pd(v, low); }
    static Vector higher(Vector v, Vector high) { return _mm_max_pd(v, high); }
    static int equal(Vector a, Vector b) { return _mm_movemask_pd(_mm_cmpeq_pd(a, b)); }
    static int ordered(Vector v) { return _mm_movemask_pd(_mm_cmpord_pd(v, v)); }
};

// Set bits of a vector's lane mask (a call, not an instruction, without -mpopcnt).
const int8_t kBitsSet[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

// The first position from `from` holding a value equal to `value`, which
// one of them holds.
template <class V>
int64_t firstEqual(const uint8_t* stored, int64_t count, int64_t from, typename V::Raw value)
{
    using Raw = typename V::Raw;
    const typename V::Vector wanted = V::splat(value);
    for (; from + V::kLanes <= count; from += V::kLanes) {
        const int hits = V::equal(V::load(stored + from * sizeof(Raw)), wanted);
        if (hits != 0)
            return from + __builtin_ctz(static_cast<unsigned>(hits));
    }
    while (loadStored<Raw, false>(stored + from * sizeof(Raw)) != value)
        ++from;
    return from;
}

template <class V>
void scanRealExtremes(const uint8_t* stored, int64_t count, int64_t firstOrdinal, SummaryNode* out)
{
    using Raw = typename V::Raw;
    auto load = [stored](int64_t i) { return loadStored<Raw, false>(stored + i * sizeof(Raw)); };
    *out = SummaryNode();
    int64_t start = 0;
    while (start < count && load(start) != load(start))
        ++start;
    if (start == count)
        return;
    typename V::Vector low = V::splat(load(start)), high = low;
    int64_t valid = 0, i = start;
    for (; i + V::kLanes <= count; i += V::kLanes) {
        const typename V::Vector v = V::load(stored + i * sizeof(Raw));
        low = V::lower(v, low);
        high = V::higher(v, high);
        valid += kBitsSet[V::ordered(v)];
    }
    Raw lows[V::kLanes], highs[V::kLanes];
    std::memcpy(lows, &low, sizeof lows);
    std::memcpy(highs, &high, sizeof highs);
    Raw lowest = lows[0], highest = highs[0];
    for (int l = 1; l < V::kLanes; ++l) {
        lowest = lows[l] < lowest ? lows[l] : lowest;
        highest = highest < highs[l] ? highs[l] : highest;
    }
    for (; i < count; ++i) {
        const Raw v = load(i);
        lowest = v < lowest ? v : lowest;
        highest = highest < v ? v : highest;
        valid += v == v;
    }
    const int64_t lowAt = firstEqual<V>(stored, count, start, lowest);
    const int64_t highAt = firstEqual<V>(stored, count, start, highest);
    out->minimum = patternOf(static_cast<double>(load(lowAt)));
    out->maximum = patternOf(static_cast<double>(load(highAt)));
    out->minimumAt = firstOrdinal + lowAt;
    out->maximumAt = firstOrdinal + highAt;
    out->count = valid;
}

#endif

using ScanFunction = void (*)(const uint8_t*, int64_t, int64_t, SummaryNode*);

template <class Raw, class Wide>
void pickScan(bool swap, ScanFunction* scan, ScanFunction* extremes)
{
    *scan = swap ? scanStored<Raw, Wide, true> : scanStored<Raw, Wide, false>;
    *extremes = swap ? scanExtremes<Raw, Wide, true> : scanExtremes<Raw, Wide, false>;
#ifdef QUOR_VECTOR_SCANS
    if (!swap && std::is_same<Raw, float>::value)
        *extremes = scanRealExtremes<FloatVectors>;
    if (!swap && std::is_same<Raw, double>::value)
        *extremes = scanRealExtremes<DoubleVectors>;
#endif
}

template <class Raw, class Wide>
Wide decodeStored(const uint8_t* stored, bool swap)
{
    return static_cast<Wide>(swap ? loadStored<Raw, true>(stored) : loadStored<Raw, false>(stored));
}

bool less(ValueKind kind, uint64_t a, uint64_t b)
{
    switch (kind) {
    case ValueKind::signedInt:
        return fromPattern<int64_t>(a) < fromPattern<int64_t>(b);
    case ValueKind::unsignedInt:
        return a < b;
    default:
        return fromPattern<double>(a) < fromPattern<double>(b);
    }
}

// Equal as values: -0.0 and 0.0 tie, as a scan comparing with < sees them.
bool same(ValueKind kind, uint64_t a, uint64_t b)
{
    return kind == ValueKind::real ? fromPattern<double>(a) == fromPattern<double>(b) : a == b;
}

}  // namespace

bool ValueCodec::configure(int32_t dataFormat, int32_t dataSize, bool swap)
{
    kind_ = ValueKind::none;
    dataFormat_ = dataFormat;
    dataSize_ = dataSize;
    swap_ = swap;
    scan_ = nullptr;
    scanExtremes_ = nullptr;
    const bool four = dataSize == 4, eight = dataSize == 8;
    switch (dataFormat) {
    case formatInt:
    case formatDiscrete:
        if (four) {
            kind_ = ValueKind::signedInt;
            pickScan<int32_t, int64_t>(swap, &scan_, &scanExtremes_);
        }
        break;
    case formatFloat:
        if (four) {
            kind_ = ValueKind::real;
            pickScan<float, double>(swap, &scan_, &scanExtremes_);
        }
        break;
    case formatLong:
    case formatLong8:
        if (eight) {
            kind_ = ValueKind::signedInt;
            pickScan<int64_t, int64_t>(swap, &scan_, &scanExtremes_);
        }
        break;
    case formatUlong:
        if (four || eight) {
            kind_ = ValueKind::unsignedInt;
            if (four)
                pickScan<uint32_t, uint64_t>(swap, &scan_, &scanExtremes_);
            else
                pickScan<uint64_t, uint64_t>(swap, &scan_, &scanExtremes_);
        }
        break;
    case formatDouble:
        if (eight) {
            kind_ = ValueKind::real;
            pickScan<double, double>(swap, &scan_, &scanExtremes_);
        }
        break;
    default:
        break;
    }
    return kind_ != ValueKind::none;
}

SampleValue ValueCodec::decode(const uint8_t* stored) const
{
    switch (dataFormat_) {
    case formatInt:
    case formatDiscrete:
        return valueOf(patternOf(decodeStored<int32_t, int64_t>(stored, swap_)));
    case formatFloat:
        return valueOf(patternOf(decodeStored<float, double>(stored, swap_)));
    case formatUlong:
        return valueOf(dataSize_ == 4 ? decodeStored<uint32_t, uint64_t>(stored, swap_)
                                      : decodeStored<uint64_t, uint64_t>(stored, swap_));
    case formatDouble:
        return valueOf(patternOf(decodeStored<double, double>(stored, swap_)));
    default:
        return valueOf(patternOf(decodeStored<int64_t, int64_t>(stored, swap_)));
    }
}

SampleValue ValueCodec::valueOf(uint64_t pattern) const
{
    SampleValue value;
    switch (kind_) {
    case ValueKind::signedInt:
        value.exact = fromPattern<int64_t>(pattern);
        value.real = static_cast<double>(value.exact);
        break;
    case ValueKind::unsignedInt:
        value.exact = fromPattern<int64_t>(pattern);
        value.real = static_cast<double>(pattern);
        break;
    default:
        value.real = fromPattern<double>(pattern);
        break;
    }
    return value;
}

void mergeNode(ValueKind kind, SummaryNode& into, const SummaryNode& from)
{
    if (from.count == 0)
        return;
    if (into.count == 0) {
        into = from;
        return;
    }
    if (less(kind, from.minimum, into.minimum) ||
        (same(kind, from.minimum, into.minimum) && from.minimumAt < into.minimumAt)) {
        into.minimum = from.minimum;
        into.minimumAt = from.minimumAt;
    }
    if (less(kind, into.maximum, from.maximum) ||
        (same(kind, from.maximum, into.maximum) && from.maximumAt < into.maximumAt)) {
        into.maximum = from.maximum;
        into.maximumAt = from.maximumAt;
    }
    into.count += from.count;
    into.sum += from.sum;
    into.sumOfSquares += from.sumOfSquares;
}

}  // namespace quor
