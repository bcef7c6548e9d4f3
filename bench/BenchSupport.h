// What the Windows benchmarks share: the clock, their files in the
// temporary folder, the CSV file they import, and the grid made straight
// from its DLL without the registry.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#ifdef QUOR_BENCH_GRID
#include <ole2.h>
#include <wrl/client.h>

#include "QuorGrid_h.h"
#include "UniqueHandle.h"
#endif

namespace quor {

inline double secondsBetween(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The process's private bytes (link psapi).
inline SIZE_T privateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    // Wine leaves PrivateUsage at 0; its commit charge is the same figure there.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

// A file name in the temporary folder.
inline std::string temporaryPath(const char* name)
{
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// A folder of this run's own in the temporary folder, without its closing
// backslash: the prefix and the process id.
inline std::string benchFolder(const char* prefix)
{
    const std::string folder = temporaryPath(prefix) + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// A heading line and `lines` sample-like lines, with quoted commas.
inline bool writeCsvSource(const std::string& path, int lines)
{
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return false;
    std::fputs("Time,Nanoseconds,Value\n", file);
    for (int i = 0; i < lines; ++i)
        std::fprintf(file, "123:04:05:%02d.%06d,%d,\"%d,5\"\n", i % 60, i, i * 1000, i);
    return std::fclose(file) == 0;
}

#ifdef QUOR_BENCH_GRID
// QuorGrid.dll loaded from beside the program, in an OLE apartment of the
// main thread, for the run.
class GridDll {
public:
    GridDll() : module_(LoadLibraryW(L"QuorGrid.dll")), ole_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~GridDll()
    {
        if (ole_)
            OleUninitialize();
    }
    GridDll(const GridDll&) = delete;
    GridDll& operator=(const GridDll&) = delete;

    // Says on stderr what is missing.
    bool ready(const char* bench) const
    {
        if (!module_)
            std::fprintf(stderr, "%s: QuorGrid.dll not found\n", bench);
        else if (!ole_)
            std::fprintf(stderr, "%s: no OLE apartment\n", bench);
        return module_ && ole_;
    }
    HMODULE module() const { return module_.get(); }

private:
    // Freed after the apartment is gone.
    LoadedModule module_;
    bool ole_;
};

inline Microsoft::WRL::ComPtr<IQuorGridControl> createGrid(HMODULE module)
{
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto getClassObject =
        reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    Microsoft::WRL::ComPtr<IQuorGridControl> grid;
    if (getClassObject && SUCCEEDED(getClassObject(CLSID_QuorGridControl, IID_PPV_ARGS(&factory))))
        factory->CreateInstance(nullptr, IID_PPV_ARGS(&grid));
    return grid;
}
#endif

}  // namespace quor
