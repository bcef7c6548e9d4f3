// The plot window's off-screen picture: a 32-bit top-down DIB section with
// a memory DC. Strokes, bands and lines are written into its pixels
// directly (a thousand GDI calls per picture cost more than the picture
// under Wine); text and polylines go through GDI on the same DC.
#pragma once

#include <windows.h>

#include <cstdint>

#include "GdiHandles.h"

namespace quor {

class PlotCanvas {
public:
    PlotCanvas();
    ~PlotCanvas();
    PlotCanvas(const PlotCanvas&) = delete;
    PlotCanvas& operator=(const PlotCanvas&) = delete;

    // A new picture of that size (its pixels undefined); false when the
    // bitmap cannot be had.
    bool resize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }

    // Direct pixel writes, clipped to the picture. Call flush() first when
    // GDI drew since the last direct write.
    void fill(const RECT& area, COLORREF colour);
    void verticalLine(int x, int top, int bottom, COLORREF colour);  // both ends inclusive
    void horizontalLine(int y, int left, int right, COLORREF colour);
    void flush() const { GdiFlush(); }
    COLORREF pixel(int x, int y) const;

private:
    quor::MemoryDC dc_;
    quor::Bitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace quor
