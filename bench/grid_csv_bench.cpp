// Import and export of 100,000 CSV lines through the grid's CSV reader and
// writer, over a grid that already holds as many rows (the cost per line
// must not grow with them).
#include <windows.h>

#include <cstdio>
#include <string>

#include "CsvFile.h"
#include "ModelGrid.h"

namespace {

constexpr int kLines = 100000;

double seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool writeSource(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "w");
    if (!file)
        return false;
    fputs("Time,Nanoseconds,Value\n", file);
    for (int i = 0; i < kLines; ++i)
        fprintf(file, "123:04:05:%02d.%06d,%d,\"%d,5\"\n", i % 60, i, i * 1000, i);
    return fclose(file) == 0;
}

}  // namespace

int main()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string source = std::string(folder) + "quor_csv_bench_in.csv";
    const std::string target = std::string(folder) + "quor_csv_bench_out.csv";
    if (!writeSource(source)) {
        fprintf(stderr, "cannot write %s\n", source.c_str());
        return 1;
    }
    ModelGrid grid;
    grid.setColumnHeadings("Time|Nanoseconds|Value");
    LARGE_INTEGER start, afterFirst, afterAppend, afterExport;
    QueryPerformanceCounter(&start);
    readCsvFile(grid, source, CsvReadMode::Replace);
    QueryPerformanceCounter(&afterFirst);
    readCsvFile(grid, source, CsvReadMode::Append);
    QueryPerformanceCounter(&afterAppend);
    const HRESULT written = writeCsvFile(grid, target);
    QueryPerformanceCounter(&afterExport);
    printf("import %d lines into an empty grid: %.3f s\n", kLines, seconds(start, afterFirst));
    printf("append %d lines to %d rows: %.3f s\n", kLines, kLines, seconds(afterFirst, afterAppend));
    printf("export %d rows: %.3f s (%s)\n", grid.rows().rowCount(), seconds(afterAppend, afterExport),
           written == S_OK ? "ok" : "failed");
    DeleteFileA(source.c_str());
    DeleteFileA(target.c_str());
    return written == S_OK ? 0 : 1;
}
