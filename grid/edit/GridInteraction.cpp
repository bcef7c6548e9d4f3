#include "GridInteraction.h"

#include <algorithm>
#include <vector>

#include "ColumnTable.h"
#include "GridCore.h"
#include "GridRow.h"
#include "GridSelection.h"
#include "GridView.h"
#include "RowModel.h"

namespace quor {

CellHit cellAtPoint(GridCore& grid, POINT point)
{
    CellHit result;
    if (point.x < 0 || point.y < 0)
        return result;
    const GridView& view = grid.view();
    const int32_t row = point.y / view.rowHeight + view.firstVisibleRow +
                        (view.columnHeaderShown ? 0 : 1);
    int32_t left = view.rowButtonsShown ? GridView::kRowButtonWidth : 0;
    if (point.x <= left)
        return CellHit{true, row, 0};
    for (int32_t column = view.firstVisibleColumn; column < grid.columnCount(); ++column) {
        const int32_t right = left + grid.columns().width(column);
        if (left <= point.x && point.x <= right)
            return CellHit{true, row, column};
        left = right;
    }
    return result;
}

GridInteraction::GridInteraction(GridCore& grid, std::unique_ptr<FileDialog> dialog)
    : grid_(grid), editor_(grid), commands_(grid, std::move(dialog))
{
}

bool GridInteraction::create(HWND window, HFONT font)
{
    window_ = window;
    commands_.attach(window);
    return editor_.create(window, font);
}

void GridInteraction::setEditability(bool editable)
{
    grid_.view().gridEditable = editable;
    CellMenuCommands::setEditability(cellMenu_, editable);
}

void GridInteraction::onLButtonDown(POINT point, bool shift)
{
    editor_.hideList();
    const CellHit hit = cellAtPoint(grid_, point);
    if (!hit.hit)
        return;
    CellPositions& cells = grid_.cells();
    if (shift && cells.clickRow >= 0 && cells.clickColumn >= 0) {
        markCells(cells.clickRow, hit.row, hit.column);
    } else {
        editor_.commit();
        GridRow* row = grid_.rows().rowByNumber(hit.row);
        if (!row || !row->selected) {
            grid_.selection().deselectAllRows();
            grid_.columns().deselectAll();
        }
        editor_.open(hit.row, hit.column);
    }
    // The edit box holds the capture, so the release may never come here.
    cells.clickRow = hit.row;
    cells.clickColumn = hit.column;
    grid_.view().invalidate();
}

void GridInteraction::markCells(int32_t fromRow, int32_t toRow, int32_t column)
{
    const std::vector<GridRow*> rows = grid_.rows().snapshot();
    const int32_t low = std::max(std::min(fromRow, toRow), 1);
    const int32_t high = std::min(std::max(fromRow, toRow), static_cast<int32_t>(rows.size()));
    for (int32_t number = low; number <= high; ++number)
        rows[static_cast<size_t>(number - 1)]->selectedCell = column;
}

void GridInteraction::onMouseMove(POINT point, bool leftButton)
{
    if (!leftButton)
        return;
    const CellHit hit = cellAtPoint(grid_, point);
    if (!hit.hit || hit.row == grid_.cells().clickRow || grid_.cells().clickRow < 0)
        return;
    if (grid_.columns().cellKind(hit.column) != CellKind::PlainText)
        return;
    markDrag(hit.row, hit.column);
}

void GridInteraction::markDrag(int32_t toRow, int32_t column)
{
    const GridView& view = grid_.view();
    const int32_t firstShown = view.firstVisibleRow + 1;
    for (int32_t number = firstShown; number < firstShown + view.visibleRowCount; ++number)
        grid_.selection().setSelected(number, column, selectRow, false);
    markCells(grid_.cells().clickRow, toRow, column);
    grid_.view().invalidate();
}

void GridInteraction::onLButtonUp(POINT point)
{
    const CellHit hit = cellAtPoint(grid_, point);
    if (hit.hit) {
        grid_.cells().clickRow = hit.row;
        grid_.cells().clickColumn = hit.column;
    }
    if (window_)
        SetFocus(window_);
}

void GridInteraction::onRButtonUp(POINT point)
{
    menuPoint_ = point;
    const UINT chosen = CellMenuCommands::open(window_, cellMenu_, point);
    (void)chosen;  // the command arrives as WM_COMMAND
}

bool GridInteraction::onCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (id == CellEditor::kListId && reinterpret_cast<HWND>(lParam) == editor_.listWindow()) {
        if (HIWORD(wParam) == CBN_SELCHANGE)
            editor_.onListSelectionChange();
        return true;
    }
    // An open editor keeps its row number, not the row: once Import has
    // replaced the rows, its text would land in whichever new row took
    // that number. The typed text goes to its own row first.
    if (id == kImportCommand || id == kAppendCommand) {
        editor_.commit();
        editor_.hideList();
    }
    return commands_.execute(id);
}

