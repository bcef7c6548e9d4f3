// Failures that a test makes the file layer feign: a write that puts down
// only part of its bytes and then fails (a disk that fills up), a flush, a
// close or a rename that the system refuses. The file layer asks here
// before each of those calls; with no faults installed every call goes
// through untouched.
#pragma once

#include <cstdint>

namespace quor {

struct FileFaults {
    // The n-th write call from installation on (1 = the next) fails after
    // putting down failingWriteKeeps bytes; 0: no write fails. Later
    // writes succeed again, as rewriting bytes a file already has does on a
    // full disk.
    int32_t failingWrite = 0;
    uint32_t failingWriteKeeps = 0;
    bool failFlush = false;
    bool failClose = false;
    bool failRename = false;
    int32_t writesSeen = 0;
};

// Installs faults (null removes them) for every file of the process.
void setFileFaults(FileFaults* faults);

// How many of count bytes the next write may put down; *fails is set when
// the write must then report failure.
uint32_t faultedWriteCount(uint32_t count, bool* fails);
bool flushFaulted();
bool closeFaulted();
bool renameFaulted();

// Installs faults for one scope.
class ScopedFileFaults {
public:
    explicit ScopedFileFaults(FileFaults& faults) { setFileFaults(&faults); }
    ~ScopedFileFaults() { setFileFaults(nullptr); }
    ScopedFileFaults(const ScopedFileFaults&) = delete;
    ScopedFileFaults& operator=(const ScopedFileFaults&) = delete;
};

}  // namespace quor
