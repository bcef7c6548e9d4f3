#include "CsvFile.h"

#include <vector>

#include "CsvLine.h"
#include "GridCore.h"
#include "GridText.h"
#include "RowModel.h"

namespace quor {

bool readWholeLine(FILE* file, std::string& line)
{
    line.clear();
    char chunk[4096];
    while (fgets(chunk, sizeof chunk, file)) {
        line += chunk;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            return true;
        }
    }
    return !line.empty();
}

HRESULT readCsvFile(GridCore& grid, const std::string& path, CsvReadMode mode)
{
    CFile file(fopen(path.c_str(), "r"));
    if (!file)
        return S_FALSE;
    if (mode == CsvReadMode::Replace)
        grid.deleteAllRows();
    const int32_t columnCount = grid.columnCount();
    std::string line;
    readWholeLine(file.get(), line);  // the headings
    while (readWholeLine(file.get(), line)) {
        const std::string content = trimmed(line);
        if (content.empty())
            continue;
        if (grid.appendRow(rowFromLine(content, kCsvSeparator, columnCount), std::string(), true) != S_OK)
            break;
    }
    grid.relayout();
    return S_OK;
}

namespace {

bool writeLine(FILE* file, const std::string& line)
{
    return fwrite(line.data(), 1, line.size(), file) == line.size() && fputc('\n', file) != EOF;
}

std::vector<GridRow*> rowsToExport(RowModel& rows)
{
    std::vector<GridRow*> all = rows.snapshot();
    std::vector<GridRow*> selected;
    for (GridRow* row : all) {
        if (row->selected == VARIANT_TRUE)
            selected.push_back(row);
    }
    return selected.empty() ? all : selected;
}

}  // namespace

HRESULT writeCsvFile(GridCore& grid, const std::string& path)
{
    const std::vector<GridRow*> rows = rowsToExport(grid.rows());
    FILE* raw = fopen(path.c_str(), "w");
    if (!raw)
        return E_FAIL;
    CFile file(raw);
    bool complete = writeLine(raw, csvHeadingLine(grid.headingString()));
    for (size_t i = 0; complete && i < rows.size(); ++i)
        complete = writeLine(raw, lineFromRow(rows[i]->rowText, kCsvSeparator));
    // The buffered tail reaches the disk only on close, and a full disk
    // shows there first.
    const bool closed = fclose(file.release()) == 0;
    return complete && closed ? S_OK : E_FAIL;
}

}  // namespace quor
