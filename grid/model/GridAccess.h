// What the interaction classes (cell editor, clipboard, CSV files, cell
// menu) need of the grid control: its model parts and the few control
// operations whose side effects on the view belong to the control.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>

class ColumnTable;
class GridSelection;
class RowModel;
struct GridView;

// The cells the editor and the mouse remember; rows one-based, columns
// zero-based, -1 for none.
struct CellPositions {
    int32_t currentRow = -1;
    int32_t currentColumn = -1;
    int32_t editRow = -1;
    int32_t editColumn = -1;
    int32_t clickRow = -1;
    int32_t clickColumn = -1;
};

class GridAccess {
public:
    virtual RowModel& rows() = 0;
    virtual ColumnTable& columns() = 0;
    virtual GridSelection& selection() = 0;
    virtual GridView& view() = 0;
    virtual CellPositions& cells() = 0;
    virtual int32_t columnCount() = 0;
    virtual std::string headingString() = 0;

    // appendRow(rowText, FALSE, "", markEdited) of the automation interface.
    virtual HRESULT appendRow(const std::string& rowText, VARIANT_BOOL markEdited) = 0;
    virtual HRESULT appendBlankRows(int32_t count) = 0;
    // deleteAllRows(FALSE): the rows move to the deleted list.
    virtual void deleteAllRows() = 0;
    virtual void setUpperLeftCell(int32_t row, int32_t column) = 0;
    virtual int32_t textWidth(const std::string& text) = 0;
    // Recount the visible rows and columns, refresh the scroll bars and
    // repaint: after rows were added or removed.
    virtual void relayout() = 0;
    virtual void redraw() = 0;

protected:
    ~GridAccess() = default;
};

// The cell write of the control: replaces the cell and marks the row
// edited; false (row unchanged) when the row string has too few cells.
struct GridRow;
bool writeCellMarkingEdited(GridRow& row, int32_t column, const std::string& text);
// appendBlankRows of the control and of the model grid: `count` rows of
// empty cells, one per column; S_FALSE when memory runs out part way.
HRESULT appendBlankRowsTo(RowModel& rows, int32_t columnCount, int32_t count);
