// The user's hands on the cell area: mouse, keys, the cell menu and the
// in-place editor, for the control window to route its messages to.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "CellEditor.h"
#include "CellMenuCommands.h"
#include "GridKeys.h"

namespace quor {

class GridCore;

struct CellHit {
    bool hit = false;
    int32_t row = -1;  // one-based
    int32_t column = -1;
};

// The cell under a point of the client area; no hit for a negative
// coordinate or right of the last column.
CellHit cellAtPoint(GridCore& grid, POINT point);

class GridInteraction {
public:
    GridInteraction(GridCore& grid, std::unique_ptr<FileDialog> dialog);

    // WM_CREATE, after the window exists: the edit box and the list.
    bool create(HWND window, HFONT font);
    // The cell menu stays the control's; it is only opened and greyed here.
    void setCellMenu(HMENU menu) { cellMenu_ = menu; }

    void onLButtonDown(POINT point, bool shift);
    void onMouseMove(POINT point, bool leftButton);
    void onLButtonUp(POINT point);
    void onRButtonUp(POINT point);
    // False: the key is left to default processing.
    bool onKeyDown(WPARAM key, bool shift);
    // WM_COMMAND: the cell menu's commands and the list's selection change.
    bool onCommand(WPARAM wParam, LPARAM lParam);

    // CompleteEdit, and before scrolling or a column header click.
    void completeEdit() { editor_.commit(); }
    void reopenEdit() { editor_.reopen(); }
    void hideList() { editor_.hideList(); }
    void setEditability(bool editable);

    CellEditor& editor() { return editor_; }
    CellMenuCommands& commands() { return commands_; }

private:
    void runAction(GridKeyAction action);
    void moveTo(int32_t row, int32_t column);
    void nextCell();
    void pageUp();
    void pageDown();
    void cellLeft();
    void cellRight();
    void markDrag(int32_t toRow, int32_t column);
    void markCells(int32_t fromRow, int32_t toRow, int32_t column);

    GridCore& grid_;
    HWND window_ = nullptr;
    HMENU cellMenu_ = nullptr;
    POINT menuPoint_ = {0, 0};
    CellEditor editor_;
    CellMenuCommands commands_;
};

}  // namespace quor
