#include "GridSelection.h"

#include <algorithm>
#include <vector>

#include "RowModel.h"

namespace quor {

void GridSelection::select(GridRow& row, int32_t number, int32_t column, int32_t type, bool select)
{
    if (select) {
        if (type == selectCell) {
            row.selectedCell = column;
            return;
        }
        if (!row.selected)
            anchorRow_ = number;
        row.selectedCell = -1;
        row.selected = true;
        return;
    }
    row.selectedCell = -1;
    if (type == selectRow) {
        if (row.selected)
            anchorRow_ = -1;
        row.selected = false;
    }
}

HRESULT GridSelection::setSelected(int32_t number, int32_t column, int32_t type, bool selectIt)
{
    GridRow* row = rows_.rowByNumber(number);
    if (!row)
        return S_FALSE;
    select(*row, number, column, type, selectIt);
    return S_OK;
}

namespace {

// The selection that `how` asks for on this row; false for an unknown value.
bool selectionFor(const GridRow& row, int32_t how, bool& selectIt)
{
    switch (how) {
    case rowSelected: selectIt = true; return true;
    case rowUnselected: selectIt = false; return true;
    case rowToggle: selectIt = !row.selected; return true;
    default: return false;
    }
}

}  // namespace

HRESULT GridSelection::setRowSelect(int32_t number, int32_t how)
{
    GridRow* row = rows_.rowByNumber(number);
    bool selectIt;
    if (!row || !selectionFor(*row, how, selectIt))
        return S_FALSE;
    select(*row, number, 0, selectRow, selectIt);
    return S_OK;
}

HRESULT GridSelection::setRowSelectRange(int32_t number1, int32_t number2, int32_t how)
{
    // Walks only the numbers that name rows: numbers outside the grid fail
    // without touching anything, so a wide range costs no more than the rows.
    const int32_t low = std::min(number1, number2);
    const int32_t high = std::max(number1, number2);
    const int32_t rowCount = rows_.rowCount();
    HRESULT result = (low < 1 || high > rowCount) ? S_FALSE : S_OK;
    std::vector<GridRow*> rows = rows_.snapshot();
    for (int32_t number = std::max(low, 1); number <= std::min(high, rowCount); ++number) {
        GridRow& row = *rows[static_cast<size_t>(number - 1)];
        bool selectIt;
        if (!selectionFor(row, how, selectIt))
            return S_FALSE;
        select(row, number, 0, selectRow, selectIt);
    }
    return result;
}

void GridSelection::selectAllRows()
{
    flipSelectAllState();
    setEveryRow(selectAllState_ == 0);
}

void GridSelection::deselectAllRows()
{
    flipSelectAllState();
    setEveryRow(false);
}

void GridSelection::flipSelectAllState()
{
    selectAllState_ = selectAllState_ != 1 ? 1 : 0;
}

void GridSelection::setEveryRow(bool selected)
{
    rows_.resetCursor();
    while (GridRow* row = rows_.next()) {
        row->selectedCell = -1;
        row->selected = selected;
    }
}

}  // namespace quor
