// The view state of the grid: scroll origin, visible counts, colours and
// styles. Without a window the client area is empty, so no row counts as
// on screen and nothing is painted; the state is kept for the first paint.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <functional>

#include "QuorGrid_h.h"

namespace quor {

class ColumnTable;

struct GridView {
    static constexpr int32_t kRowButtonWidth = 39;

    HWND window = nullptr;  // set once the control has its own window
    // How the owner repaints: its window when active, its container otherwise.
    std::function<void()> invalidator;

    int32_t firstVisibleRow = 0;
    int32_t firstVisibleColumn = 0;
    int32_t visibleRowCount = 0;
    int32_t visibleColumnCount = 0;
    int32_t rowHeight = 20;
    VARIANT_BOOL rowButtonsShown = VARIANT_TRUE;
    VARIANT_BOOL columnHeaderShown = VARIANT_TRUE;
    COLORREF backgroundColor = RGB(0xFF, 0xFF, 0xFF);
    COLORREF gridLineColor = RGB(0xCC, 0xCC, 0xCC);
    int32_t gridLineStyle = gridLinesBoth;
    int32_t textAlignment = Grid_TA_LEFT;
    VARIANT_BOOL gridEditable = VARIANT_TRUE;
    VARIANT_BOOL autoSizeEditBox = VARIANT_TRUE;

    RECT clientRect() const;
    void recomputeVisibleCounts(const ColumnTable& columns, int32_t columnCount);
    // The same counts without a repaint: appendRow only counts, and an
    // invalidation per appended row costs more than the row itself.
    void countVisible(const ColumnTable& columns, int32_t columnCount);
    void invalidate() const;
    void resetOrigin();

    // Whether the row lies wholly inside the client area.
    bool isRowVisible(int32_t rowNumber) const;
    bool isColumnWhollyVisible(int32_t column, const ColumnTable& columns) const;
    void scrollCellIntoView(int32_t rowNumber, int32_t column, int32_t rowCount,
                            const ColumnTable& columns, int32_t columnCount);
};

}  // namespace quor
