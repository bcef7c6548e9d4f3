// Owning wrappers for GDI handles and device contexts, so that every path
// through a paint or a constructor gives back what it took.
#pragma once

#include <windows.h>

#include <utility>

#include "UniqueHandle.h"

namespace quor {

// One GDI object (pen, brush, font, bitmap, region) deleted on destruction.
template <typename Handle>
using GdiObject = UniqueHandle<Handle, &DeleteObject>;

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// A window's device context, released on destruction. Movable, with
// reset and release as WIL's handles have them.
class WindowDC {
public:
    WindowDC() = default;
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() { reset(); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    WindowDC(WindowDC&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr))
    {
    }
    WindowDC& operator=(WindowDC&& other) noexcept
    {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    // The caller releases the DC of `window` itself from now on.
    HDC release()
    {
        window_ = nullptr;
        return std::exchange(dc_, nullptr);
    }
    void reset()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
        window_ = nullptr;
        dc_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// BeginPaint / EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window) { BeginPaint(window, &paint_); }
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return paint_.hdc; }
    const RECT& area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// A memory DC compatible with another (or with the screen for nullptr),
// deleted on destruction.
class MemoryDC : public UniqueHandle<HDC, &DeleteDC> {
public:
    MemoryDC() = default;
    explicit MemoryDC(HDC compatibleWith) : UniqueHandle(CreateCompatibleDC(compatibleWith)) {}
};

// Selects an object into a DC for the scope and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// SaveDC / RestoreDC, for drawing into a DC that belongs to someone else.
class SavedDCState {
public:
    explicit SavedDCState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDCState()
    {
        if (saved_)
            RestoreDC(dc_, saved_);
    }
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// The screen's pixels per logical inch along LOGPIXELSX or LOGPIXELSY; 96
// when the screen does not say.
inline int screenPixelsPerInch(int axis)
{
    WindowDC screen(nullptr);
    const int perInch = screen.get() ? GetDeviceCaps(screen.get(), axis) : 0;
    return perInch > 0 ? perInch : 96;
}

// The screen's vertical pixels per logical inch, for point-size fonts.
inline int screenPixelsPerInchY()
{
    return screenPixelsPerInch(LOGPIXELSY);
}

}  // namespace quor
