// One owner for every Win32 handle that a single function gives back: the
// handle type and its close function make the owner, as WIL's unique_any
// does. Move-only; get, release, reset, and put for the functions that
// return a handle through a pointer.
#pragma once

#include <windows.h>

#include <utility>

namespace quor {

template <typename Handle, auto Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // The caller closes the handle itself from now on.
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr)
    {
        if (handle_)
            Close(handle_);
        handle_ = handle;
    }
    // Closes what is held and lends the slot to a function that fills it.
    Handle* put()
    {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = nullptr;
};

using RegistryKey = UniqueHandle<HKEY, &RegCloseKey>;
using LoadedModule = UniqueHandle<HMODULE, &FreeLibrary>;
using Menu = UniqueHandle<HMENU, &DestroyMenu>;
using AcceleratorTable = UniqueHandle<HACCEL, &DestroyAcceleratorTable>;
using WindowsHook = UniqueHandle<HHOOK, &UnhookWindowsHookEx>;
// Events, threads and the other kernel objects that report failure with null.
using KernelHandle = UniqueHandle<HANDLE, &CloseHandle>;
using GlobalMemory = UniqueHandle<HGLOBAL, &GlobalFree>;

// GlobalLock / GlobalUnlock for the scope.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL block) : block_(block), memory_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockScope()
    {
        if (memory_)
            GlobalUnlock(block_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    void* memory() const { return memory_; }

private:
    HGLOBAL block_;
    void* memory_;
};

// OpenClipboard / CloseClipboard for the scope.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard()
    {
        if (open_)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool isOpen() const { return open_; }

private:
    bool open_;
};

// Empties the clipboard and hands it `data` in `format`. True when the
// clipboard took the data: it owns it then, and the caller lets it go.
inline bool handToClipboard(HWND owner, UINT format, HANDLE data)
{
    OpenedClipboard clipboard(owner);
    if (!clipboard.isOpen())
        return false;
    EmptyClipboard();
    return SetClipboardData(format, data) != nullptr;
}

}  // namespace quor
