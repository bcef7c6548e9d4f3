// The command a row button click posts to the grid window: WM_COMMAND with
// identifier kRowButtonCommandFirst + k (k = 0 the corner button, k >= 1
// the k-th visible row button) and lParam kRowButtonCommandLParam. Shift
// and Ctrl are read with GetKeyState when the grid handles it.
#pragma once

#include <windows.h>

namespace quor {

constexpr int kRowButtonCommandFirst = 40000;
constexpr int kRowButtonCommandLast = 60000;
constexpr LPARAM kRowButtonCommandLParam = 50;

inline bool isRowButtonCommand(WPARAM wParam)
{
    const int id = LOWORD(wParam);
    return id >= kRowButtonCommandFirst && id <= kRowButtonCommandLast;
}

// The button index k of a row button command.
inline int rowButtonIndex(WPARAM wParam) { return LOWORD(wParam) - kRowButtonCommandFirst; }

inline void postRowButtonCommand(HWND grid, int buttonIndex)
{
    PostMessageA(grid, WM_COMMAND, MAKEWPARAM(kRowButtonCommandFirst + buttonIndex, 0), kRowButtonCommandLParam);
}

struct RowButtonModifiers {
    bool shift;
    bool control;
};

inline RowButtonModifiers currentRowButtonModifiers()
{
    return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0};
}

}  // namespace quor
