// Import and export of 100,000 CSV lines through the grid's CSV reader and
// writer, over a grid that already holds as many rows (the cost per line
// must not grow with them).
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "CsvFile.h"
#include "TestGrid.h"

namespace quor {

namespace {

constexpr int kLines = 100000;

}  // namespace

}  // namespace quor

int main()
{
    using namespace quor;
    const std::string source = temporaryPath("quor_csv_bench_in.csv");
    const std::string target = temporaryPath("quor_csv_bench_out.csv");
    if (!writeCsvSource(source, kLines)) {
        fprintf(stderr, "cannot write %s\n", source.c_str());
        return 1;
    }
    TestGrid grid;
    grid.setColumnHeadings("Time|Nanoseconds|Value");
    LARGE_INTEGER start, afterFirst, afterAppend, afterExport;
    QueryPerformanceCounter(&start);
    readCsvFile(grid, source, CsvReadMode::Replace);
    QueryPerformanceCounter(&afterFirst);
    readCsvFile(grid, source, CsvReadMode::Append);
    QueryPerformanceCounter(&afterAppend);
    const HRESULT written = writeCsvFile(grid, target);
    QueryPerformanceCounter(&afterExport);
    printf("import %d lines into an empty grid: %.3f s\n", kLines, secondsBetween(start, afterFirst));
    printf("append %d lines to %d rows: %.3f s\n", kLines, kLines, secondsBetween(afterFirst, afterAppend));
    printf("export %d rows: %.3f s (%s)\n", grid.rows().rowCount(), secondsBetween(afterAppend, afterExport),
           written == S_OK ? "ok" : "failed");
    DeleteFileA(source.c_str());
    DeleteFileA(target.c_str());
    return written == S_OK ? 0 : 1;
}
