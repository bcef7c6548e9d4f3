// The in-place editor: the edit box over plain-text cells, the drop-down
// list (child 103) over "ddDropDownList" cells, the commit that writes the
// cell and copies it into the selected rows, and Escape.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "QuorEditBoxObj.h"

namespace quor {

class GridCore;

// Where a cell lies: x from the left of the cell area, y from the top of
// the client area (the header band included).
struct CellRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
};

// Opening a cell at or below the last row first adds blank rows up to one
// past it, so that there is always a row to move to.
bool cellRectangle(GridCore& grid, int32_t row, int32_t column, CellRect& rect);

class CellEditor {
public:
    static constexpr int kListId = 103;
    static constexpr DWORD kListStyle =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_VSCROLL | CBS_SIMPLE;
    static constexpr int kListHeight = 100;
    // What a commit takes from the box for a cell that fitted it when it
    // opened; a longer cell keeps all of its text.
    static constexpr size_t kMaxTextLength = 998;

    explicit CellEditor(GridCore& grid) : grid_(grid) {}
    ~CellEditor();
    CellEditor(const CellEditor&) = delete;
    CellEditor& operator=(const CellEditor&) = delete;

    bool create(HWND gridWindow, HFONT font);

    void open(int32_t row, int32_t column) { openCell(row, column, true); }
    // After a scroll: the edit box goes back over the cell it was editing,
    // wherever the cell is now. Nothing is pressed, so it leaves the mouse.
    void reopen();
    // CompleteEdit: writes a changed text, copies the current cell into the
    // selected rows and ends editing; nothing while no edit is open.
    void commit();
    // Escape: the cell keeps its text.
    void cancel();
    // The list's CBN_SELCHANGE.
    void onListSelectionChange();
    void hideList();

    bool isEditing() const { return active_; }
    HWND editWindow() const { return editBox_.window(); }
    HWND listWindow() const { return list_; }

private:
    bool currentCellText(std::string& text);
    void openCell(int32_t row, int32_t column, bool takeMouse);
    void openEditBox(int32_t column, const CellRect& rect, bool takeMouse);
    void openList(int32_t column, const CellRect& rect);
    void fillList(const std::string& options, const std::string& selection);
    void copyIntoSelectedRows();

    GridCore& grid_;
    HWND gridWindow_ = nullptr;
    QuorEditBoxObj editBox_;
    HWND list_ = nullptr;
    bool active_ = false;
    CellRect rect_;
    std::string openedText_;
};

}  // namespace quor
