#include "OleHostSite.h"

#include <new>

#include "GdiHandles.h"
#include "Himetric.h"

using Microsoft::WRL::ComPtr;

namespace quor {

namespace {

SIZEL windowPixelsToHimetric(HWND window, LONG width, LONG height)
{
    WindowDC dc(window);
    const int perInchX = dc ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 96;
    const int perInchY = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    return SIZEL{pixelsToHimetric(width, perInchX), pixelsToHimetric(height, perInchY)};
}

}  // namespace

// ---- OleHostFrame ----

void* OleHostFrame::interfaceFor(REFIID riid)
{
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow ||
        riid == IID_IOleInPlaceFrame)
        return static_cast<IOleInPlaceFrame*>(this);
    return nullptr;
}

STDMETHODIMP OleHostFrame::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = frame_;
    return S_OK;
}

STDMETHODIMP OleHostFrame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    activeObject_ = object;
    return S_OK;
}

// ---- OleHostSite: life ----

ComPtr<OleHostSite> OleHostSite::make(HWND host)
{
    ComPtr<OleHostSite> site;
    site.Attach(new (std::nothrow) OleHostSite(host));
    return site;
}

OleHostSite::OleHostSite(HWND host) : host_(host)
{
    frame_.Attach(new OleHostFrame(host));
}

OleHostSite::~OleHostSite() = default;

void* OleHostSite::interfaceFor(REFIID riid)
{
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        return static_cast<IOleClientSite*>(this);
    if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        return static_cast<IOleInPlaceSite*>(this);
    if (riid == IID_IAdviseSink)
        return static_cast<IAdviseSink*>(this);
    return nullptr;
}

// ---- OleHostSite: what the host does ----

HRESULT OleHostSite::createControl(const wchar_t* progId)
{
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr))
        return hr;
    ComPtr<IUnknown> control;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                          reinterpret_cast<void**>(control.GetAddressOf()));
    return FAILED(hr) ? hr : attach(control.Get());
}

HRESULT OleHostSite::attach(IUnknown* control)
{
    if (!control)
        return E_POINTER;
    if (object_)
        return E_UNEXPECTED;
    HRESULT hr = control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object_.GetAddressOf()));
    if (FAILED(hr))
        return hr;
    DWORD misc = 0;
    object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst)
        object_->SetClientSite(this);
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(object_.As(&persist))) {
        hr = persist->InitNew();
        if (FAILED(hr)) {
            close();
            return hr;
        }
    }
    if (!siteFirst)
        object_->SetClientSite(this);
    object_->SetHostNames(L"QuorHost", nullptr);
    ComPtr<IViewObject> view;
    if (SUCCEEDED(object_.As(&view)))
        view->SetAdvise(DVASPECT_CONTENT, 0, this);
    return S_OK;
}

HRESULT OleHostSite::activate(const RECT& pos, LONG verb)
{
    if (!object_)
        return E_UNEXPECTED;
    setExtentFrom(pos);
    pos_ = pos;
    return object_->DoVerb(verb, nullptr, this, 0, host_, &pos_);
}

void OleHostSite::setExtentFrom(const RECT& pos)
{
    SIZEL extent = windowPixelsToHimetric(host_, pos.right - pos.left, pos.bottom - pos.top);
    object_->SetExtent(DVASPECT_CONTENT, &extent);
}

void OleHostSite::resize(const RECT& pos)
{
    pos_ = pos;
    if (!object_)
        return;
    setExtentFrom(pos);
    if (inPlaceObject_)
        inPlaceObject_->SetObjectRects(&pos_, &pos_);
    else
        InvalidateRect(host_, nullptr, TRUE);
}

HRESULT OleHostSite::drawInactive(HDC dc)
{
    ComPtr<IViewObject> view;
    if (!object_ || FAILED(object_.As(&view)))
        return E_UNEXPECTED;
    const RECTL bounds{pos_.left, pos_.top, pos_.right, pos_.bottom};
    return view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
}

HRESULT OleHostSite::deactivate()
{
    return inPlaceObject_ ? inPlaceObject_->InPlaceDeactivate() : S_OK;
}

void OleHostSite::close()
{
    if (!object_)
        return;
    ComPtr<IOleObject> object = object_;
    ComPtr<IViewObject> view;
    if (SUCCEEDED(object.As(&view)))
        view->SetAdvise(DVASPECT_CONTENT, 0, nullptr);
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    inPlaceObject_.Reset();
    object_.Reset();
}

HWND OleHostSite::controlWindow() const
{
    HWND window = nullptr;
    if (inPlaceObject_)
        inPlaceObject_->GetWindow(&window);
    return window;
}

// ---- IOleClientSite ----

STDMETHODIMP OleHostSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleHostSite::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

// ---- IOleInPlaceSite ----

STDMETHODIMP OleHostSite::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = host_;
    return S_OK;
}

STDMETHODIMP OleHostSite::OnInPlaceActivate()
{
    if (!object_)
        return E_UNEXPECTED;
    HRESULT hr = object_.As(&inPlaceObject_);
    if (FAILED(hr))
        return hr;
    inPlaceActive_ = true;
    return S_OK;
}

STDMETHODIMP OleHostSite::OnUIActivate()
{
    uiActive_ = true;
    return S_OK;
}

STDMETHODIMP OleHostSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT pos,
                                           LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (!frame || !document || !pos || !clip || !info)
        return E_POINTER;
    frame_.CopyTo(frame);
    *document = nullptr;  // the frame is the document window too
    *pos = pos_;
    GetClientRect(host_, clip);
    info->fMDIApp = FALSE;
    info->hwndFrame = host_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP OleHostSite::OnUIDeactivate(BOOL)
{
    uiActive_ = false;
    return S_OK;
}

STDMETHODIMP OleHostSite::OnInPlaceDeactivate()
{
    inPlaceActive_ = false;
    inPlaceObject_.Reset();
    return S_OK;
}

STDMETHODIMP OleHostSite::OnPosRectChange(LPCRECT pos)
{
    if (!pos)
        return E_POINTER;
    pos_ = *pos;
    if (inPlaceObject_)
        inPlaceObject_->SetObjectRects(&pos_, &pos_);
    return S_OK;
}

// ---- IAdviseSink ----

STDMETHODIMP_(void) OleHostSite::OnViewChange(DWORD, LONG)
{
    ++viewChanges_;
    if (!inPlaceActive_)
        InvalidateRect(host_, &pos_, FALSE);
}

}  // namespace quor
