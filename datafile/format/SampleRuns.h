// Where the recorded samples of a data file lie: runs of consecutive
// sample ordinals (0, 1, 2, ... in recorded order), each at a data file
// position and, for periodic files, at consecutive sample indices.
#pragma once

#include <cstdint>
#include <vector>

namespace quor {

class DataFile;

__extension__ typedef __int128 Wide;  // exact times and indices beyond 64 bits

struct SampleRun {
    int64_t firstOrdinal = 0;
    int64_t count = 0;
    int64_t firstIndex = 0;  // periodic: the sample index of the first sample
    int64_t position = 0;    // data file position of the first value
};

class SampleRuns {
public:
    // Periodic files: one run (no segments or one), or one per segment as
    // far as the next segment's start and the data file's size allow, with
    // samples whose time does not fit in 64 bits left out. Asynchronous
    // files: one run of every sample that has a value and a time. dataSize
    // and indexSize are the files' sizes now.
    void describe(const DataFile& file, int64_t dataSize, int64_t indexSize);

    const std::vector<SampleRun>& runs() const { return runs_; }
    int64_t count() const { return runs_.empty() ? 0 : runs_.back().firstOrdinal + runs_.back().count; }
    bool periodic() const { return periodic_; }
    uint64_t period() const { return period_; }
    bool sameOver(const SampleRuns& other, int64_t ordinals) const;

    // The run holding ordinal (which must be below count()).
    const SampleRun& runOf(int64_t ordinal) const;
    // Periodic: the time of an ordinal below count().
    int64_t periodicTime(int64_t ordinal) const;
    // Periodic: the first ordinal whose time is at or after time; count()
    // when there is none.
    int64_t periodicLowerBound(Wide time) const;

private:
    void addRun(int64_t firstIndex, Wide count, int64_t position);

    std::vector<SampleRun> runs_;
    bool periodic_ = true;
    uint64_t period_ = 0;
    int32_t valueSize_ = 0;
};

}  // namespace quor
