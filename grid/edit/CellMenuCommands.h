// The commands of the grid's right-click cell menu (Cut, Copy, Paste,
// Import, Export, Append), also reached from the grid's keys.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "FileDialogs.h"

namespace quor {

class GridCore;

enum CellMenuCommandId : UINT {
    kCutCommand = 25000,
    kCopyCommand = 25001,
    kPasteCommand = 25005,
    kImportCommand = 25010,
    kExportCommand = 25015,
    kAppendCommand = 25020,
};

class CellMenuCommands {
public:
    CellMenuCommands(GridCore& grid, std::unique_ptr<FileDialog> dialog);

    void attach(HWND window) { window_ = window; }
    // True when `id` is one of the cell menu's commands (run or refused).
    bool execute(UINT id);

    HRESULT cut();
    HRESULT copy();
    HRESULT paste();
    HRESULT importCsv();
    HRESULT appendCsv();
    HRESULT exportCsv();

    // Greys Cut, Paste, Import and Append when the grid is not editable.
    static void setEditability(HMENU menu, bool editable);
    // Opens the menu's first sub-menu at a point of the window's client area.
    static UINT open(HWND window, HMENU menu, POINT clientPoint);

private:
    bool editable() const;
    HRESULT readCsv(const std::string& title, bool replace);
    void reportWriteFailure(const std::string& path);

    GridCore& grid_;
    std::unique_ptr<FileDialog> dialog_;
    HWND window_ = nullptr;
};

}  // namespace quor
