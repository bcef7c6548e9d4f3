#include "OleControl.h"

#include "ComObject.h"
#include "GdiHandles.h"
#include "Himetric.h"

#include <cstddef>
#include <utility>

using Microsoft::WRL::ComPtr;

namespace quor {

namespace {

template <class Interface, class Path = Interface>
void* as(OleControlBase* self)
{
    return static_cast<Interface*>(static_cast<Path*>(self));
}

struct InterfaceEntry {
    const IID* iid;
    void* (*cast)(OleControlBase*);
};

// The order containers and tools expect; where two paths lead to one
// interface (IOleWindow, IPersist) the first listed one answers.
const InterfaceEntry kInterfaces[] = {
    {&IID_IViewObjectEx, as<IViewObjectEx>},
    {&IID_IViewObject2, as<IViewObject2, IViewObjectEx>},
    {&IID_IViewObject, as<IViewObject, IViewObjectEx>},
    {&IID_IOleInPlaceObjectWindowless, as<IOleInPlaceObjectWindowless>},
    {&IID_IOleInPlaceObject, as<IOleInPlaceObject, IOleInPlaceObjectWindowless>},
    {&IID_IOleWindow, as<IOleWindow, IOleInPlaceObjectWindowless>},
    {&IID_IOleInPlaceActiveObject, as<IOleInPlaceActiveObject>},
    {&IID_IOleControl, as<IOleControl>},
    {&IID_IOleObject, as<IOleObject>},
    {&IID_IPersistStreamInit, as<IPersistStreamInit>},
    {&IID_IPersist, as<IPersist, IPersistStreamInit>},
    {&IID_IConnectionPointContainer, as<IConnectionPointContainer>},
    {&IID_ISpecifyPropertyPages, as<ISpecifyPropertyPages>},
    {&IID_IQuickActivate, as<IQuickActivate>},
    {&IID_IPersistStorage, as<IPersistStorage>},
    {&IID_IDataObject, as<IDataObject>},
    {&IID_IProvideClassInfo, as<IProvideClassInfo, IProvideClassInfo2>},
    {&IID_IProvideClassInfo2, as<IProvideClassInfo2>},
};

constexpr DWORD kViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;

RECT toRect(const RECTL& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Enumerates the control's single connection point.
class SingleConnectionPointEnum final
    : public ComObject<SingleConnectionPointEnum, IEnumConnectionPoints> {
public:
    SingleConnectionPointEnum(IConnectionPoint* point, ULONG position)
        : point_(point), position_(position) {}

    void* interfaceFor(REFIID riid)
    {
        if (riid == IID_IUnknown || riid == IID_IEnumConnectionPoints)
            return static_cast<IEnumConnectionPoints*>(this);
        return nullptr;
    }

    STDMETHODIMP Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override
    {
        if (!points || (count > 1 && !fetched))
            return E_POINTER;
        ULONG given = 0;
        if (count > 0 && position_ == 0) {
            points[0] = point_.Get();
            points[0]->AddRef();
            position_ = 1;
            given = 1;
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        const bool enough = count == 0 || (position_ == 0 && count == 1);
        position_ = count > 0 ? 1 : position_;
        return enough ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumConnectionPoints** copy) override
    {
        if (!copy)
            return E_POINTER;
        *copy = new (std::nothrow) SingleConnectionPointEnum(point_.Get(), position_);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

private:
    ~SingleConnectionPointEnum() override = default;
    ComPtr<IConnectionPoint> point_;
    ULONG position_;
};

}  // namespace

// ---- EventConnectionPoint ----

STDMETHODIMP EventConnectionPoint::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EventConnectionPoint::AddRef() { return owner_.identity()->AddRef(); }
STDMETHODIMP_(ULONG) EventConnectionPoint::Release() { return owner_.identity()->Release(); }

STDMETHODIMP EventConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = owner_.eventsIid();
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    *container = static_cast<IConnectionPointContainer*>(&owner_);
    (*container)->AddRef();
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    // A dispinterface sink may answer only IDispatch; either is enough
    // since nothing is ever called on it.
    ComPtr<IUnknown> events;
    if (FAILED(sink->QueryInterface(owner_.eventsIid(), reinterpret_cast<void**>(events.GetAddressOf()))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(events.GetAddressOf()))))
        return CONNECT_E_CANNOTCONNECT;
    try {
        sinks_.emplace(nextCookie_, std::move(events));
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::Unadvise(DWORD cookie)
{
    return sinks_.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
}

STDMETHODIMP EventConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (connections)
        *connections = nullptr;
    return E_NOTIMPL;
}

// ---- OleControlBase: life and helpers ----

OleControlBase::OleControlBase() : eventPoint_(*this)
{
    setExtentPixels(320, 240);
}

OleControlBase::~OleControlBase() = default;

HRESULT OleControlBase::QueryOleInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    for (const InterfaceEntry& entry : kInterfaces) {
        if (riid == *entry.iid) {
            *ppv = entry.cast(this);
            identity()->AddRef();
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

void OleControlBase::setExtentPixels(int width, int height)
{
    extent_.cx = pixelsToHimetric(width, screenPixelsPerInch(LOGPIXELSX));
    extent_.cy = pixelsToHimetric(height, screenPixelsPerInch(LOGPIXELSY));
}

void OleControlBase::invalidateControl()
{
    if (inPlaceActive_ && window_)
        InvalidateRect(window_, nullptr, TRUE);
    else if (inPlaceActive_ && inPlaceSiteWindowless_)
        inPlaceSiteWindowless_->InvalidateRect(nullptr, TRUE);
    else
        sendViewChange();
}

void OleControlBase::sendViewChange()
{
    if (!viewSink_ || !(viewSinkAspects_ & DVASPECT_CONTENT))
        return;
    ComPtr<IAdviseSink> sink = viewSink_;
    if (viewSinkFlags_ & ADVF_ONLYONCE)
        viewSink_.Reset();
    sink->OnViewChange(DVASPECT_CONTENT, -1);
}

HRESULT OleControlBase::ensureAdviseHolder()
{
    return adviseHolder_ ? S_OK : CreateOleAdviseHolder(adviseHolder_.GetAddressOf());
}

void OleControlBase::shutDownOleControl()
{
    // No self-reference here: this runs from the destructor.
    deactivateInPlace();
    viewSink_.Reset();
    adviseHolder_.Reset();
    clientSite_.Reset();
}

// ---- in-place activation ----

HRESULT OleControlBase::enterInPlaceState()
{
    if (inPlaceActive_)
        return S_OK;
    if (!clientSite_)
        return E_UNEXPECTED;
    clientSite_.As(&inPlaceSiteWindowless_);
    clientSite_.As(&inPlaceSiteEx_);
    if (FAILED(clientSite_.As(&inPlaceSite_)))
        return E_NOINTERFACE;
    if (inPlaceSite_->CanInPlaceActivate() != S_OK) {
        releaseInPlaceSite();
        return E_FAIL;
    }
    HRESULT hr;
    if (inPlaceSiteEx_) {
        BOOL noRedraw = FALSE;
        hr = inPlaceSiteEx_->OnInPlaceActivateEx(&noRedraw, 0);  // 0: we want a window
    } else {
        hr = inPlaceSite_->OnInPlaceActivate();
    }
    if (FAILED(hr)) {
        releaseInPlaceSite();
        return hr;
    }
    inPlaceActive_ = true;
    return S_OK;
}

HRESULT OleControlBase::createWindowInSite()
{
    if (window_)
        return S_OK;
    HWND parent = nullptr;
    HRESULT hr = inPlaceSite_->GetWindow(&parent);
    if (FAILED(hr))
        return hr;
    if (!parent)
        return E_FAIL;
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    RECT position{};
    RECT clip{};
    hr = inPlaceSite_->GetWindowContext(frame_.ReleaseAndGetAddressOf(), uiWindow_.ReleaseAndGetAddressOf(),
                                        &position, &clip, &frameInfo);
    if (FAILED(hr))
        return hr;
    window_ = createControlWindow(parent, position);
    if (!window_)
        return E_FAIL;
    position_ = position;
    return S_OK;
}

HRESULT OleControlBase::uiActivate()
{
    if (uiActive_)
        return S_OK;
    const HRESULT hr = inPlaceSite_->OnUIActivate();
    if (FAILED(hr))
        return hr;
    uiActive_ = true;
    if (window_ && !IsChild(window_, GetFocus()))
        SetFocus(window_);
    auto* active = static_cast<IOleInPlaceActiveObject*>(this);
    if (frame_) {
        frame_->SetActiveObject(active, nullptr);
        frame_->SetBorderSpace(nullptr);
    }
    if (uiWindow_) {
        uiWindow_->SetActiveObject(active, nullptr);
        uiWindow_->SetBorderSpace(nullptr);
    }
    return S_OK;
}

void OleControlBase::showWindowIfHidden()
{
    if (window_ && !IsWindowVisible(window_))
        ShowWindow(window_, SW_SHOW);
}

HRESULT OleControlBase::inPlaceActivate(LONG verb)
{
    HRESULT hr = enterInPlaceState();
    if (FAILED(hr))
        return hr;
    hr = createWindowInSite();
    if (FAILED(hr)) {
        deactivateInPlace();
        return hr;
    }
    showWindowIfHidden();
    if (verb == OLEIVERB_UIACTIVATE || verb == OLEIVERB_PRIMARY)
        hr = uiActivate();
    if (clientSite_)
        clientSite_->ShowObject();
    return hr;
}

void OleControlBase::releaseInPlaceSite()
{
    frame_.Reset();
    uiWindow_.Reset();
    inPlaceSiteWindowless_.Reset();
    inPlaceSiteEx_.Reset();
    inPlaceSite_.Reset();
}

void OleControlBase::deactivateInPlace()
{
    if (!inPlaceActive_)
        return;
    UIDeactivate();
    inPlaceActive_ = false;
    if (HWND window = std::exchange(window_, nullptr); window && IsWindow(window))
        DestroyWindow(window);
    ComPtr<IOleInPlaceSite> site = inPlaceSite_;
    releaseInPlaceSite();
    if (site)
        site->OnInPlaceDeactivate();
}

STDMETHODIMP OleControlBase::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT)
{
    // The container may let go of us from inside one of its callbacks.
    ComPtr<IUnknown> keepAlive(identity());
    if (!clientSite_ && site)
        clientSite_ = site;
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return inPlaceActivate(verb);
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (window_)
            ShowWindow(window_, SW_HIDE);
        return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
        return S_OK;
    case OLEIVERB_OPEN:
    case OLEIVERB_PROPERTIES:
        return E_NOTIMPL;
    default:
        if (verb > 0) {
            const HRESULT hr = inPlaceActivate(OLEIVERB_PRIMARY);
            return FAILED(hr) ? hr : OLEOBJ_S_INVALIDVERB;
        }
        return E_NOTIMPL;
    }
}

STDMETHODIMP OleControlBase::InPlaceDeactivate()
{
    ComPtr<IUnknown> keepAlive(identity());
    deactivateInPlace();
    return S_OK;
}

STDMETHODIMP OleControlBase::UIDeactivate()
{
    if (!uiActive_)
        return S_OK;
    uiActive_ = false;
    if (uiWindow_)
        uiWindow_->SetActiveObject(nullptr, nullptr);
    if (frame_)
        frame_->SetActiveObject(nullptr, nullptr);
    if (inPlaceSite_)
        inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP OleControlBase::SetObjectRects(LPCRECT position, LPCRECT clip)
{
    if (!position || !clip)
        return E_POINTER;
    position_ = *position;
    if (!window_)
        return S_OK;
    const int width = position->right - position->left;
    const int height = position->bottom - position->top;
    SetWindowPos(window_, nullptr, position->left, position->top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Only the part inside the container's clip rectangle may show.
    RECT visible{};
    IntersectRect(&visible, position, clip);
    if (EqualRect(&visible, position)) {
        SetWindowRgn(window_, nullptr, TRUE);
        return S_OK;
    }
    OffsetRect(&visible, -position->left, -position->top);
    Region region(CreateRectRgnIndirect(&visible));
    if (region && SetWindowRgn(window_, region.get(), TRUE))
        region.release();  // the window owns it now
    return S_OK;
}

STDMETHODIMP OleControlBase::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

STDMETHODIMP OleControlBase::OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT* result)
{
    // Never windowless, so no container forwards messages for us to handle.
    if (result)
        *result = 0;
    return S_FALSE;
}

STDMETHODIMP OleControlBase::GetDropTarget(IDropTarget** target)
{
    if (target)
        *target = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleControlBase::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP OleControlBase::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// ---- IOleInPlaceActiveObject ----

STDMETHODIMP OleControlBase::TranslateAccelerator(MSG* msg)
{
    if (!msg)
        return E_POINTER;
    return translateControlAccelerator(msg);
}

STDMETHODIMP OleControlBase::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP OleControlBase::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP OleControlBase::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP OleControlBase::EnableModeless(BOOL) { return S_OK; }

// ---- IOleControl ----

STDMETHODIMP OleControlBase::GetControlInfo(CONTROLINFO* info)
{
    if (!info)
        return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP OleControlBase::OnMnemonic(MSG*) { return S_OK; }
STDMETHODIMP OleControlBase::OnAmbientPropertyChange(DISPID) { return S_OK; }

STDMETHODIMP OleControlBase::FreezeEvents(BOOL freeze)
{
    freezeCount_ += freeze ? 1 : (freezeCount_ > 0 ? -1 : 0);
    return S_OK;
}

// ---- IOleObject ----

STDMETHODIMP OleControlBase::SetClientSite(IOleClientSite* site)
{
    clientSite_ = site;
    return S_OK;
}

STDMETHODIMP OleControlBase::GetClientSite(IOleClientSite** site)
{
    if (!site)
        return E_POINTER;
    *site = clientSite_.Get();
    if (*site)
        (*site)->AddRef();
    return S_OK;
}

STDMETHODIMP OleControlBase::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP OleControlBase::Close(DWORD)
{
    ComPtr<IUnknown> keepAlive(identity());
    deactivateInPlace();  // nothing to save, whatever the option
    if (adviseHolder_)
        adviseHolder_->SendOnClose();
    viewSink_.Reset();
    return S_OK;
}

STDMETHODIMP OleControlBase::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP OleControlBase::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleControlBase::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP OleControlBase::GetClipboardData(DWORD, IDataObject** data)
{
    if (data)
        *data = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleControlBase::EnumVerbs(IEnumOLEVERB** verbs)
{
    if (!verbs)
        return E_POINTER;
    return OleRegEnumVerbs(controlClsid(), verbs);
}

STDMETHODIMP OleControlBase::Update() { return S_OK; }
STDMETHODIMP OleControlBase::IsUpToDate() { return S_OK; }

STDMETHODIMP OleControlBase::GetUserClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = controlClsid();
    return S_OK;
}

STDMETHODIMP OleControlBase::GetUserType(DWORD form, LPOLESTR* userType)
{
    if (!userType)
        return E_POINTER;
    return OleRegGetUserType(controlClsid(), form, userType);
}

STDMETHODIMP OleControlBase::SetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    extent_ = *size;
    return S_OK;
}

STDMETHODIMP OleControlBase::GetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP OleControlBase::Advise(IAdviseSink* sink, DWORD* connection)
{
    if (!sink || !connection)
        return E_POINTER;
    const HRESULT hr = ensureAdviseHolder();
    return FAILED(hr) ? hr : adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP OleControlBase::Unadvise(DWORD connection)
{
    return adviseHolder_ ? adviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP OleControlBase::EnumAdvise(IEnumSTATDATA** advises)
{
    if (!advises)
        return E_POINTER;
    *advises = nullptr;
    return adviseHolder_ ? adviseHolder_->EnumAdvise(advises) : S_OK;
}

STDMETHODIMP OleControlBase::GetMiscStatus(DWORD aspect, DWORD* status)
{
    if (!status)
        return E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? kControlMiscStatus : 0;
    return S_OK;
}

STDMETHODIMP OleControlBase::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// ---- IViewObject family ----

STDMETHODIMP OleControlBase::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                                  LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!dc)
        return E_INVALIDARG;
    RECT area{};
    if (bounds)
        area = toRect(*bounds);
    else if (inPlaceActive_)
        area = position_;
    else
        return E_INVALIDARG;
    SavedDCState saved(dc);
    try {
        drawContent(dc, area);
    } catch (...) {
        return E_FAIL;
    }
    return S_OK;
}

STDMETHODIMP OleControlBase::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors)
{
    if (colors)
        *colors = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleControlBase::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP OleControlBase::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP OleControlBase::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    viewSink_ = sink;
    viewSinkAspects_ = aspects;
    viewSinkFlags_ = flags;
    if (sink && (flags & ADVF_PRIMEFIRST))
        sendViewChange();
    return S_OK;
}

STDMETHODIMP OleControlBase::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects)
        *aspects = viewSinkAspects_;
    if (flags)
        *flags = viewSinkFlags_;
    if (sink) {
        *sink = viewSink_.Get();
        if (*sink)
            (*sink)->AddRef();
    }
    return S_OK;
}

STDMETHODIMP OleControlBase::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    return GetExtent(aspect, size);
}

STDMETHODIMP OleControlBase::GetRect(DWORD, LPRECTL) { return E_NOTIMPL; }

STDMETHODIMP OleControlBase::GetViewStatus(DWORD* status)
{
    if (!status)
        return E_POINTER;
    *status = kViewStatus;
    return S_OK;
}

STDMETHODIMP OleControlBase::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG, DWORD* hitResult)
{
    if (!bounds || !hitResult)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return E_FAIL;
    *hitResult = PtInRect(bounds, point) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP OleControlBase::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG, DWORD* hitResult)
{
    if (!bounds || !rect || !hitResult)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return E_FAIL;
    RECT overlap{};
    *hitResult = IntersectRect(&overlap, bounds, rect) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP OleControlBase::GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL)
{
    return E_NOTIMPL;
}

