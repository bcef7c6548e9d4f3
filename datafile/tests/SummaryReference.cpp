#include "SummaryReference.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "DataFile.h"
#include "FileHandle.h"
#include "SampleRuns.h"
#include "Text.h"

namespace quor {

namespace {


// Sums taken in another order differ in their last bits; allow what n
// roundings of the magnitudes summed can change.
bool closeFigure(double a, double b, double magnitude, int64_t count)
{
    if (std::isnan(a) || std::isnan(b) || std::isinf(a) || std::isinf(b))
        return std::isnan(a) == std::isnan(b) && (std::isnan(a) || a == b);
    return std::fabs(a - b) <= 1e-13 * static_cast<double>(count + 1) * magnitude + 1e-300;
}

}  // namespace

SummaryReference::Kind SummaryReference::kindOf(int32_t dataFormat)
{
    if (dataFormat == formatUlong)
        return unsignedInt;
    if (dataFormat == formatFloat || dataFormat == formatDouble)
        return real;
    return signedInt;
}

bool SummaryReference::less(const SampleValue& a, const SampleValue& b) const
{
    switch (kind_) {
    case signedInt:
        return a.exact < b.exact;
    case unsignedInt:
        return static_cast<uint64_t>(a.exact) < static_cast<uint64_t>(b.exact);
    default:
        return a.real < b.real;
    }
}

bool SummaryReference::meets(const FindRequest& request, const SampleValue& value) const
{
    const FindThreshold& x = request.threshold;
    const bool realKind = kind_ == real;
    const Wide v = kind_ == unsignedInt ? Wide(static_cast<uint64_t>(value.exact)) : Wide(value.exact);
    switch (request.condition) {
    case FindCondition::above:
        return realKind ? value.real > x.realFloor : v > x.integerFloor;
    case FindCondition::below:
        return realKind ? value.real < x.realCeil : v < x.integerCeil;
    case FindCondition::rising:
        return realKind ? value.real >= x.realCeil : v >= x.integerCeil;
    default:
        return realKind ? value.real <= x.realFloor : v <= x.integerFloor;
    }
}

std::vector<ReferenceSample> SummaryReference::find(const FindRequest& request) const
{
    const bool crossing = request.condition == FindCondition::rising || request.condition == FindCondition::falling;
    std::vector<ReferenceSample> hits;
    bool havePrevious = false, previousMeets = false;
    for (const ReferenceSample& s : samples_) {
        if (s.nan)
            continue;
        const bool meetsNow = meets(request, s.value);
        const bool hit = meetsNow && (!crossing || (havePrevious && !previousMeets));
        havePrevious = true;
        previousMeets = meetsNow;
        if (hit && s.time >= request.from && s.time <= request.to)
            hits.push_back(s);
    }
    const size_t keep = std::min(hits.size(), static_cast<size_t>(request.count));
    if (request.last)
        hits.erase(hits.begin(), hits.end() - static_cast<std::ptrdiff_t>(keep));
    else
        hits.resize(keep);
    return hits;
}

std::string SummaryReference::compareHits(const std::vector<ReferenceSample>& expected,
                                          const std::vector<FoundSample>& actual) const
{
    if (expected.size() != actual.size())
        return "hits " + std::to_string(expected.size()) + " expected, " + std::to_string(actual.size()) + " found";
    for (size_t k = 0; k < expected.size(); ++k) {
        if (expected[k].time != actual[k].time || !sameValue(expected[k].value, actual[k].value))
            return "hit " + std::to_string(k) + " at " + std::to_string(expected[k].time) + " expected, " +
                   std::to_string(actual[k].time) + " found";
    }
    return std::string();
}

bool SummaryReference::sameValue(const SampleValue& a, const SampleValue& b) const
{
    if (kind_ != real)
        return a.exact == b.exact && std::memcmp(&a.real, &b.real, sizeof a.real) == 0;
    return std::memcmp(&a.real, &b.real, sizeof a.real) == 0;  // -0.0 is not 0.0 here
}

std::vector<EnvelopeColumn> SummaryReference::envelope(int64_t from, int64_t to, int32_t columns) const
{
    std::vector<EnvelopeColumn> out(static_cast<size_t>(columns));
    const Wide span = Wide(to) - from + 1;
    for (const ReferenceSample& s : samples_) {
        if (s.nan || s.time < from || s.time > to)
            continue;
        // The column k with start(k) <= time < start(k + 1), by a plain search.
        int32_t k = static_cast<int32_t>((Wide(s.time) - from) * columns / span);
        while (k > 0 && from + Wide(k) * span / columns > s.time)
            --k;
        while (k + 1 < columns && from + (Wide(k) + 1) * span / columns <= s.time)
            ++k;
        EnvelopeColumn& c = out[k];
        if (c.count == 0 || less(s.value, c.minimum))
            c.minimum = s.value;
        if (c.count == 0 || less(c.maximum, s.value))
            c.maximum = s.value;
        ++c.count;
    }
    return out;
}

RangeStats SummaryReference::stats(int64_t from, int64_t to) const
{
    RangeStats out;
    double sum = 0, sumOfSquares = 0;
    for (const ReferenceSample& s : samples_) {
        if (s.nan || s.time < from || s.time > to)
            continue;
        if (out.count == 0 || less(s.value, out.minimum)) {
            out.minimum = s.value;
            out.minimumTime = s.time;
        }
        if (out.count == 0 || less(out.maximum, s.value)) {
            out.maximum = s.value;
            out.maximumTime = s.time;
        }
        ++out.count;
        sum += s.value.real;
        sumOfSquares += s.value.real * s.value.real;
    }
    if (out.count > 0) {
        out.mean = sum / static_cast<double>(out.count);
        out.rms = std::sqrt(sumOfSquares / static_cast<double>(out.count));
    }
    return out;
}

bool SummaryReference::atOrBefore(int64_t time, ReferenceSample* sample) const
{
    bool found = false;
    for (const ReferenceSample& s : samples_) {
        if (s.time <= time) {
            *sample = s;
            found = true;
        }
    }
    return found;
}

std::string SummaryReference::compareColumns(const std::vector<EnvelopeColumn>& expected,
                                             const std::vector<EnvelopeColumn>& actual) const
{
    if (expected.size() != actual.size())
        return "column count differs";
    for (size_t k = 0; k < expected.size(); ++k) {
        const EnvelopeColumn& e = expected[k];
        const EnvelopeColumn& a = actual[k];
        if (e.count != a.count || (e.count > 0 && (!sameValue(e.minimum, a.minimum) ||
                                                   !sameValue(e.maximum, a.maximum)))) {
            std::ostringstream what;
            what << "column " << k << ": expected " << e.count << "," << e.minimum.real << ","
                 << e.maximum.real << " got " << a.count << "," << a.minimum.real << "," << a.maximum.real;
            return what.str();
        }
    }
    return std::string();
}

std::string SummaryReference::compareStats(const RangeStats& e, const RangeStats& a, int64_t from,
                                           int64_t to) const
{
    std::ostringstream what;
    what << "[" << from << ", " << to << "]: ";
    if (e.count != a.count)
        return what.str() + "count differs";
    if (e.count == 0)
        return std::string();
    if (!sameValue(e.minimum, a.minimum) || e.minimumTime != a.minimumTime)
        return what.str() + "minimum differs";
    if (!sameValue(e.maximum, a.maximum) || e.maximumTime != a.maximumTime)
        return what.str() + "maximum differs";
    double magnitude = 0, squares = 0;
    for (const ReferenceSample& s : samples_) {
        if (!s.nan && s.time >= from && s.time <= to) {
            magnitude += std::fabs(s.value.real);
            squares += s.value.real * s.value.real;
        }
    }
    const double n = static_cast<double>(e.count);
    if (!closeFigure(e.mean, a.mean, magnitude / n, e.count))
        return what.str() + "mean differs";
    if (!closeFigure(e.rms * e.rms, a.rms * a.rms, squares / n, e.count))
        return what.str() + "rms differs";
    return std::string();
}

namespace {

bool decodeReference(const uint8_t* raw, int32_t format, int32_t size, bool swap, ReferenceSample* s)
{
    uint8_t bytes[8];
    for (int32_t i = 0; i < size; ++i)
        bytes[i] = raw[swap ? size - 1 - i : i];
    int32_t i32;
    int64_t i64;
    float f;
    switch (format) {
    case formatInt:
    case formatDiscrete:
        if (size != 4)
            return false;
        std::memcpy(&i32, bytes, 4);
        s->value.exact = i32;
        s->value.real = i32;
        break;
    case formatFloat:
        if (size != 4)
            return false;
        std::memcpy(&f, bytes, 4);
        s->value.real = f;
        break;
    case formatDouble:
        if (size != 8)
            return false;
        std::memcpy(&s->value.real, bytes, 8);
        break;
    case formatUlong:
        if (size == 4) {
            uint32_t u;
            std::memcpy(&u, bytes, 4);
            s->value.exact = u;
            s->value.real = u;
        } else if (size == 8) {
            uint64_t u;
            std::memcpy(&u, bytes, 8);
            s->value.exact = static_cast<int64_t>(u);
            s->value.real = static_cast<double>(u);
        } else {
            return false;
        }
        break;
    case formatLong:
    case formatLong8:
        if (size != 8)
            return false;
        std::memcpy(&i64, bytes, 8);
        s->value.exact = i64;
        s->value.real = static_cast<double>(i64);
        break;
    default:
        return false;
    }
    s->nan = std::isnan(s->value.real);
    return true;
}

}  // namespace

bool readReferenceSamples(const char* path, SummaryReference::Kind* kind, std::vector<ReferenceSample>* samples,
                          int64_t maxSamples)
{
    samples->clear();
    DataFile file;
    if (FAILED(file.open(path, FileHandle::modeRead)))
        return false;
    DataFileHeader header;
    file.getHeader(&header);
    FileHandle data, index;
    Text indexPath;
    makeIndexPath(path, indexPath);
    int64_t dataSize = 0, indexSize = 0;
    if (FAILED(data.open(path, FileHandle::modeRead)) || FAILED(data.getSize(&dataSize)))
        return false;
    if (SUCCEEDED(index.open(indexPath.c_str(), FileHandle::modeRead)))
        index.getSize(&indexSize);
    SampleRuns runs;
    runs.describe(file, dataSize, indexSize);
    const int32_t size = file.getDataSize();
    *kind = SummaryReference::kindOf(header.dataFormat);
    ReferenceSample probe;
    uint8_t zero[8] = {};
    if (size <= 0 || size > 8 || !decodeReference(zero, header.dataFormat, size, false, &probe) ||
        runs.count() > maxSamples)
        return false;
    int64_t latest = INT64_MIN;
    for (const SampleRun& run : runs.runs()) {
        std::vector<uint8_t> raw(static_cast<size_t>(run.count * size));
        std::vector<int64_t> times(runs.periodic() ? 0 : static_cast<size_t>(run.count));
        uint32_t got = 0;
        if (FAILED(data.readAt(run.position, raw.data(), static_cast<uint32_t>(raw.size()), &got)) ||
            got != raw.size())
            return false;
        if (!runs.periodic() &&
            (FAILED(index.readAt(kIndexHeaderSize + run.firstOrdinal * kIndexStampSize, times.data(),
                                 static_cast<uint32_t>(times.size() * 8), &got)) ||
             got != times.size() * 8))
            return false;
        for (int64_t k = 0; k < run.count; ++k) {
            ReferenceSample s;
            decodeReference(raw.data() + k * size, header.dataFormat, size, file.swapsValues(), &s);
            if (runs.periodic()) {
                s.time = static_cast<int64_t>((Wide(run.firstIndex) + k) * Wide(runs.period()));
            } else {
                latest = std::max(latest, times[k]);
                s.time = latest;
            }
            s.run = &run - runs.runs().data();
            samples->push_back(s);
        }
    }
    return true;
}

}  // namespace quor
