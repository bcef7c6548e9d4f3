// One row of the readout table, as text: the lane's label, the sample at or
// before each cursor, their difference, and the figures of the samples
// between the cursors. Figures are what `quordata stats FILE --from --to`
// prints for the cursors' file times; values are the export's texts.
#pragma once

#include <string>

#include "LaneList.h"
#include "LaneRecording.h"
#include "PlotCursors.h"

namespace quor {

struct LaneReadout {
    std::string label;           // file name, Tag Id, offset mark, "(linked)"
    std::string valueA, timeA;   // empty when A has no sample
    std::string valueB, timeB;
    std::string deltaValue;      // empty unless both cursors have a sample
    std::string samples, minimum, maximum, mean, rms;  // empty unless both cursors are placed
};

extern const char kLinkedMark[];  // " (linked)"

// "name.dat  Tag 7 +1.5 s (linked)".
std::string laneLabel(const std::string& path, int32_t tagId, int64_t offset, bool linked);
// The label of a lane whose file could not be opened: no Tag Id to give.
// "name.dat +1.5 s (linked)".
std::string unopenedLaneLabel(const std::string& path, int64_t offset, bool linked);
// The name of the file a path names, after its last separator of either kind.
std::string fileNameOf(const std::string& path);

LaneReadout laneReadout(LaneRecording& lane, const LaneSettings& settings, const PlotCursors& cursors,
                        bool linked);

}  // namespace quor