// ---- persistence: the control keeps nothing ----

STDMETHODIMP OleControlBase::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = controlClsid();
    return S_OK;
}

STDMETHODIMP OleControlBase::IsDirty() { return S_FALSE; }
STDMETHODIMP OleControlBase::Load(LPSTREAM stream) { return stream ? S_OK : E_POINTER; }
STDMETHODIMP OleControlBase::Save(LPSTREAM stream, BOOL) { return stream ? S_OK : E_POINTER; }

STDMETHODIMP OleControlBase::GetSizeMax(ULARGE_INTEGER* size)
{
    if (!size)
        return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
}

STDMETHODIMP OleControlBase::InitNew() { return S_OK; }
STDMETHODIMP OleControlBase::InitNew(IStorage*) { return S_OK; }
STDMETHODIMP OleControlBase::Load(IStorage* storage) { return storage ? S_OK : E_POINTER; }
STDMETHODIMP OleControlBase::Save(IStorage*, BOOL) { return S_OK; }
STDMETHODIMP OleControlBase::SaveCompleted(IStorage*) { return S_OK; }
STDMETHODIMP OleControlBase::HandsOffStorage() { return S_OK; }

// ---- connection points ----

STDMETHODIMP OleControlBase::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (!points)
        return E_POINTER;
    *points = new (std::nothrow) SingleConnectionPointEnum(&eventPoint_, 0);
    return *points ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP OleControlBase::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (riid != eventsIid())
        return CONNECT_E_NOCONNECTION;
    *point = &eventPoint_;
    eventPoint_.AddRef();
    return S_OK;
}

