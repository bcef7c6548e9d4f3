// Import, Append and Export of the grid's CSV files: line 1 the headings,
// every further line one row; lines end in CR LF, LF or CR alone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quor {

class GridCore;

// The lines of a file read in binary: CR LF, LF and CR alone each end a
// line, and no byte (NUL or Ctrl-Z included) ends the file early.
class CsvLineReader {
public:
    explicit CsvLineReader(FILE* file);
    // One whole line of any length without its line end; false at the end.
    bool next(std::string& line);

private:
    static const size_t kBlockSize = 1 << 16;
    bool fill();

    FILE* file_;
    std::vector<char> buffer_;
    size_t at_ = 0;
    size_t end_ = 0;
    bool afterCarriageReturn_ = false;  // a LF right after it ends nothing
};

// Import (replacing) or Append: S_FALSE when the file cannot be opened, and
// then the grid is untouched. Import deletes the old rows only once the
// file is open.
enum class CsvReadMode { Replace, Append };
HRESULT readCsvFile(GridCore& grid, const std::string& path, CsvReadMode mode);

// Exports the selected rows, or every row when none is selected. E_FAIL
// when the file cannot be created or not every character reached it; the
// file of that name is then as it was.
HRESULT writeCsvFile(GridCore& grid, const std::string& path);

}  // namespace quor
