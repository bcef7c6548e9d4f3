// The static entry of a window procedure, or of a dialog procedure, for a
// window owned by an object. A window's object comes with WM_NCCREATE's
// create parameters and is kept in GWLP_USERDATA; a dialog's comes with
// WM_INITDIALOG's lParam (the init parameter of DialogBoxParam and
// CreateDialogParam) and is kept in DWLP_USER. Either way the window
// reaches it until WM_NCDESTROY and no longer after. The owner provides
//   void attachWindow(HWND window);        at WM_NCCREATE / WM_INITDIALOG
//   LRESULT handleMessage(UINT, WPARAM, LPARAM);    (INT_PTR for a dialog)
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

// A dialog's messages before WM_INITDIALOG (WM_SETFONT) and after
// WM_NCDESTROY find no owner and get FALSE: the dialog manager's default.
template <typename Owner>
INT_PTR CALLBACK ownedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* owner = reinterpret_cast<Owner*>(lParam);
        owner->attachWindow(window);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!owner)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        owner->detachWindow();
        return FALSE;
    }
    return owner->handleMessage(message, wParam, lParam);
}

}  // namespace quor