bool GridInteraction::onKeyDown(WPARAM key, bool shift)
{
    grid_.relayout();
    GridKeyState state;
    state.shift = shift;
    state.editing = editor_.isEditing();
    state.editable = grid_.view().gridEditable;
    const GridKeyAction action = gridKeyAction(key, state);
    if (action == GridKeyAction::DefaultProcessing)
        return false;
    runAction(action);
    return true;
}

void GridInteraction::moveTo(int32_t row, int32_t column)
{
    grid_.selection().deselectAllRows();
    editor_.open(row, column);
}

void GridInteraction::runAction(GridKeyAction action)
{
    const CellPositions& cells = grid_.cells();
    const int32_t r = cells.currentRow;
    const int32_t c = cells.currentColumn;
    const int32_t top = grid_.view().firstVisibleRow;
    switch (action) {
    case GridKeyAction::NextCell: nextCell(); break;
    case GridKeyAction::NextRow:
        editor_.commit();
        moveTo(r + 1, c);
        break;
    case GridKeyAction::CancelEdit: editor_.cancel(); break;
    case GridKeyAction::PageUp: pageUp(); break;
    case GridKeyAction::PageDown: pageDown(); break;
    case GridKeyAction::LastColumn:
        editor_.commit();
        grid_.selection().deselectAllRows();
        grid_.setUpperLeftCell(top, grid_.columnCount() - 1);
        break;
    case GridKeyAction::FirstColumn:
        editor_.commit();
        grid_.selection().deselectAllRows();
        grid_.setUpperLeftCell(top, 0);
        break;
    case GridKeyAction::CellLeft: cellLeft(); break;
    case GridKeyAction::CellRight: cellRight(); break;
    case GridKeyAction::CellUp:
        if (r >= 2) {
            editor_.commit();
            moveTo(r - 1, c);
        }
        break;
    case GridKeyAction::CellDown:
        editor_.commit();
        if (r < grid_.rows().rowCount())
            moveTo(r + 1, c);
        break;
    case GridKeyAction::Cut:
    case GridKeyAction::Copy:
    case GridKeyAction::Paste:
        if (action == GridKeyAction::Cut)
            commands_.cut();
        else if (action == GridKeyAction::Copy)
            commands_.copy();
        else
            commands_.paste();
        grid_.selection().deselectAllRows();
        break;
    case GridKeyAction::SelectAll:
        grid_.selection().selectAllRows();
        grid_.view().invalidate();
        break;
    case GridKeyAction::Nothing:
    case GridKeyAction::DefaultProcessing: break;
    }
}

void GridInteraction::nextCell()
{
    const int32_t r = grid_.cells().currentRow;
    const int32_t c = grid_.cells().currentColumn;
    editor_.commit();
    if (c < grid_.columnCount() - 1)
        editor_.open(r, c + 1);
    else if (r < grid_.rows().rowCount())
        moveTo(r + 1, 0);
}

void GridInteraction::pageUp()
{
    editor_.commit();
    const GridView& view = grid_.view();
    const int32_t top = view.firstVisibleRow - view.visibleRowCount + 3;
    grid_.setUpperLeftCell(top > 0 ? top : 0, 0);
}

void GridInteraction::pageDown()
{
    editor_.commit();
    const GridView& view = grid_.view();
    const int32_t rowCount = grid_.rows().rowCount();
    const int32_t top = view.firstVisibleRow + view.visibleRowCount - 3;
    // Never past the last page: it ends with the last row at the bottom.
    const int32_t lastPage = std::max(rowCount - std::max(view.visibleRowCount - 1, 1), 0);
    grid_.setUpperLeftCell(std::min(top, lastPage), 0);
}

void GridInteraction::cellLeft()
{
    const int32_t r = grid_.cells().currentRow;
    const int32_t c = grid_.cells().currentColumn;
    if (c <= 0)
        return;
    grid_.selection().deselectAllRows();
    editor_.hideList();
    editor_.open(r, c - 1);
    const GridView& view = grid_.view();
    if (c - 1 < view.firstVisibleColumn) {
        const int32_t first = view.firstVisibleColumn - view.visibleColumnCount;
        grid_.setUpperLeftCell(view.firstVisibleRow, first < 1 ? 0 : first);
    }
}

void GridInteraction::cellRight()
{
    const int32_t r = grid_.cells().currentRow;
    const int32_t c = grid_.cells().currentColumn;
    if (c >= grid_.columnCount())
        return;
    editor_.hideList();
    grid_.selection().deselectAllRows();
    editor_.open(r, c + 1);
    const GridView& view = grid_.view();
    const int32_t edge = view.firstVisibleColumn + view.visibleColumnCount;
    if (c + 1 >= edge && edge < grid_.columnCount())
        grid_.setUpperLeftCell(view.firstVisibleRow, c + 1);
}

}  // namespace quor
