// The time seek of asynchronous files: a window of 4096 consecutive index
// times answers most seeks from memory; the rest start from a jump list of
// known (time, position) points and scan forward on disk.
#pragma once

#include <cstdint>
#include <vector>

#include "IndexLayout.h"
#include "quortemplatelib.h"

namespace quor {

class FileHandle;

// A known index position and the time stored there.
struct JumpPoint {
    int64_t time;
    int64_t position;
    bool readable;  // false when the time could not be read; such points are skipped
};

// Owns its points; the container only links them.
class JumpList {
public:
    JumpList() = default;
    ~JumpList() { clear(); }
    JumpList(const JumpList&) = delete;
    JumpList& operator=(const JumpList&) = delete;

    bool add(const JumpPoint& point);
    void clear();
    int32_t count() const { return points_.getCount(); }
    // Position of the readable point a with a.time <= t < b.time for the
    // readable point b after it; false when no pair brackets t.
    bool bracket(int64_t time, int64_t* position);

private:
    tGenericContainer<JumpPoint> points_;
};

class TimeCache {
public:
    static const int32_t kSlots = 4096;

    TimeCache();
    void reset();
    // Finds sample number k with time(k) <= t < time(k + 1).
    HRESULT find(FileHandle& index, int64_t time, int64_t* sampleNumber);
    const SeekStats& stats() const { return stats_; }
    int32_t jumpPointCount() const { return jumpList_.count(); }

private:
    bool findInWindow(int64_t time, int32_t from, int32_t* slot) const;
    HRESULT seekFromDisk(FileHandle& index, int64_t time, int64_t* sampleNumber);
    void extendJumpList(FileHandle& index, int64_t from, int64_t newest);
    HRESULT scanForward(FileHandle& index, int64_t time, int64_t newest, int64_t* position);
    HRESULT loadWindow(FileHandle& index, int64_t base);
    void emptyWindow();
    bool readTime(FileHandle& index, int64_t position, int64_t* time);

    std::vector<int64_t> times_;
    int32_t count_ = 0;
    int64_t base_ = -1;
    int64_t firstTime_ = -1;
    int64_t lastTime_ = -1;
    int32_t hint_ = 0;
    int64_t lastGotoTime_ = 0;
    JumpList jumpList_;
    int64_t sizeAtLastBuild_ = -1;
    SeekStats stats_;
};

}  // namespace quor
