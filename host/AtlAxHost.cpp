#include "AtlAxHost.h"

namespace quor {

AtlAxLibrary::AtlAxLibrary() : module_(LoadLibraryA("atl.dll"))
{
    if (!module_)
        return;
    using InitFunction = BOOL(WINAPI*)();
    auto init =
        reinterpret_cast<InitFunction>(reinterpret_cast<void*>(GetProcAddress(module_.get(), "AtlAxWinInit")));
    getControl_ = reinterpret_cast<GetControlFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_.get(), "AtlAxGetControl")));
    ready_ = init && getControl_ && init();
}

HWND AtlAxLibrary::createHostWindow(HWND parent, const wchar_t* progId, const RECT& pos) const
{
    if (!ready_)
        return nullptr;
    return CreateWindowExW(0, L"AtlAxWin", progId, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, pos.left, pos.top,
                           pos.right - pos.left, pos.bottom - pos.top, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

HRESULT AtlAxLibrary::getControl(HWND hostWindow, IUnknown** control) const
{
    if (!control)
        return E_POINTER;
    *control = nullptr;
    return ready_ ? getControl_(hostWindow, control) : E_UNEXPECTED;
}

}  // namespace quor
