#include "ControlHost.h"

using Microsoft::WRL::ComPtr;

namespace quor {

namespace {

const wchar_t kHostClass[] = L"QuorControlHost";

bool registerHostClass(HINSTANCE instance)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, kHostClass, &wc))
        return true;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kHostClass;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

HRESULT ControlHost::create(HWND placeholder, const wchar_t* progId, std::unique_ptr<ControlHost>& host)
{
    host.reset();
    HWND dialog = GetParent(placeholder);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    if (!placeholder || !dialog || !registerHostClass(instance))
        return E_FAIL;
    RECT rect;
    GetWindowRect(placeholder, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    const int id = GetDlgCtrlID(placeholder);
    DestroyWindow(placeholder);

    std::unique_ptr<ControlHost> made(new ControlHost);
    made->window_ = CreateWindowExW(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP,
                                    rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!made->window_)
        return E_FAIL;
    HRESULT hr = made->createControl(progId);
    if (FAILED(hr))
        return hr;
    made->activateInPlace();
    host = std::move(made);
    return S_OK;
}

HRESULT ControlHost::createControl(const wchar_t* progId)
{
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr))
        return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                            reinterpret_cast<void**>(control_.GetAddressOf()));
}

// A control without the in-place protocol stays usable through its
// automation interface; it just has no window of its own.
void ControlHost::activateInPlace()
{
    ComPtr<OleHostSite> site = OleHostSite::make(window_);
    if (!site || FAILED(site->attach(control_.Get())))
        return;
    site_ = site;
    site_->activate(clientRect());
}

RECT ControlHost::clientRect() const
{
    RECT rect{};
    GetClientRect(window_, &rect);
    return rect;
}

void ControlHost::fitControl()
{
    if (site_)
        site_->resize(clientRect());
}

ControlHost::~ControlHost()
{
    if (site_) {
        site_->deactivate();
        site_->close();
    }
    site_.Reset();
    control_.Reset();
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
}

}  // namespace quor
