// Figures for the grid's row operations, through the vtable of a control
// made from QuorGrid.dll by DllGetClassObject:
//   appending 100,000 rows, iterating them with getNextRow, a 500-row page
//   cycle (deleteAllRows, 500 appendRow, redraw), sorting 100,000 rows of
//   a numeric and of a text column.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#define QUOR_BENCH_GRID
#include "BenchSupport.h"
#include "Bstr.h"

using Microsoft::WRL::ComPtr;

namespace quor {

namespace {

constexpr int kRows = 100000;
constexpr int kPageRows = 500;
constexpr int kPageCycles = 200;

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double milliseconds() const
    {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

class OwnedBstrs {
public:
    BSTR add(const std::wstring& text)
    {
        texts_.emplace_back(text);
        return texts_.back().get();
    }
    BSTR operator[](size_t i) const { return texts_[i].get(); }

private:
    std::vector<quor::Bstr> texts_;
};

void makeRows(OwnedBstrs& rows, OwnedBstrs& tags, int count)
{
    for (int i = 0; i < count; ++i) {
        const int64_t nanoseconds = static_cast<int64_t>((i * 7919) % count) * 1000000;
        wchar_t text[128];
        swprintf(text, 128, L"123:04:05:%02d.%06d|%" PRId64 L"|%d.%03d", i % 60, i, nanoseconds,
                 (i * 31) % 1000, i % 1000);
        rows.add(text);
        tags.add(std::to_wstring(i));
    }
}

void report(const char* what, double milliseconds)
{
    std::printf("%-52s %10.1f ms\n", what, milliseconds);
}

int run(HMODULE module)
{
    ComPtr<IQuorGridControl> grid = createGrid(module);
    if (!grid) {
        std::printf("grid_bench: cannot create the control\n");
        return 1;
    }
    OwnedBstrs rows, tags, headings;
    makeRows(rows, tags, kRows);
    grid->setColumnHeadings(headings.add(L"Time|Nanoseconds|Value"));

    Stopwatch append;
    for (int i = 0; i < kRows; ++i)
        grid->appendRow(rows[i], VARIANT_FALSE, tags[i], VARIANT_FALSE);
    report("append 100,000 rows", append.milliseconds());

    Stopwatch iterate;
    grid->resetToFirstRow();
    quor::Bstr row;
    int seen = 0;
    while (grid->getNextRow(row.out()) == S_OK)
        ++seen;
    report("iterate 100,000 rows with getNextRow", iterate.milliseconds());

    Stopwatch sortNumeric;
    grid->sortGrid(1, Ascending);
    report("sort 100,000 rows, numeric column", sortNumeric.milliseconds());
    Stopwatch sortText;
    grid->sortGrid(0, Descending);
    report("sort 100,000 rows, text column", sortText.milliseconds());
    Stopwatch toggle;
    grid->sortGrid(0, None);
    report("sort toggle (reverse) of 100,000 rows", toggle.milliseconds());

    grid->deleteAllRows(VARIANT_FALSE);
    grid->resetAllDeletedRows();
    Stopwatch page;
    for (int cycle = 0; cycle < kPageCycles; ++cycle) {
        grid->deleteAllRows(VARIANT_FALSE);
        for (int i = 0; i < kPageRows; ++i)
            grid->appendRow(rows[i], VARIANT_FALSE, tags[i], VARIANT_FALSE);
        grid->redraw();
        grid->resetAllDeletedRows();
    }
    report("500-row page cycle (deleteAllRows, 500 appendRow, redraw)", page.milliseconds() / kPageCycles);
    std::printf("rows iterated: %d\n", seen);
    return seen == kRows ? 0 : 1;
}

}  // namespace

}  // namespace quor

int main()
{
    using namespace quor;
    const GridDll grid;
    return grid.ready("grid_bench") ? run(grid.module()) : 1;
}
