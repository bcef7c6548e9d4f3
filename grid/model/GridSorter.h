// Sorting the rows by the text of one column. A cell is numeric when it
// starts with a digit and strtod consumes all of it; the comparison is
// decided per pair by the challenging row's cell, as the grid always did.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "GridRow.h"
#include "Status.h"

namespace quor {

class RowModel;

class GridSorter {
public:
    // style: a SortOrder (sortNone toggles); columnCount limits only the toggle.
    HRESULT sortGrid(RowModel& rows, int32_t column, int32_t style, int32_t columnCount);

    int32_t sortColumn() const { return sortColumn_; }
    int32_t sortOrder() const { return sortOrder_; }

    static bool isNumeric(const std::string& text);

private:
    void sortRows(RowModel& rows, int32_t column, bool ascending);

    int32_t sortColumn_ = -1;
    int32_t sortOrder_ = 0;  // no SortOrder has the value 0: the first sort always runs
};

}  // namespace quor
