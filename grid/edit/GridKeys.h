// The grid's key table: which action a key stands for, given the state
// that decides it. The grid window and the keys forwarded from the edit
// box both go through it.
#pragma once

#include <windows.h>

namespace quor {

enum class GridKeyAction {
    DefaultProcessing,
    Nothing,
    NextCell,       // Tab
    NextRow,        // Enter
    CancelEdit,     // Escape
    PageUp,
    PageDown,
    LastColumn,     // End
    FirstColumn,    // Home
    CellLeft,
    CellUp,
    CellRight,
    CellDown,
    Cut,            // Delete, X
    SelectAll,      // A
    Copy,           // C
    Paste,          // V
};

struct GridKeyState {
    bool shift = false;
    bool editing = false;   // a plain-text edit is open
    bool editable = true;   // the grid is editable
};

GridKeyAction gridKeyAction(WPARAM key, const GridKeyState& state);

}  // namespace quor
