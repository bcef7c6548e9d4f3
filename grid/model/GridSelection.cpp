#include "GridSelection.h"

#include <algorithm>
#include <vector>

#include "RowModel.h"

namespace quor {

void GridSelection::select(GridRow& row, int32_t number, int32_t column, int32_t type, VARIANT_BOOL select)
{
    if (select == VARIANT_TRUE) {
        if (type == SelectCell) {
            row.selectedCell = column;
            return;
        }
        if (row.selected != VARIANT_TRUE)
            anchorRow_ = number;
        row.selectedCell = -1;
        row.selected = VARIANT_TRUE;
        return;
    }
    row.selectedCell = -1;
    if (type == SelectRow) {
        if (row.selected == VARIANT_TRUE)
            anchorRow_ = -1;
        row.selected = VARIANT_FALSE;
    }
}

HRESULT GridSelection::setSelected(int32_t number, int32_t column, int32_t type, VARIANT_BOOL selectIt)
{
    GridRow* row = rows_.rowByNumber(number);
    if (!row)
        return S_FALSE;
    select(*row, number, column, type, selectIt);
    return S_OK;
}

namespace {

// The selection that `how` asks for on this row; false for an unknown value.
bool selectionFor(const GridRow& row, int32_t how, VARIANT_BOOL& selectIt)
{
    switch (how) {
    case Selected: selectIt = VARIANT_TRUE; return true;
    case Unselected: selectIt = VARIANT_FALSE; return true;
    case Toggle: selectIt = row.selected == VARIANT_TRUE ? VARIANT_FALSE : VARIANT_TRUE; return true;
    default: return false;
    }
}

}  // namespace

HRESULT GridSelection::setRowSelect(int32_t number, int32_t how)
{
    GridRow* row = rows_.rowByNumber(number);
    VARIANT_BOOL selectIt;
    if (!row || !selectionFor(*row, how, selectIt))
        return S_FALSE;
    select(*row, number, 0, SelectRow, selectIt);
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
        VARIANT_BOOL selectIt;
        if (!selectionFor(row, how, selectIt))
            return S_FALSE;
        select(row, number, 0, SelectRow, selectIt);
    }
    return result;
}

void GridSelection::selectAllRows()
{
    flipSelectAllState();
    setEveryRow(selectAllState_ == 0 ? VARIANT_TRUE : VARIANT_FALSE);
}

void GridSelection::deselectAllRows()
{
    flipSelectAllState();
    setEveryRow(VARIANT_FALSE);
}

void GridSelection::flipSelectAllState()
{
    selectAllState_ = selectAllState_ != 1 ? 1 : 0;
}

void GridSelection::setEveryRow(VARIANT_BOOL selected)
{
    rows_.resetCursor();
    while (GridRow* row = rows_.next()) {
        row->selectedCell = -1;
        row->selected = selected;
    }
}

}  // namespace quor
