// The index file's layout and what a time seek reports, shared by DataFile
// and its seek machinery without either including the other.
#pragma once

#include <cstdint>

namespace quor {

const int64_t kIndexHeaderSize = 1024;  // index times begin here
const int64_t kIndexStampSize = 8;      // one signed 64-bit time per sample

// What the last gotoTime did, for the benchmark and the tests.
struct SeekStats {
    bool fromCache = false;
    int32_t jumpPointsAdded = 0;
    int64_t timesScanned = 0;  // single time stamps read by builds and the forward scan
    int32_t cacheTimesLoaded = 0;
};

}  // namespace quor
