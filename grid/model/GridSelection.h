// Whole-row and single-cell selection over the rows of a RowModel.
#pragma once

#include <cstdint>

#include "GridRow.h"
#include "GridEnums.h"
#include "Status.h"

namespace quor {

class RowModel;

class GridSelection {
public:
    explicit GridSelection(RowModel& rows) : rows_(rows) {}

    // The primitive every selection goes through; `number` is the row's
    // one-based number, needed for the anchor.
    void select(GridRow& row, int32_t number, int32_t column, int32_t type, bool select);
    HRESULT setSelected(int32_t number, int32_t column, int32_t type, bool select);
    HRESULT setRowSelect(int32_t number, int32_t how);
    HRESULT setRowSelectRange(int32_t number1, int32_t number2, int32_t how);
    void selectAllRows();
    void deselectAllRows();
    // Clears every row's selection without touching the select-all toggle,
    // so that painting never changes what the next SelectAllRows does.
    void clearRowSelection() { setEveryRow(false); }

    int32_t anchorRow() const { return anchorRow_; }
    int32_t selectAllState() const { return selectAllState_; }

private:
    void flipSelectAllState();
    void setEveryRow(bool selected);

    RowModel& rows_;
    int32_t selectAllState_ = 0;
    int32_t anchorRow_ = -1;
};

}  // namespace quor
