// A child window that hosts one ActiveX control created by ProgID, in place
// of a placeholder control of a dialog, through the project's OleHostSite.
// The control is created even when it cannot be activated in place, so
// that its automation interface serves.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

#include <memory>

#include "OleHostSite.h"

namespace quor {

class ControlHost {
public:
    // Replaces the placeholder by a host window with the same id and
    // rectangle and creates the control in it.
    static HRESULT create(HWND placeholder, const wchar_t* progId, std::unique_ptr<ControlHost>& host);
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    IUnknown* control() const { return control_.Get(); }
    HWND window() const { return window_; }
    // Sizes the control to the host window after the host was moved.
    void fitControl();

private:
    ControlHost() = default;
    HRESULT createControl(const wchar_t* progId);
    void activateInPlace();
    RECT clientRect() const;

    HWND window_ = nullptr;
    Microsoft::WRL::ComPtr<IUnknown> control_;
    Microsoft::WRL::ComPtr<OleHostSite> site_;
};

}  // namespace quor
