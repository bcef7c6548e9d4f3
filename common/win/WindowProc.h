// The static entry of a window procedure for a window owned by an object.
// The object comes with WM_NCCREATE's create parameters and is kept in
// GWLP_USERDATA until WM_NCDESTROY, after which the window no longer
// reaches it. The owner provides
//   void attachWindow(HWND window);        at WM_NCCREATE
//   LRESULT handleMessage(UINT, WPARAM, LPARAM);
//   void detachWindow();                   at WM_NCDESTROY
#pragma once

#include <windows.h>

namespace quor {

// DefWindowProc of the window's own character set, so that an ANSI class
// keeps ANSI default handling.
inline LRESULT defaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return IsWindowUnicode(window) ? DefWindowProcW(window, message, wParam, lParam)
                                   : DefWindowProcA(window, message, wParam, lParam);
}

template <typename Owner>
LRESULT CALLBACK ownedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        // lpCreateParams lies at the same place in CREATESTRUCTA and CREATESTRUCTW.
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->attachWindow(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!owner)
        return defaultWindowProc(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        owner->detachWindow();
        return defaultWindowProc(window, message, wParam, lParam);
    }
    return owner->handleMessage(message, wParam, lParam);
}

}  // namespace quor
