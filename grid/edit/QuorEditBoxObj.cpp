#include "QuorEditBoxObj.h"

#include <cstring>

#include "WindowClass.h"

namespace quor {

namespace {

const char kClassName[] = "QuorEditBoxObj";

bool controlHeld()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

// Mouse messages in the edit box's coordinates, for the grid's own.
LPARAM inParentCoordinates(HWND window, LPARAM lParam)
{
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    MapWindowPoints(window, GetParent(window), &point, 1);
    return MAKELPARAM(point.x, point.y);
}

}  // namespace

WNDPROC QuorEditBoxObj::editProc_ = nullptr;

bool QuorEditBoxObj::registerClass()
{
    if (editProc_)
        return true;
    WNDCLASSEXA edit = {};
    edit.cbSize = sizeof edit;
    if (!GetClassInfoExA(nullptr, "EDIT", &edit))
        return false;
    editProc_ = edit.lpfnWndProc;
    edit.lpfnWndProc = windowProc;
    edit.hInstance = codeModule();
    edit.lpszClassName = kClassName;
    if (!RegisterClassExA(&edit) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        editProc_ = nullptr;
        return false;
    }
    return true;
}

QuorEditBoxObj::~QuorEditBoxObj()
{
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
}

bool QuorEditBoxObj::create(HWND grid, HFONT font)
{
    if (!registerClass())
        return false;
    window_ = CreateWindowExA(0, kClassName, "", kStyle & ~WS_VISIBLE, 0, 0, 0, 0, grid, nullptr, codeModule(),
                              nullptr);
    if (!window_)
        return false;
    if (font)
        SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(window_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kMargin, kMargin));
    return true;
}

void QuorEditBoxObj::setReadOnly(bool readOnly)
{
    SendMessageA(window_, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void QuorEditBoxObj::show(const RECT& rect, const char* text, bool takeMouse)
{
    setText(text);
    SetWindowPos(window_, HWND_TOP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_SHOWWINDOW);
    SendMessageA(window_, EM_SETSEL, 0, static_cast<LPARAM>(GetWindowTextLengthA(window_)));
    BringWindowToTop(window_);
    ShowWindow(window_, SW_SHOW);
    SetFocus(window_);
    if (takeMouse)
        SetCapture(window_);
}

void QuorEditBoxObj::hide()
{
    if (GetCapture() == window_)
        ReleaseCapture();
    ShowWindow(window_, SW_HIDE);
}

void QuorEditBoxObj::setText(const char* text)
{
    // A cell longer than the box's limit would take no more typing at its end.
    const LRESULT limit = SendMessageA(window_, EM_GETLIMITTEXT, 0, 0);
    if (strlen(text) >= static_cast<size_t>(limit))
        SendMessageA(window_, EM_SETLIMITTEXT, 0, 0);  // 0: as much as the box can hold
    SetWindowTextA(window_, text);
}

std::string QuorEditBoxObj::text() const
{
    const int length = GetWindowTextLengthA(window_);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window_, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void QuorEditBoxObj::shrinkToNothing()
{
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool QuorEditBoxObj::passesOn(WPARAM key, bool control)
{
    switch (key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:  // the grid cancels the edit; EDIT alone would only beep
        return true;
    case 'A':
    case 'C':
    case 'V':
        return control;
    default:
        return false;
    }
}

LRESULT CALLBACK QuorEditBoxObj::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        // Tab and Enter must reach the grid even inside a dialog.
        return DLGC_WANTALLKEYS | CallWindowProcA(editProc_, window, message, wParam, lParam);
    case WM_KEYDOWN:
        if (passesOn(wParam, controlHeld()))
            PostMessageA(GetParent(window), WM_KEYDOWN, wParam, lParam);
        break;
    case WM_CHAR:
        // Tab, Enter and Escape move or close the editor; typed into a
        // single-line box they would only beep.
        if (wParam == '\t' || wParam == '\r' || wParam == 27)
            return 0;
        break;
    case WM_KILLFOCUS:
        return 0;
    case WM_MOUSEMOVE:
        // While the box holds the opening click's capture, a drag marks
        // cells of the grid.
        if (GetCapture() == window && (wParam & MK_LBUTTON))
            PostMessageA(GetParent(window), WM_MOUSEMOVE, wParam, inParentCoordinates(window, lParam));
        break;
    case WM_LBUTTONUP:
        if (GetCapture() == window) {
            // The box took the capture itself; EDIT only gives back what it took.
            LRESULT result = CallWindowProcA(editProc_, window, message, wParam, lParam);
            ReleaseCapture();
            return result;
        }
        break;
    default:
        break;
    }
    return CallWindowProcA(editProc_, window, message, wParam, lParam);
}

}  // namespace quor
