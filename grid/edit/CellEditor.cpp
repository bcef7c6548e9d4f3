#include "CellEditor.h"

#include <algorithm>
#include <vector>

#include "ColumnTable.h"
#include "GridCore.h"
#include "GridRow.h"
#include "GridSelection.h"
#include "GridView.h"
#include "RowModel.h"
#include "RowText.h"

namespace quor {

namespace {

int32_t rowButtonsWidth(const GridView& view)
{
    return view.rowButtonsShown == VARIANT_TRUE ? GridView::kRowButtonWidth : 0;
}

}  // namespace

bool cellRectangle(GridCore& grid, int32_t row, int32_t column, CellRect& rect)
{
    const int32_t rowCount = grid.rows().rowCount();
    if (row >= rowCount && grid.appendBlankRows(row - rowCount + 1) != S_OK)
        return false;
    const GridView& view = grid.view();
    int32_t x = 0;
    for (int32_t c = view.firstVisibleColumn; c < column; ++c)
        x += grid.columns().width(c);
    const int32_t lines = view.columnHeaderShown == VARIANT_TRUE ? row - view.firstVisibleRow
                                                                 : row - 1 - view.firstVisibleRow;
    rect.x = x;
    rect.y = lines * view.rowHeight;
    rect.width = grid.columns().width(column);
    return true;
}

CellEditor::~CellEditor()
{
    if (list_ && IsWindow(list_))
        DestroyWindow(list_);
}

bool CellEditor::create(HWND gridWindow, HFONT font)
{
    gridWindow_ = gridWindow;
    if (!editBox_.create(gridWindow, font))
        return false;
    list_ = CreateWindowExA(0, "COMBOBOX", "", kListStyle, 0, 0, 0, kListHeight, gridWindow,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(gridWindow, GWLP_HINSTANCE)), nullptr);
    if (!list_)
        return false;
    if (font)
        SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    fillList("Float|Integer|Discrete", "Float");
    ShowWindow(list_, SW_HIDE);
    return true;
}

bool CellEditor::currentCellText(std::string& text)
{
    const CellPositions& cells = grid_.cells();
    GridRow* row = grid_.rows().rowByNumber(cells.currentRow);
    if (!row)
        return false;
    const CellRead cell = readCell(row->rowText, cells.currentColumn);
    text = cell.text;
    return cell.found;
}

void CellEditor::reopen()
{
    const CellPositions& cells = grid_.cells();
    openCell(cells.editRow, cells.editColumn, false);
}

void CellEditor::openCell(int32_t row, int32_t column, bool takeMouse)
{
    if (row < 0 || column < 0 || grid_.view().gridEditable != VARIANT_TRUE)
        return;
    if (active_)
        SetFocus(editBox_.window());
    if (row > grid_.rows().rowCount() || column >= grid_.columnCount())
        return;
    commit();
    CellRect rect;
    if (!cellRectangle(grid_, row, column, rect))
        return;
    CellPositions& cells = grid_.cells();
    cells.editRow = cells.currentRow = row;
    cells.editColumn = cells.currentColumn = column;
    rect_ = rect;
    switch (grid_.columns().cellKind(column)) {
    case CellKind::PlainText: openEditBox(column, rect, takeMouse); break;
    case CellKind::DropDownList: openList(column, rect); break;
    case CellKind::ColorButton: break;
    }
    grid_.view().invalidate();
}

void CellEditor::openEditBox(int32_t column, const CellRect& rect, bool takeMouse)
{
    if (!currentCellText(openedText_))
        return;
    const GridView& view = grid_.view();
    int32_t width = rect.width;
    if (view.autoSizeEditBox == VARIANT_TRUE)
        width = std::max(width, grid_.textWidth(openedText_));
    RECT box;
    box.left = rect.x + rowButtonsWidth(view);
    box.right = box.left + width - 2;
    box.top = rect.y + 1;
    box.bottom = rect.y + view.rowHeight - 2;
    editBox_.setReadOnly(grid_.columns().editable(column) != VARIANT_TRUE);
    editBox_.show(box, openedText_.c_str(), takeMouse);
    active_ = true;
}

void CellEditor::openList(int32_t column, const CellRect& rect)
{
    if (!currentCellText(openedText_))
        return;
    const int32_t left = rect.x - 1 + rowButtonsWidth(grid_.view());
    SetWindowPos(list_, nullptr, left, rect.y - 2, rect.width, kListHeight, SWP_NOACTIVATE | SWP_NOZORDER);
    fillList(grid_.columns().options(column), openedText_);
    ShowWindow(list_, SW_SHOW);
}

void CellEditor::fillList(const std::string& options, const std::string& selection)
{
    SendMessageA(list_, CB_RESETCONTENT, 0, 0);
    for (const std::string& choice : splitSequential(options)) {
        if (!choice.empty())
            SendMessageA(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
    }
    const LRESULT found = SendMessageA(list_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(selection.c_str()));
    SendMessageA(list_, CB_SETCURSEL, found == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(found), 0);
}

void CellEditor::hideList()
{
    if (list_)
        ShowWindow(list_, SW_HIDE);
}

void CellEditor::commit()
{
    if (!active_)
        return;
    // Whatever happens below, the edit is over.
    active_ = false;
    std::string typed = editBox_.text();
    if (openedText_.size() <= kMaxTextLength && typed.size() > kMaxTextLength)
        typed.resize(kMaxTextLength);
    editBox_.hide();
    std::string current;
    if (!currentCellText(current))
        return;
    const CellPositions& cells = grid_.cells();
    if (current != typed) {
        GridRow* row = grid_.rows().rowByNumber(cells.currentRow);
        if (row)
            writeCellMarkingEdited(*row, cells.currentColumn, typed);
    }
    copyIntoSelectedRows();
}

void CellEditor::copyIntoSelectedRows()
{
    std::string value;
    if (!currentCellText(value))
        return;
    const int32_t column = grid_.cells().currentColumn;
    bool changed = false;
    for (GridRow* row : grid_.rows().snapshot()) {
        if (row->selected == VARIANT_TRUE && writeCell(row->rowText, column, value))
            changed = true;
    }
    if (changed && gridWindow_) {
        InvalidateRect(gridWindow_, nullptr, FALSE);
        UpdateWindow(gridWindow_);
    }
}

void CellEditor::cancel()
{
    if (!active_)
        return;
    std::string original;
    if (currentCellText(original))
        editBox_.setText(original.c_str());
    editBox_.shrinkToNothing();
    commit();
    grid_.selection().deselectAllRows();
}

void CellEditor::onListSelectionChange()
{
    const LRESULT index = SendMessageA(list_, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return;
    const LRESULT length = SendMessageA(list_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return;
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    const CellPositions& cells = grid_.cells();
    if (grid_.columns().editable(cells.editColumn) != VARIANT_TRUE)
        return;
    GridRow* row = grid_.rows().rowByNumber(cells.editRow);
    if (row && writeCellMarkingEdited(*row, cells.editColumn, text.data()))
        copyIntoSelectedRows();
}

}  // namespace quor
