// The viewer's ">>": read, format, fill and paint one 500-row page, on a
// periodic and on an asynchronous sample; the process's private bytes
// before and after 10,000 page turns, which must stay flat; and how soon a
// file of 10^4 to 10^6 segments shows its window, and Escape closes it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + "quorviewer_bench_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
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

// A multi-periodic int file of the given number of two-sample runs at
// 100 Hz, one sample apart, stored back to back; its text index lists them.
bool writeSegmentedFile(const std::string& path, const std::string& indexPath, int segments)
{
    DataFileHeader header{};
    std::strcpy(header.version, "QuorDataFileVersion1.0");
    header.tagId = 1;
    header.dataFormat = formatInt;
    header.sampleRate = 100.0;
    header.dataSize = 4;
    header.byteOrder = 1;
    header.dataType = typePeriodic;
    header.endTime = (3LL * segments - 2) * 10000000LL;
    FILE* data = std::fopen(path.c_str(), "wb");
    FILE* index = std::fopen(indexPath.c_str(), "wb");
    bool written = data && index && std::fwrite(&header, sizeof header, 1, data) == 1;
    char indexHeader[1024] = "QuorIndexVersion1.0";
    written = written && std::fwrite(indexHeader, sizeof indexHeader, 1, index) == 1;
    for (int k = 0; written && k < segments; ++k) {
        const int32_t values[2] = {2 * k, 2 * k + 1};
        const long long first = 3LL * k * 10000000LL;
        written = std::fwrite(values, sizeof values, 1, data) == 1 &&
                  std::fprintf(index, "%lld %lld %lld\n", first, first + 10000000LL, 1024LL + 8LL * k) > 0;
    }
    if (data)
        written = std::fclose(data) == 0 && written;
    if (index)
        written = std::fclose(index) == 0 && written;
    return written;
}

// From the dialog's creation with the file on its command line to its
// window shown and painted; then Escape, as the dialog's loop gets it.
void benchSegmentTable(const std::string& dir, int segments)
{
    const std::string path = dir + "\\segments_" + std::to_string(segments) + ".quorData";
    const std::string indexPath = dir + "\\segments_" + std::to_string(segments) + ".quorIndex";
    if (!writeSegmentedFile(path, indexPath, segments)) {
        std::printf("viewer_bench: cannot write %s\n", path.c_str());
        return;
    }
    LARGE_INTEGER start, shown, closed;
    QueryPerformanceCounter(&start);
    DataViewerDialog dialog(GetModuleHandleA(nullptr));
    dialog.setFileNameFromCommandLine(("\"bench\" \"" + path + "\"").c_str());
    HWND window = dialog.createModeless(nullptr);
    ShowWindow(window, SW_SHOW);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    QueryPerformanceCounter(&shown);
    LONG rows = 0;
    if (dialog.headerGrid())
        dialog.headerGrid()->getNumberOfRows(&rows);
    MSG escape{window, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    IsDialogMessageA(window, &escape);
    QueryPerformanceCounter(&closed);
    const bool gone = !IsWindow(window);
    std::printf("%8d segments: window shown after %.2f s (%ld header rows); Escape closed it%s after %.1f ms\n",
                segments, secondsBetween(start, shown), static_cast<long>(rows), gone ? "" : " NOT",
                secondsBetween(shown, closed) * 1000.0);
    if (!gone)
        DestroyWindow(window);
    DeleteFileA(path.c_str());
    DeleteFileA(indexPath.c_str());
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
    // Ten segments first: what closing costs any file, for comparison.
    for (int segments : {10, 10000, 100000, 1000000})
        benchSegmentTable(dir, segments);
    CoUninitialize();
    return 0;
}
