// Cut, Copy and Paste of the grid through the clipboard as CF_TEXT: lines
// of TAB-separated cells, one line per selected row or per selected cell.
#pragma once

#include <windows.h>

#include <string>

namespace quor {

class GridCore;

struct ClipboardText {
    bool anything = false;  // false: no selected row nor cell, nothing to copy
    std::string text;
};

// The text Copy puts on the clipboard: the selected rows, or else the
// selected cell of every row that has one.
ClipboardText copyText(GridCore& grid);

// Paste of a text: into cells from the last click cell when no row is
// selected and there was a click, otherwise as new rows (edited, untagged).
void pasteText(GridCore& grid, const std::string& text);

// Removes what copyText took: the selected rows go to the deleted list,
// or the selected cells are emptied up to the first one that is read-only.
void cutSelection(GridCore& grid);

HRESULT putClipboardText(HWND owner, const std::string& text);
// S_FALSE when the clipboard holds no text.
HRESULT getClipboardText(HWND owner, std::string& text);

// The three commands: S_FALSE when there was nothing to do.
HRESULT copyToClipboard(GridCore& grid, HWND owner);
HRESULT cutToClipboard(GridCore& grid, HWND owner);
HRESULT pasteFromClipboard(GridCore& grid, HWND owner);

}  // namespace quor
