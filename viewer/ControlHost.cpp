#include "ControlHost.h"

#include <ocidl.h>

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

// The container side of in-place activation, as little of it as a control
// living in one fixed rectangle needs.
class ControlSite final : public IOleClientSite, public IOleInPlaceSite {
public:
    explicit ControlSite(HWND window) : window_(window) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IOleClientSite)
            *object = static_cast<IOleClientSite*>(this);
        else if (riid == IID_IOleInPlaceSite || riid == IID_IOleWindow)
            *object = static_cast<IOleInPlaceSite*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG refs = InterlockedDecrement(&refs_);
        if (refs == 0)
            delete this;
        return refs;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        if (moniker)
            *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** container) override
    {
        if (container)
            *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override
    {
        if (!window)
            return E_POINTER;
        *window = window_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override
    {
        if (!frame || !document || !position || !clip)
            return E_POINTER;
        *frame = nullptr;
        *document = nullptr;
        GetClientRect(window_, position);
        *clip = *position;
        if (info) {
            info->fMDIApp = FALSE;
            info->hwndFrame = GetParent(window_);
            info->haccel = nullptr;
            info->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

private:
    ~ControlSite() = default;
    LONG refs_ = 1;
    HWND window_;
};

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
    if (FAILED(control_.As(&oleObject_)))
        return;
    site_.Attach(new ControlSite(window_));
    oleObject_->SetClientSite(site_.Get());
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(control_.As(&persist)))
        persist->InitNew();
    RECT rect;
    GetClientRect(window_, &rect);
    oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, window_, &rect);
}

void ControlHost::fitControl()
{
    ComPtr<IOleInPlaceObject> inPlace;
    if (!oleObject_ || FAILED(oleObject_.As(&inPlace)))
        return;
    RECT rect;
    GetClientRect(window_, &rect);
    inPlace->SetObjectRects(&rect, &rect);
}

ControlHost::~ControlHost()
{
    if (oleObject_) {
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(oleObject_.As(&inPlace)))
            inPlace->InPlaceDeactivate();
        oleObject_->Close(OLECLOSE_NOSAVE);
        oleObject_->SetClientSite(nullptr);
    }
    oleObject_.Reset();
    control_.Reset();
    site_.Reset();
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
}

}  // namespace quor
