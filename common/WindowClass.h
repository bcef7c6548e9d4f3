// A window class registered while windows of it exist. A DLL's classes
// outlive its unload otherwise, and a reload at another address would find
// the class still pointing at the old procedure.
#pragma once

#include <windows.h>

namespace quor {

// The module that holds this code: the DLL, or the test program that links it.
inline HINSTANCE codeModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&codeModule), &module);
    return module;
}

class WindowClassUse {
public:
    // `prototype` holds everything but cbSize, hInstance and the name.
    WindowClassUse(const char* name, const WNDCLASSEXA& prototype) : name_(name), prototype_(prototype) {}

    bool acquire()
    {
        if (users_ == 0) {
            WNDCLASSEXA wc = prototype_;
            wc.cbSize = sizeof wc;
            wc.hInstance = codeModule();
            wc.lpszClassName = name_;
            if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
                return false;
        }
        ++users_;
        return true;
    }

    void release()
    {
        if (users_ > 0 && --users_ == 0)
            UnregisterClassA(name_, codeModule());
    }

private:
    const char* name_;
    WNDCLASSEXA prototype_;
    int users_ = 0;
};

// The body of a window procedure for windows that each belong to one object:
// the object comes as CreateWindowEx's parameter, learns its window at
// WM_NCCREATE, gets every message while the window lives and forgets the
// window at WM_NCDESTROY. The class's own static procedure calls this with
// its window member and its handler, which may stay private.
template <typename Owner>
LRESULT routeToOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HWND Owner::*windowMember,
                     LRESULT (Owner::*handler)(UINT, WPARAM, LPARAM))
{
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        owner->*windowMember = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!owner)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        owner->*windowMember = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return (owner->*handler)(message, wParam, lParam);
}

// One object's share of a class. An object that makes a new window after
// each activation takes its share once and gives it back when it goes.
class WindowClassHold {
public:
    WindowClassHold() = default;
    ~WindowClassHold()
    {
        if (use_)
            use_->release();
    }
    WindowClassHold(const WindowClassHold&) = delete;
    WindowClassHold& operator=(const WindowClassHold&) = delete;

    bool take(WindowClassUse& use)
    {
        if (!use_ && use.acquire())
            use_ = &use;
        return use_ != nullptr;
    }

private:
    WindowClassUse* use_ = nullptr;
};

}  // namespace quor
