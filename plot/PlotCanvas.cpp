#include "PlotCanvas.h"

#include <algorithm>

namespace quor {

namespace {

// DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
uint32_t dibPixel(COLORREF colour)
{
    return (uint32_t(GetRValue(colour)) << 16) | (uint32_t(GetGValue(colour)) << 8) | GetBValue(colour);
}

}  // namespace

PlotCanvas::PlotCanvas() : dc_(nullptr) {}

PlotCanvas::~PlotCanvas()
{
    if (original_)
        SelectObject(dc_.get(), original_);
}

bool PlotCanvas::resize(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_ && bitmap_)
        return true;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 is the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    quor::Bitmap fresh(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!fresh || !dc_.get())
        return false;
    HGDIOBJ previous = SelectObject(dc_.get(), fresh.get());
    if (!original_)
        original_ = previous;
    bitmap_ = std::move(fresh);  // the old one is out of the DC by now
    bits_ = static_cast<uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void PlotCanvas::fill(const RECT& area, COLORREF colour)
{
    const int left = std::max<int>(area.left, 0), right = std::min<int>(area.right, width_);
    const int top = std::max<int>(area.top, 0), bottom = std::min<int>(area.bottom, height_);
    if (!bits_ || left >= right)
        return;
    const uint32_t value = dibPixel(colour);
    for (int y = top; y < bottom; ++y)
        std::fill(bits_ + size_t(y) * width_ + left, bits_ + size_t(y) * width_ + right, value);
}

void PlotCanvas::verticalLine(int x, int top, int bottom, COLORREF colour)
{
    if (!bits_ || x < 0 || x >= width_)
        return;
    if (top > bottom)
        std::swap(top, bottom);
    top = std::max(top, 0);
    bottom = std::min(bottom, height_ - 1);
    const uint32_t value = dibPixel(colour);
    for (uint32_t* p = bits_ + size_t(top) * width_ + x; top <= bottom; ++top, p += width_)
        *p = value;
}

void PlotCanvas::horizontalLine(int y, int left, int right, COLORREF colour)
{
    fill(RECT{left, y, right + 1, y + 1}, colour);
}

COLORREF PlotCanvas::pixel(int x, int y) const
{
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    GdiFlush();
    const uint32_t p = bits_[size_t(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

}  // namespace quor
