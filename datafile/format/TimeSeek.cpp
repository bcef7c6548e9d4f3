#include "TimeSeek.h"

#include <algorithm>
#include <cinttypes>
#include <new>

#include "FileHandle.h"
#include "Stopwatch.h"
#include "Trace.h"

namespace quor {

namespace {

// The jump list is extended when the index grew by more than 1000 time stamps.
const int64_t kRebuildGrowth = 8000;
// A build spreads about this many points over the part of the index it adds.
const int64_t kPointsPerBuild = 1024;
// The forward scan steps 50 time stamps at a time.
const int64_t kScanStep = 400;

const double kCacheTraceMs = 0.001;
const double kDiskTraceMs = 0.3;

int64_t alignToStamp(int64_t position, bool up)
{
    int64_t offset = position - kIndexHeaderSize;
    if (offset < 0)
        return kIndexHeaderSize;
    const int64_t rest = offset % kIndexStampSize;
    if (rest != 0)
        offset += up ? kIndexStampSize - rest : -rest;
    return kIndexHeaderSize + offset;
}

// Points closer together than the scan step could not shorten any scan.
int64_t strideFor(int64_t span)
{
    const int64_t perPoint = (span + kPointsPerBuild - 1) / kPointsPerBuild;
    const int64_t aligned = (perPoint + kIndexStampSize - 1) / kIndexStampSize * kIndexStampSize;
    return std::max(aligned, kScanStep);
}

}  // namespace

bool JumpList::add(const JumpPoint& point)
{
    JumpPoint* copy = new (std::nothrow) JumpPoint(point);
    if (!copy)
        return false;
    if (FAILED(points_.addObject(copy))) {
        delete copy;
        return false;
    }
    return true;
}

void JumpList::clear()
{
    points_.resetToFirst();
    while (JumpPoint* point = points_.getNext())
        delete point;
    points_.removeAll();
}

bool JumpList::bracket(int64_t time, int64_t* position)
{
    const JumpPoint* before = nullptr;
    points_.resetToFirst();
    while (const JumpPoint* point = points_.getNext()) {
        if (!point->readable)
            continue;
        if (before && before->time <= time && time < point->time) {
            *position = before->position;
            return true;
        }
        before = point;
    }
    return false;
}

TimeCache::TimeCache() : times_(kSlots, 0) {}

void TimeCache::reset()
{
    emptyWindow();
    hint_ = 0;
    lastGotoTime_ = 0;
    jumpList_.clear();
    sizeAtLastBuild_ = -1;
    stats_ = SeekStats();
}

void TimeCache::emptyWindow()
{
    count_ = 0;
    base_ = -1;
    firstTime_ = -1;
    lastTime_ = -1;
}

HRESULT TimeCache::find(FileHandle& index, int64_t time, int64_t* sampleNumber)
{
    Stopwatch watch;
    watch.start();
    stats_ = SeekStats();
    // A time equal to the window's last time has no bracketing pair inside
    // the window; the seek from disk finds it when a later sample exists.
    if (count_ > 0 && firstTime_ <= time && time < lastTime_) {
        int32_t slot = 0;
        if (findInWindow(time, time >= lastGotoTime_ ? hint_ : 0, &slot)) {
            hint_ = slot;
            lastGotoTime_ = time;
            *sampleNumber = (base_ - kIndexHeaderSize) / kIndexStampSize + slot;
            stats_.fromCache = true;
            watch.stop();
            if (static_cast<float>(watch.elapsedMs()) > kCacheTraceMs)
                trace("Goto time(In Cache): %" PRId64 ", %f\n", times_[slot], watch.elapsedMs());
            return S_OK;
        }
    }
    const HRESULT hr = seekFromDisk(index, time, sampleNumber);
    if (FAILED(hr))
        return hr;
    watch.stop();
    if (static_cast<float>(watch.elapsedMs()) > kDiskTraceMs)
        trace("Goto time(from Disk): %" PRId64 ", %f\n", times_[0], watch.elapsedMs());
    return S_OK;
}

bool TimeCache::findInWindow(int64_t time, int32_t from, int32_t* slot) const
{
    for (int32_t j = std::max(from, 0); j + 1 < count_; ++j) {
        if (times_[j] <= time && time < times_[j + 1]) {
            *slot = j;
            return true;
        }
    }
    return false;
}

HRESULT TimeCache::seekFromDisk(FileHandle& index, int64_t time, int64_t* sampleNumber)
{
    int64_t size = 0;
    if (FAILED(index.getSize(&size)))
        return E_FAIL;
    const int64_t stamps = (size - kIndexHeaderSize) / kIndexStampSize;
    if (stamps < 2)
        return E_FAIL;
    const int64_t newest = kIndexHeaderSize + (stamps - 1) * kIndexStampSize;
    if (sizeAtLastBuild_ < 0 || size - sizeAtLastBuild_ > kRebuildGrowth)
        extendJumpList(index, sizeAtLastBuild_ < 0 ? kIndexHeaderSize : sizeAtLastBuild_, newest);
    sizeAtLastBuild_ = size;
    trace("Goto time(Jump Technique): Cache Hit...\n");

    int64_t position = 0;
    if (!jumpList_.bracket(time, &position))
        return E_FAIL;
    if (FAILED(scanForward(index, time, newest, &position)))
        return E_FAIL;
    if (FAILED(loadWindow(index, std::max(position - kScanStep, kIndexHeaderSize))))
        return E_FAIL;
    int32_t slot = 0;
    if (!findInWindow(time, 0, &slot)) {
        emptyWindow();
        return E_FAIL;
    }
    hint_ = 0;
    lastGotoTime_ = time;
    *sampleNumber = (base_ - kIndexHeaderSize) / kIndexStampSize + slot;
    return S_OK;
}

void TimeCache::extendJumpList(FileHandle& index, int64_t from, int64_t newest)
{
    const int64_t start = alignToStamp(from, true);
    const int64_t stride = strideFor(newest - start);
    for (int64_t p = start; p < newest; p += stride) {
        JumpPoint point = {-1, p, false};
        point.readable = readTime(index, p, &point.time);
        if (jumpList_.add(point))
            ++stats_.jumpPointsAdded;
    }
    JumpPoint last = {-1, newest, false};
    last.readable = readTime(index, newest, &last.time);
    if (jumpList_.add(last))
        ++stats_.jumpPointsAdded;
}

HRESULT TimeCache::scanForward(FileHandle& index, int64_t time, int64_t newest, int64_t* position)
{
    int64_t q = *position;
    bool passedEnd = false;
    int64_t stamp = 0;
    // An unreadable time counts as below any time asked for, so the scan goes on.
    while (!readTime(index, q, &stamp) || stamp < time) {
        q += kScanStep;
        if (q > newest) {
            if (passedEnd)
                return E_FAIL;
            passedEnd = true;
            q = newest;
        }
    }
    *position = q;
    return S_OK;
}

HRESULT TimeCache::loadWindow(FileHandle& index, int64_t base)
{
    emptyWindow();
    uint32_t got = 0;
    const uint32_t bytes = static_cast<uint32_t>(kSlots * kIndexStampSize);
    if (FAILED(index.readAt(base, times_.data(), bytes, &got)))
        return E_FAIL;
    count_ = static_cast<int32_t>(got / kIndexStampSize);
    stats_.cacheTimesLoaded = count_;
    if (count_ == 0)
        return E_FAIL;
    base_ = base;
    firstTime_ = times_[0];
    lastTime_ = times_[count_ - 1];
    return S_OK;
}

bool TimeCache::readTime(FileHandle& index, int64_t position, int64_t* time)
{
    ++stats_.timesScanned;
    uint32_t got = 0;
    return SUCCEEDED(index.readAt(position, time, sizeof *time, &got)) && got == sizeof *time;
}

}  // namespace quor
