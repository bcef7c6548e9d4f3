// Import, Append and Export of the grid's CSV files: line 1 the headings,
// every further line one row, C runtime text mode.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace quor {

class GridCore;

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};
using CFile = std::unique_ptr<FILE, FileCloser>;

// One whole line of any length, without its '\n'; false at end of file.
bool readWholeLine(FILE* file, std::string& line);

// Import (replacing) or Append: S_FALSE when the file cannot be opened, and
// then the grid is untouched. Import deletes the old rows only once the
// file is open.
enum class CsvReadMode { Replace, Append };
HRESULT readCsvFile(GridCore& grid, const std::string& path, CsvReadMode mode);

// Exports the selected rows, or every row when none is selected. E_FAIL
// when the file cannot be opened or not every character reached it.
HRESULT writeCsvFile(GridCore& grid, const std::string& path);

}  // namespace quor
