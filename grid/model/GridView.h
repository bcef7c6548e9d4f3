// The view state of the grid: scroll origin, visible counts, colours and
// styles. The owner's window tells it the client size and gives it the way
// to repaint; until then the client area is empty, so no row counts as on
// screen and nothing is painted, and the state is kept for the first paint.
#pragma once

#include <cstdint>
#include <functional>

#include "GridEnums.h"

namespace quor {

class ColumnTable;

// In pixels, left and top inclusive, right and bottom exclusive.
struct ViewRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct GridView {
    static constexpr int32_t kRowButtonWidth = 39;

    // How the owner repaints: its window when active, its container otherwise.
    std::function<void()> invalidator;

    int32_t firstVisibleRow = 0;
    int32_t firstVisibleColumn = 0;
    int32_t visibleRowCount = 0;
    int32_t visibleColumnCount = 0;
    int32_t rowHeight = 20;
    bool rowButtonsShown = true;
    bool columnHeaderShown = true;
    Colour backgroundColor = rgbColour(0xFF, 0xFF, 0xFF);
    Colour gridLineColor = rgbColour(0xCC, 0xCC, 0xCC);
    int32_t gridLineStyle = linesBoth;
    int32_t textAlignment = alignLeft;
    bool gridEditable = true;
    bool autoSizeEditBox = true;

    // The owner's window tells its client size whenever it changes; 0 by 0
    // without a window.
    void setClientSize(int32_t width, int32_t height);
    ViewRect clientRect() const { return ViewRect{0, 0, clientWidth_, clientHeight_}; }
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

private:
    int32_t clientWidth_ = 0;
    int32_t clientHeight_ = 0;
};

}  // namespace quor
