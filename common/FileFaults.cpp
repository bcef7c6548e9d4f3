#include "FileFaults.h"

#include <atomic>

namespace quor {

namespace {

std::atomic<FileFaults*> installed{nullptr};

}  // namespace

void setFileFaults(FileFaults* faults)
{
    installed.store(faults);
}

uint32_t faultedWriteCount(uint32_t count, bool* fails)
{
    *fails = false;
    FileFaults* faults = installed.load();
    if (!faults || faults->failingWrite <= 0)
        return count;
    if (++faults->writesSeen != faults->failingWrite)
        return count;
    *fails = true;
    return faults->failingWriteKeeps < count ? faults->failingWriteKeeps : count;
}

bool flushFaulted()
{
    FileFaults* faults = installed.load();
    return faults && faults->failFlush;
}

bool closeFaulted()
{
    FileFaults* faults = installed.load();
    return faults && faults->failClose;
}

bool renameFaulted()
{
    FileFaults* faults = installed.load();
    return faults && faults->failRename;
}

}  // namespace quor
