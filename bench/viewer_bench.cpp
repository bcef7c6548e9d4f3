// The viewer's ">>": read, format, fill and paint one 500-row page, on a
// periodic and on an asynchronous sample; and the process's private bytes
// before and after 10,000 page turns, which must stay flat.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchSupport.h"
#include "DataViewerDialog.h"
#include "SampleWriter.h"
#include "resource.h"

namespace quor {

namespace {

const int kTimedTurns = 200;
int kMemoryTurns = 10000;  // page turns, each a ">>" or a "<<"; argv[1] overrides

std::string writeSamples()
{
    const std::string dir = benchFolder("quorviewer_bench_");
    std::string failed;
    if (FAILED(writeSampleSet(dir, &failed)))
        std::fprintf(stderr, "cannot write %s\n", failed.c_str());
    return dir;
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// One turn: ">>" then "<<", so that the pages stay inside the small samples;
// each click is followed by the paint it asked for.
void turn(HWND window, int id)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

double millisecondsPerForward(HWND window)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double total = 0;
    for (int i = 0; i < kTimedTurns; ++i) {
        QueryPerformanceCounter(&start);
        turn(window, IDC_NEXT_PAGE);
        QueryPerformanceCounter(&end);
        total += double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
        turn(window, IDC_PREVIOUS_PAGE);
    }
    return total / kTimedTurns;
}

class NullRows final : public RowSink {
public:
    void appendRow(const Text&, bool) override {}
};

// The viewer's own share of a page: the read and the row texts, without the grid.
double millisecondsPerReadAndFormat(const std::string& path)
{
    DataFile file;
    DataFileHeader header{};
    if (FAILED(file.open(path.c_str(), 1)) || FAILED(file.getHeader(&header)))
        return -1;
    int32_t segmentCount = 0;
    const Segment* segments = file.getSegments(&segmentCount);
    DataPager pager;
    pager.open(header, segments, segmentCount);
    NullRows rows;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kTimedTurns; ++i)
        pager.fillPage(file, rows);
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart) / kTimedTurns;
}

void benchFile(const std::string& path, bool measureMemory)
{
    std::printf("%-40s read and format only: %.3f ms per page\n", path.substr(path.find_last_of('\\') + 1).c_str(),
                millisecondsPerReadAndFormat(path));
    DataViewerDialog dialog(GetModuleHandleA(nullptr));
    dialog.setFileNameFromCommandLine(("\"bench\" \"" + path + "\"").c_str());
    HWND window = dialog.createModeless(nullptr);
    ShowWindow(window, SW_SHOW);
    pumpMessages();
    if (!dialog.dataGrid()) {
        std::printf("viewer_bench: QuorGrid is not registered\n");
        return;
    }
    std::printf("%-40s >> %.3f ms per 500-row page\n", path.substr(path.find_last_of('\\') + 1).c_str(),
                millisecondsPerForward(window));
    if (measureMemory) {
        const SIZE_T before = privateBytes();
        for (int i = 0; i < kMemoryTurns / 2; ++i) {
            turn(window, IDC_NEXT_PAGE);
            turn(window, IDC_PREVIOUS_PAGE);
        }
        pumpMessages();
        const SIZE_T after = privateBytes();
        std::printf("private bytes before %d page turns: %zu, after: %zu (%+lld)\n", kMemoryTurns, before, after,
                    static_cast<long long>(after) - static_cast<long long>(before));
    }
    DestroyWindow(window);
}

}  // namespace

}  // namespace quor

int main(int argc, char** argv)
{
    using namespace quor;
    if (argc > 1 && std::atoi(argv[1]) > 0)
        kMemoryTurns = std::atoi(argv[1]);
    CoInitialize(nullptr);
    const std::string dir = writeSamples();
    benchFile(dir + "\\periodic_double.quorData", true);
    benchFile(dir + "\\async_double.quorData", false);
    CoUninitialize();
    return 0;
}
