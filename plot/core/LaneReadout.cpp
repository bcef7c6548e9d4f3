#include "LaneReadout.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "PlotText.h"

namespace quor {

namespace {

// Sample times read to the nanosecond: the readout names the sample itself.
const int kSampleTimeDecimals = 9;

void readCursor(LaneRecording& lane, const LaneSettings& settings, const PlotCursor& cursor, LaneSample* sample,
                bool* found, std::string* value, std::string* time)
{
    *found = cursor.placed && lane.sampleAtOrBefore(fileTimeOf(cursor.time, settings.offset), *sample);
    if (!*found)
        return;
    *value = sample->text;
    *time = plotTimeText(shiftedTime(sample->time, settings.offset), kSampleTimeDecimals);
}

std::string deltaText(const LaneRecording& lane, const LaneSample& a, const LaneSample& b)
{
    // 64-bit integers lose their low bits in a double; their difference is taken whole.
    if (lane.integerValues())
        return integerText(lane.wideValue(b.exact) - lane.wideValue(a.exact));
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", b.value - a.value);
    return text;
}

}  // namespace

const char kLinkedMark[] = " (linked)";

std::string fileNameOf(const std::string& path)
{
    const size_t at = path.find_last_of("/\\");
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string laneLabel(const std::string& path, int32_t tagId, int64_t offset, bool linked)
{
    return fileNameOf(path) + "  Tag " + std::to_string(tagId) + offsetMark(offset) + (linked ? kLinkedMark : "");
}

std::string unopenedLaneLabel(const std::string& path, int64_t offset, bool linked)
{
    return fileNameOf(path) + offsetMark(offset) + (linked ? kLinkedMark : "");
}

LaneReadout laneReadout(LaneRecording& lane, const LaneSettings& settings, const PlotCursors& cursors, bool linked)
{
    LaneReadout row;
    row.label = laneLabel(settings.path, lane.tagId(), settings.offset, linked);
    LaneSample a, b;
    bool foundA = false, foundB = false;
    readCursor(lane, settings, cursors.a(), &a, &foundA, &row.valueA, &row.timeA);
    readCursor(lane, settings, cursors.b(), &b, &foundB, &row.valueB, &row.timeB);
    if (foundA && foundB)
        row.deltaValue = deltaText(lane, a, b);
    if (!cursors.bothPlaced())
        return row;
    const int64_t from = fileTimeOf(std::min(cursors.a().time, cursors.b().time), settings.offset);
    const int64_t to = fileTimeOf(std::max(cursors.a().time, cursors.b().time), settings.offset);
    LaneStats stats;
    if (!lane.stats(from, to, stats))
        return row;
    row.samples = std::to_string(stats.count);
    if (stats.count > 0) {
        row.minimum = stats.minimum;
        row.maximum = stats.maximum;
        row.mean = figureText(stats.mean);
        row.rms = figureText(stats.rms);
    }
    return row;
}

}  // namespace quor
