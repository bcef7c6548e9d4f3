#include "MemoryRoom.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/sysinfo.h>
#endif

namespace quor {

uint64_t memoryRoom()
{
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return UINT64_MAX;
    return std::min<uint64_t>(status.ullAvailPageFile, status.ullAvailVirtual);
#else
    struct sysinfo info {};
    if (sysinfo(&info) != 0)
        return UINT64_MAX;
    return (static_cast<uint64_t>(info.freeram) + info.freeswap) * info.mem_unit;
#endif
}

}  // namespace quor
