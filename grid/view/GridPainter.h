// Painting of the cell area: grid lines, cell texts, highlights and colour
// swatches, composed in an off-screen bitmap and copied with one BitBlt so
// that the window never flickers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "GdiHandles.h"
#include "GridView.h"

namespace quor {

class ColumnTable;
struct GridRow;

inline RECT toRect(const ViewRect& rect)
{
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// Everything one paint pass reads. Rows are in display order; the pass
// writes a selected column into the rows' selectedCell.
struct PaintScene {
    const GridView& view;
    const ColumnTable& columns;
    int32_t columnCount;
    const std::vector<GridRow*>& rows;
    HFONT font;
    HPEN gridPen;
};

// The part of the client area that holds cells: below the header band and
// right of the row buttons.
RECT cellAreaOf(const GridView& view, const RECT& client);

// Draws the background and the cells of `cells` into dc.
void paintCells(HDC dc, const RECT& cells, const PaintScene& scene);

// The off-screen surface, kept between paints: the window's DC and the
// bitmap are remade only when the window or its size changes.
class PaintBuffer {
public:
    PaintBuffer() = default;
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;

    // A fresh memory DC with the bitmap selected; nullptr when the window
    // has no DC to be compatible with.
    HDC prepare(HWND window, const RECT& client);
    // Copies the cell rectangle to the same place in the window.
    void present(const RECT& cells) const;
    // The memory DC of the latest paint, which text measuring uses.
    HDC memoryDC() const { return memory_.get(); }
    void release();

private:
    void releaseMemoryDC();

    HWND window_ = nullptr;
    WindowDC windowDC_;
    Bitmap bitmap_;
    MemoryDC memory_;
    // Declared after the memory DC, so that it goes first: the bitmap
    // leaves the DC before the DC is deleted.
    std::optional<SelectedObject> selectedBitmap_;
    RECT cachedClient_{-1, -1, -1, -1};
};

}  // namespace quor
