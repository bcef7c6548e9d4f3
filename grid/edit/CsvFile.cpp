#include "CsvFile.h"

#include <vector>

#include "CFile.h"
#include "CsvLine.h"
#include "GridCore.h"
#include "GridText.h"
#include "ReplacingFile.h"
#include "RowModel.h"

namespace quor {

CsvLineReader::CsvLineReader(FILE* file) : file_(file), buffer_(kBlockSize) {}

bool CsvLineReader::fill()
{
    at_ = 0;
    end_ = file_ ? fread(buffer_.data(), 1, buffer_.size(), file_) : 0;
    return end_ > 0;
}

// Bytes are taken with their count, so a NUL or a Ctrl-Z is a character
// like any other; a NUL becomes a blank, as it would never reach a cell
// through the text the grid hands out.
bool CsvLineReader::next(std::string& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        if (at_ == end_ && !fill())
            return any;
        const char c = buffer_[at_++];
        if (afterCarriageReturn_) {
            afterCarriageReturn_ = false;
            if (c == '\n')
                continue;
        }
        if (c == '\r' || c == '\n') {
            afterCarriageReturn_ = c == '\r';
            return true;
        }
        line += c == '\0' ? ' ' : c;
        any = true;
    }
}

HRESULT readCsvFile(GridCore& grid, const std::string& path, CsvReadMode mode)
{
    CFile file(fopen(path.c_str(), "rb"));
    if (!file)
        return S_FALSE;
    if (mode == CsvReadMode::Replace)
        grid.deleteAllRows();
    const int32_t columnCount = grid.columnCount();
    CsvLineReader lines(file.get());
    std::string line;
    lines.next(line);  // the headings
    while (lines.next(line)) {
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

// Each line ends in CR LF, and a line feed inside a cell is written as CR LF
// too: the bytes a text-mode stream would write.
bool writeLine(ReplacingFile& file, const std::string& line)
{
    size_t from = 0;
    for (size_t feed = line.find('\n'); feed != std::string::npos; feed = line.find('\n', from)) {
        if (!file.write(line.data() + from, feed - from) || !file.write("\r\n", 2))
            return false;
        from = feed + 1;
    }
    return file.write(line.data() + from, line.size() - from) && file.write("\r\n", 2);
}

std::vector<GridRow*> rowsToExport(RowModel& rows)
{
    std::vector<GridRow*> all = rows.snapshot();
    std::vector<GridRow*> selected;
    for (GridRow* row : all) {
        if (row->selected)
            selected.push_back(row);
    }
    return selected.empty() ? all : selected;
}

}  // namespace

// The export replaces the file only once every line is down: a failure
// leaves the file that was there before.
HRESULT writeCsvFile(GridCore& grid, const std::string& path)
{
    const std::vector<GridRow*> rows = rowsToExport(grid.rows());
    ReplacingFile file;
    if (!file.create(path.c_str()))
        return E_FAIL;
    bool complete = writeLine(file, csvHeadingLine(grid.headingString()));
    for (size_t i = 0; complete && i < rows.size(); ++i)
        complete = writeLine(file, lineFromRow(rows[i]->rowText, kCsvSeparator));
    return complete && file.commit() ? S_OK : E_FAIL;
}

}  // namespace quor
