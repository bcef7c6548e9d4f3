// Shared pieces of the window tests: an OLE apartment, a message pump and
// a top-level window to host things in.
#pragma once

#include <ole2.h>
#include <windows.h>

#include "GdiHandles.h"

namespace quor {

namespace test {

// Delivers what has been posted to this thread's windows.
inline void pumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class OleApartment {
public:
    OleApartment() : hr_(OleInitialize(nullptr)) {}
    ~OleApartment()
    {
        if (SUCCEEDED(hr_))
            OleUninitialize();
    }
    bool ok() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

// A plain top-level window with a given procedure. Hidden: without a window
// manager, Wine waits two seconds for every visible window to unmap.
class TestWindow {
public:
    TestWindow(const char* className, WNDPROC procedure, int width = 400, int height = 300)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = className;
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, className, className, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                  0, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow()
    {
        if (IsWindow(window_))
            DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_ = nullptr;
};

// Live GDI objects of this process (device contexts included). Wine's
// GetGuiResources answers 0, but its handle table accepts a bare table
// index, so there the live entries can be counted one by one.
inline unsigned long liveGdiObjects()
{
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted)
        return counted;
    unsigned long live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)))
            ++live;
    }
    return live;
}

// Live USER objects of this thread: its windows and the process's menus.
// Wine's GetGuiResources answers 0 here as well, but accepts a bare handle
// table index as a menu handle.
inline BOOL CALLBACK countWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<unsigned long*>(count);
    return TRUE;
}

inline BOOL CALLBACK countWindowTree(HWND window, LPARAM count)
{
    countWindow(window, count);
    EnumChildWindows(window, countWindow, count);  // all descendants
    return TRUE;
}

inline unsigned long liveUserObjects()
{
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (counted)
        return counted;
    unsigned long live = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindowTree, reinterpret_cast<LPARAM>(&live));
    for (ULONG_PTR index = 0x20; index < 0x10000; index += 2) {
        if (IsMenu(reinterpret_cast<HMENU>(index)))
            ++live;
    }
    return live;
}

// A window's rectangle in its parent's client coordinates.
inline RECT rectInParent(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A 32-bit top-down bitmap selected into a memory DC, filled with white.
class PixelCanvas {
public:
    PixelCanvas(int width, int height)
        : dc_(nullptr), bitmap_(whiteBitmap(dc_.get(), width, height)), selected_(dc_.get(), bitmap_.get())
    {
        RECT all{0, 0, width, height};
        FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    HDC dc() const { return dc_.get(); }
    COLORREF at(int x, int y) const { return GetPixel(dc_.get(), x, y); }

private:
    static HBITMAP whiteBitmap(HDC dc, int width, int height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        return CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }

    // In this order, so that the bitmap leaves the DC before either goes.
    MemoryDC dc_;
    Bitmap bitmap_;
    SelectedObject selected_;
};

}  // namespace test

}  // namespace quor
