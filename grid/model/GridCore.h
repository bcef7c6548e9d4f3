// GridCore: the grid without COM and without windows. It owns the rows, the
// column table's data, the selection, the view state and the cell
// positions, and carries out the operations that the automation interface
// and the user's hands share. What those operations mean for windows
// (scroll bars, row buttons, the column header) reaches the owner through
// GridCoreListener; the core itself only invalidates through its view.
#pragma once

#include <cstdint>
#include <string>

#include "ColumnTable.h"
#include "GridSelection.h"
#include "GridView.h"
#include "RowModel.h"

namespace quor {

struct GridRow;

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

class GridCoreListener {
public:
    // Rows were appended: the row buttons follow the row count.
    virtual void rowsAppended() = 0;
    // A column's width changed in the table: its header item follows.
    virtual void columnWidthChanged(int32_t column, int32_t width) = 0;
    // The column table was rebuilt from new headings.
    virtual void headingsChanged() = 0;
    // The upper-left cell was set: the scroll bars and row numbers follow.
    virtual void originMoved() = 0;
    // Rows came or went: the scroll bars take their ranges again.
    virtual void rowsChanged() = 0;
    // The width in pixels of a text in the grid's font.
    virtual int32_t textWidth(const std::string& text) = 0;
    // Rows are about to move, go, hide or be replaced: an open edit is
    // written now, into the row it was opened on, while its row number
    // still names that row.
    virtual void commitOpenEdit() = 0;

protected:
    ~GridCoreListener() = default;
};

class GridCore {
public:
    explicit GridCore(GridCoreListener& listener) : listener_(listener) {}
    GridCore(const GridCore&) = delete;
    GridCore& operator=(const GridCore&) = delete;

    RowModel& rows() { return rows_; }
    ColumnTable& columns() { return columns_; }
    const ColumnTable& columns() const { return columns_; }
    GridSelection& selection() { return selection_; }
    GridView& view() { return view_; }
    const GridView& view() const { return view_; }
    CellPositions& cells() { return cells_; }
    int32_t columnCount() const { return columnCount_; }
    const std::string& headingString() const { return headingString_; }

    // S_FALSE when the row cannot be added. An empty row is never marked
    // edited; scrollToRow brings a row past the page's end into view.
    HRESULT appendRow(const std::string& rowText, const std::string& tag, bool markEdited, bool scrollToRow = false);
    // `count` rows of empty cells; S_FALSE, and no row added, for a count
    // that memory or the row numbers cannot hold.
    HRESULT appendBlankRows(int32_t count);
    // Every operation that moves, removes, hides or replaces rows calls this
    // first, so that typed text never lands in another row.
    void commitOpenEdit() { listener_.commitOpenEdit(); }
    // The rows move to the deleted list and the view returns to the top.
    void deleteAllRows();
    // false for empty headings, which leave no column counted.
    bool setColumnHeadings(const std::string& headings);
    // false, and the view unchanged, for a cell outside the grid.
    bool setUpperLeftCell(int32_t row, int32_t column);
    void setColumnWidth(int32_t column, int32_t width);
    int32_t textWidth(const std::string& text) { return listener_.textWidth(text); }
    // Recount the visible rows and columns and repaint.
    void recountView() { view_.recomputeVisibleCounts(columns_, columnCount_); }
    // After rows were added or removed: scroll bars, counts and a repaint.
    void relayout();

private:
    void autoSizeColumnsFor(const GridRow& row);
    void removeLastRows(size_t count);

    GridCoreListener& listener_;
    RowModel rows_;
    ColumnTable columns_;
    GridSelection selection_{rows_};
    GridView view_;
    CellPositions cells_;
    int32_t columnCount_ = 0;
    std::string headingString_;
};

// The cell write of the grid: replaces the cell and marks the row edited;
// false (row unchanged) when the row string has too few cells.
bool writeCellMarkingEdited(GridRow& row, int32_t column, const std::string& text);

}  // namespace quor
