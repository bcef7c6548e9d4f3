// Hosting a control in the system's "AtlAxWin" window class: the window's
// title is the ProgID, and the class creates and activates the control.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "UniqueHandle.h"

namespace quor {

class AtlAxLibrary {
public:
    AtlAxLibrary();
    AtlAxLibrary(const AtlAxLibrary&) = delete;
    AtlAxLibrary& operator=(const AtlAxLibrary&) = delete;

    // atl.dll loaded and its window class registered.
    bool ready() const { return ready_; }
    // A child of parent hosting the control named by progId.
    HWND createHostWindow(HWND parent, const wchar_t* progId, const RECT& pos) const;
    // The hosted control's IUnknown.
    HRESULT getControl(HWND hostWindow, IUnknown** control) const;

private:
    using GetControlFunction = HRESULT(WINAPI*)(HWND, IUnknown**);
    // The windows of its class must be gone when it is freed.
    LoadedModule module_;
    GetControlFunction getControl_ = nullptr;
    bool ready_ = false;
};

}  // namespace quor