STDMETHODIMP OleControlBase::GetPages(CAUUID* pages)
{
    if (!pages)
        return E_POINTER;
    pages->cElems = 0;
    pages->pElems = nullptr;
    return S_OK;
}

// ---- IQuickActivate ----

STDMETHODIMP OleControlBase::QuickActivate(QACONTAINER* container, QACONTROL* control)
{
    if (!container || !control)
        return E_POINTER;
    // Older containers pass a shorter structure; the four sinks are all we read.
    if (container->cbSize < offsetof(QACONTAINER, dwAmbientFlags) || control->cbSize < sizeof(QACONTROL))
        return E_INVALIDARG;
    SetClientSite(container->pClientSite);
    if (container->pAdviseSink)
        SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
    DWORD eventCookie = 0;
    if (container->pUnkEventSink)
        eventPoint_.Advise(container->pUnkEventSink, &eventCookie);
    control->dwMiscStatus = kControlMiscStatus;
    control->dwViewStatus = kViewStatus;
    control->dwEventCookie = eventCookie;
    control->dwPropNotifyCookie = 0;
    control->dwPointerActivationPolicy = 0;
    return S_OK;
}

STDMETHODIMP OleControlBase::SetContentExtent(LPSIZEL size) { return SetExtent(DVASPECT_CONTENT, size); }
STDMETHODIMP OleControlBase::GetContentExtent(LPSIZEL size) { return GetExtent(DVASPECT_CONTENT, size); }

// ---- IDataObject: no formats ----

STDMETHODIMP OleControlBase::GetData(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }
STDMETHODIMP OleControlBase::GetDataHere(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }
STDMETHODIMP OleControlBase::QueryGetData(FORMATETC*) { return DV_E_FORMATETC; }

STDMETHODIMP OleControlBase::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    if (out)
        out->ptd = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleControlBase::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP OleControlBase::EnumFormatEtc(DWORD, IEnumFORMATETC** formats)
{
    if (formats)
        *formats = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleControlBase::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
STDMETHODIMP OleControlBase::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
STDMETHODIMP OleControlBase::EnumDAdvise(IEnumSTATDATA** advises)
{
    if (advises)
        *advises = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// ---- class info ----

STDMETHODIMP OleControlBase::GetClassInfo(ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    return classTypeInfo(info);
}

STDMETHODIMP OleControlBase::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid)
        return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = eventsIid();
    return S_OK;
}

}  // namespace quor
