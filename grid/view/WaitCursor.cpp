#include "WaitCursor.h"

namespace quor {

WaitCursor::WaitCursor(HWND window)
    : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))), captured_(window != nullptr)
{
    if (captured_)
        SetCapture(window);
}

WaitCursor::~WaitCursor()
{
    if (captured_)
        ReleaseCapture();
    SetCursor(previous_);
    POINT pointer;
    if (!GetCursorPos(&pointer))
        return;
    HWND under = WindowFromPoint(pointer);
    // Another thread's window may be busy: it sets its cursor on its own.
    if (under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId())
        SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

}  // namespace quor
