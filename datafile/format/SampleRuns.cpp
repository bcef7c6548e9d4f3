#include "SampleRuns.h"

#include <algorithm>

#include "DataFile.h"

namespace quor {

namespace {

Wide floorDivide(Wide a, Wide b)
{
    const Wide q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

Wide ceilDivide(Wide a, Wide b)
{
    const Wide q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}

// Whole values stored from position on in a file of size bytes.
int64_t valuesFrom(int64_t position, int64_t size, int32_t valueSize)
{
    return size > position ? (size - position) / valueSize : 0;
}

}  // namespace

void SampleRuns::describe(const DataFile& file, int64_t dataSize, int64_t indexSize)
{
    runs_.clear();
    valueSize_ = file.getDataSize();
    period_ = file.getSamplePeriod();
    DataFileHeader header;
    file.getHeader(&header);
    periodic_ = header.dataType != typeAsynchronous;
    if (valueSize_ <= 0)
        return;
    const int64_t dataStart = file.getDataStart();
    if (header.dataType == typeAsynchronous) {
        const int64_t times = indexSize > kIndexHeaderSize ? (indexSize - kIndexHeaderSize) / kIndexStampSize : 0;
        const int64_t count = std::min(valuesFrom(dataStart, dataSize, valueSize_), times);
        if (count > 0)
            runs_.push_back(SampleRun{0, count, 0, dataStart});
        return;
    }
    if (header.dataType != typePeriodic || period_ == 0)
        return;
    if (!file.readsMultiPeriodic()) {
        addRun(file.getStartIndex(), valuesFrom(dataStart, dataSize, valueSize_), dataStart);
        return;
    }
    int32_t segmentCount = 0;
    const Segment* segments = file.getSegments(&segmentCount);
    for (int32_t k = 0; k < segmentCount; ++k) {
        const Segment& segment = segments[k];
        // A page read takes an index from the last segment starting at or
        // before it, so a segment ends where the next one starts.
        Wide end = segment.endIndex;
        if (k + 1 < segmentCount)
            end = std::min(end, Wide(segments[k + 1].startIndex) - 1);
        if (end < segment.startIndex || segment.byteOffset < 0)
            continue;
        const Wide count = std::min(end - segment.startIndex + 1,
                                    Wide(valuesFrom(segment.byteOffset, dataSize, valueSize_)));
        addRun(segment.startIndex, count, segment.byteOffset);
    }
}

void SampleRuns::addRun(int64_t firstIndex, Wide count, int64_t position)
{
    if (count <= 0)
        return;
    // Only indices whose time fits in 64 bits are samples one can ask for.
    const Wide lowest = ceilDivide(INT64_MIN, period_);
    const Wide highest = floorDivide(INT64_MAX, period_);
    Wide first = firstIndex;
    const Wide last = std::min(first + count - 1, highest);
    if (first < lowest) {
        position = static_cast<int64_t>(position + (lowest - first) * valueSize_);
        first = lowest;
    }
    if (last < first)
        return;
    runs_.push_back(SampleRun{this->count(), static_cast<int64_t>(last - first + 1),
                              static_cast<int64_t>(first), position});
}

bool SampleRuns::sameOver(const SampleRuns& other, int64_t ordinals) const
{
    if (periodic_ != other.periodic_ || period_ != other.period_ || valueSize_ != other.valueSize_)
        return false;
    for (size_t i = 0; i < runs_.size() && runs_[i].firstOrdinal < ordinals; ++i) {
        const SampleRun& a = runs_[i];
        if (i >= other.runs_.size())
            return false;
        const SampleRun& b = other.runs_[i];
        if (a.firstOrdinal != b.firstOrdinal || a.firstIndex != b.firstIndex ||
            a.position != b.position || b.count < std::min(a.count, ordinals - a.firstOrdinal))
            return false;
    }
    return true;
}

const SampleRun& SampleRuns::runOf(int64_t ordinal) const
{
    auto after = std::upper_bound(runs_.begin(), runs_.end(), ordinal,
                                  [](int64_t o, const SampleRun& run) { return o < run.firstOrdinal; });
    return *(after - 1);
}

int64_t SampleRuns::periodicTime(int64_t ordinal) const
{
    const SampleRun& run = runOf(ordinal);
    return static_cast<int64_t>((Wide(run.firstIndex) + (ordinal - run.firstOrdinal)) * Wide(period_));
}

int64_t SampleRuns::periodicLowerBound(Wide time) const
{
    if (period_ == 0)
        return count();
    const Wide index = ceilDivide(time, period_);
    auto run = std::lower_bound(runs_.begin(), runs_.end(), index, [](const SampleRun& r, Wide i) {
        return Wide(r.firstIndex) + r.count - 1 < i;
    });
    if (run == runs_.end())
        return count();
    return run->firstOrdinal + static_cast<int64_t>(std::max<Wide>(0, index - run->firstIndex));
}

}  // namespace quor
