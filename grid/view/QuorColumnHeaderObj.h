// The column header band: a "SysHeader32" superclass that shows the column
// table. The table stays the source of truth; the header control mirrors
// heading text and width from it and reports divider drags back to the
// grid, which writes them into the table.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "GdiHandles.h"
#include "WindowClass.h"

namespace quor {

class ColumnTable;

constexpr int kColumnMenuResource = 203;

enum ColumnMenuCommand : int {
    kCmdLock = 3260,
    kCmdAutoResize = 3291,
    kCmdHideColumn = 3292,
    kCmdUnhideColumn = 3293,
    kCmdSelectColumn = 3294,
    kCmdFormatCells = 3390,
    kCmdSortAscending = 3400,
    kCmdSortDescending = 3401,
    kCmdReadOnly = 3500,
};

// What the header needs of the grid it sits in.
class ColumnHeaderOwner {
public:
    virtual ColumnTable& columnTable() = 0;
    // Before a header click: the cell editor is committed.
    virtual void beforeHeaderClick() = 0;
    virtual void columnsChanged() = 0;
    virtual void sortByColumn(int32_t column, int32_t style) = 0;
    virtual void resizeColumnToFit(int32_t column) = 0;
    virtual void setColumnWidthFromMenu(int32_t column, int32_t width) = 0;

protected:
    ~ColumnHeaderOwner() = default;
};

class QuorColumnHeaderObj {
public:
    QuorColumnHeaderObj() = default;
    ~QuorColumnHeaderObj();
    QuorColumnHeaderObj(const QuorColumnHeaderObj&) = delete;
    QuorColumnHeaderObj& operator=(const QuorColumnHeaderObj&) = delete;

    bool create(HWND grid, ColumnHeaderOwner& owner);
    HWND window() const { return window_; }

    // Rebuilds the header items from the table.
    void mirror(const ColumnTable& columns);
    void mirrorWidth(int32_t column, int32_t width);
    void setFont(HFONT font);
    void allowReorder(bool allow);
    void show(bool visible);
    int32_t menuColumn() const { return menuColumn_; }
    const std::vector<int>& order() const { return order_; }

    // A column menu command on the column under the last right click.
    void runMenuCommand(int command);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT callSystem(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onCreate(WPARAM wParam, LPARAM lParam);
    LRESULT onLeftButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT onRightButtonUp(LPARAM lParam);
    LRESULT onCommand(WPARAM wParam, LPARAM lParam);
    void loadMenu();
    void refreshOrder();

    HWND window_ = nullptr;
    HWND grid_ = nullptr;
    ColumnHeaderOwner* owner_ = nullptr;
    // Given back after the window is gone (the destructor's body destroys it).
    WindowClassHold class_;
    bool mirroring_ = false;
    int32_t menuColumn_ = -1;
    POINT menuPoint_{};
    // Loaded with the first window and kept for the windows after it.
    Menu menu_;
    HMENU popup_ = nullptr;
    Font creationFont_;
    std::vector<int> order_;
};

}  // namespace quor
