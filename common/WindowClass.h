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
