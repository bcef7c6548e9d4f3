// The control protocol base driven through the test container, with a
// dummy control that paints one colour.
#include "AtlAxHost.h"
#include "OleControl.h"
#include "OleHostSite.h"
#include "OleTestSupport.h"

#include <gtest/gtest.h>

#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace quor {

using test::rectInParent;

namespace {

// {5D3A0C52-7C1E-4E0B-9C2B-3F0A9E51D001}
const CLSID kDummyClsid = {0x5d3a0c52, 0x7c1e, 0x4e0b, {0x9c, 0x2b, 0x3f, 0x0a, 0x9e, 0x51, 0xd0, 0x01}};
// {5D3A0C52-7C1E-4E0B-9C2B-3F0A9E51D002}
const IID kDummyEventsIid = {0x5d3a0c52, 0x7c1e, 0x4e0b, {0x9c, 0x2b, 0x3f, 0x0a, 0x9e, 0x51, 0xd0, 0x02}};
const char kDummyClass[] = "QuorDummyOleControl";
constexpr COLORREF kDummyColour = RGB(255, 0, 0);

class DummyControl final : public OleControlBase {
public:
    static ComPtr<DummyControl> make()
    {
        ComPtr<DummyControl> control;
        control.Attach(new DummyControl);
        return control;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv && riid == IID_IUnknown) {
            *ppv = static_cast<IOleObject*>(this);
            AddRef();
            return S_OK;
        }
        return QueryOleInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG refs = --refs_;
        if (refs == 0)
            delete this;
        return refs;
    }

    void invalidate() { invalidateControl(); }
    static int liveWindows;

private:
    DummyControl() = default;
    ~DummyControl() override { shutDownOleControl(); }

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<DummyControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            ++liveWindows;
        } else if (message == WM_DESTROY) {
            reinterpret_cast<DummyControl*>(GetWindowLongPtrA(window, GWLP_USERDATA))->onControlWindowDestroyed();
            --liveWindows;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND createControlWindow(HWND parent, const RECT& pos) override
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &DummyControl::windowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kDummyClass;
        RegisterClassA(&wc);
        return CreateWindowExA(0, kDummyClass, "", WS_CHILD | WS_VISIBLE, pos.left, pos.top, pos.right - pos.left,
                               pos.bottom - pos.top, parent, nullptr, GetModuleHandleA(nullptr), this);
    }
    void drawContent(HDC dc, const RECT& bounds) override
    {
        // Deliberately leaves its brush selected: the base must restore the DC.
        SelectObject(dc, CreateSolidBrush(kDummyColour));
        SelectObject(dc, GetStockObject(NULL_PEN));
        Rectangle(dc, bounds.left, bounds.top, bounds.right + 1, bounds.bottom + 1);
        DeleteObject(SelectObject(dc, GetStockObject(WHITE_BRUSH)));
    }
    const CLSID& controlClsid() const override { return kDummyClsid; }
    const IID& eventsIid() const override { return kDummyEventsIid; }
    HRESULT classTypeInfo(ITypeInfo**) override { return E_NOTIMPL; }

    ULONG refs_ = 1;
};

int DummyControl::liveWindows = 0;

// A sink for the events connection point: only its identity is used.
class EventSink final : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    ULONG refs = 1;
};

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

template <class Interface>
ComPtr<Interface> query(IUnknown* object, REFIID iid)
{
    ComPtr<Interface> result;
    object->QueryInterface(iid, reinterpret_cast<void**>(result.GetAddressOf()));
    return result;
}

template <class Interface>
ComPtr<Interface> query(DummyControl* control, REFIID iid)
{
    return query<Interface>(static_cast<IOleObject*>(control), iid);
}

class OleControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(apartment_.ok());
        control_ = DummyControl::make();
        site_ = OleHostSite::make(host_.get());
        ASSERT_EQ(S_OK, site_->attach(static_cast<IOleObject*>(control_.Get())));
    }
    void TearDown() override
    {
        site_->close();
        site_.Reset();
        control_.Reset();
        EXPECT_EQ(0, DummyControl::liveWindows);
    }

    test::OleApartment apartment_;
    test::TestWindow host_{"QuorOleTestHost", hostProc};
    ComPtr<DummyControl> control_;
    ComPtr<OleHostSite> site_;
};

TEST_F(OleControlTest, AnswersTheControlInterfacesWithOneIdentity)
{
    const IID* interfaces[] = {
        &IID_IViewObjectEx, &IID_IViewObject2, &IID_IViewObject, &IID_IOleInPlaceObjectWindowless,
        &IID_IOleInPlaceObject, &IID_IOleWindow, &IID_IOleInPlaceActiveObject, &IID_IOleControl,
        &IID_IOleObject, &IID_IPersistStreamInit, &IID_IPersist, &IID_IConnectionPointContainer,
        &IID_ISpecifyPropertyPages, &IID_IQuickActivate, &IID_IPersistStorage, &IID_IDataObject,
        &IID_IProvideClassInfo, &IID_IProvideClassInfo2,
    };
    ComPtr<IUnknown> identity = query<IUnknown>(control_.Get(), IID_IUnknown);
    for (const IID* iid : interfaces) {
        ComPtr<IUnknown> answer = query<IUnknown>(control_.Get(), *iid);
        ASSERT_TRUE(answer);
        EXPECT_EQ(identity.Get(), query<IUnknown>(answer.Get(), IID_IUnknown).Get());
    }
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, control_->QueryOleInterface(IID_IDispatch, &none));
    EXPECT_EQ(nullptr, none);
}

TEST_F(OleControlTest, SharedBasesAreAnsweredByTheFirstListedInterface)
{
    auto pointer = [&](REFIID iid) { return query<IUnknown>(control_.Get(), iid).Get(); };
    EXPECT_EQ(pointer(IID_IOleInPlaceObjectWindowless), pointer(IID_IOleWindow));
    EXPECT_NE(pointer(IID_IOleInPlaceActiveObject), pointer(IID_IOleWindow));
    EXPECT_EQ(pointer(IID_IPersistStreamInit), pointer(IID_IPersist));
    EXPECT_EQ(pointer(IID_IViewObjectEx), pointer(IID_IViewObject));
    EXPECT_EQ(pointer(IID_IProvideClassInfo2), pointer(IID_IProvideClassInfo));
}

TEST_F(OleControlTest, InPlaceActivationCreatesTheWindowInTheSite)
{
    const RECT pos{10, 20, 210, 170};
    ASSERT_EQ(S_OK, site_->activate(pos));
    EXPECT_TRUE(site_->inPlaceActive());
    EXPECT_FALSE(site_->uiActive());
    HWND window = site_->controlWindow();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(host_.get(), GetParent(window));
    const RECT placed = rectInParent(window);
    EXPECT_TRUE(EqualRect(&pos, &placed));
    EXPECT_EQ(window, control_->controlWindow());
}

TEST_F(OleControlTest, SetObjectRectsMovesAndDeactivationDestroysTheWindow)
{
    ASSERT_EQ(S_OK, site_->activate(RECT{0, 0, 100, 100}));
    HWND window = site_->controlWindow();
    const RECT moved{30, 40, 330, 240};
    site_->resize(moved);
    const RECT placed = rectInParent(window);
    EXPECT_TRUE(EqualRect(&moved, &placed));

    ASSERT_EQ(S_OK, site_->deactivate());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(site_->inPlaceActive());
    HWND none = reinterpret_cast<HWND>(1);
    EXPECT_EQ(E_FAIL, query<IOleWindow>(control_.Get(), IID_IOleWindow)->GetWindow(&none));
    EXPECT_EQ(nullptr, none);
}

TEST_F(OleControlTest, UiActivationRegistersWithTheFrameUntilClose)
{
    ASSERT_EQ(S_OK, site_->activate(RECT{0, 0, 100, 100}, OLEIVERB_UIACTIVATE));
    EXPECT_TRUE(site_->uiActive());
    ComPtr<IOleInPlaceActiveObject> active = query<IOleInPlaceActiveObject>(control_.Get(),
                                                                            IID_IOleInPlaceActiveObject);
    EXPECT_EQ(active.Get(), site_->activeObject());
    EXPECT_EQ(site_->controlWindow(), GetFocus());

    HWND window = site_->controlWindow();
    ASSERT_EQ(S_OK, query<IOleObject>(control_.Get(), IID_IOleObject)->Close(OLECLOSE_NOSAVE));
    EXPECT_FALSE(site_->uiActive());
    EXPECT_FALSE(site_->inPlaceActive());
    EXPECT_EQ(nullptr, site_->activeObject());
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(OleControlTest, AWindowDestroyedWithItsParentLeavesNoStaleHandle)
{
    test::TestWindow otherHost("QuorOleTestOtherHost", hostProc);
    ComPtr<OleHostSite> site = OleHostSite::make(otherHost.get());
    ComPtr<DummyControl> control = DummyControl::make();
    ASSERT_EQ(S_OK, site->attach(static_cast<IOleObject*>(control.Get())));
    ASSERT_EQ(S_OK, site->activate(RECT{0, 0, 50, 50}));
    DestroyWindow(otherHost.get());
    EXPECT_EQ(nullptr, control->controlWindow());
    site->close();
}

TEST_F(OleControlTest, DrawPaintsIntoAMemoryDcAndRestoresIt)
{
    test::PixelCanvas canvas(64, 64);
    HGDIOBJ brushBefore = GetCurrentObject(canvas.dc(), OBJ_BRUSH);
    ComPtr<IViewObject> view = query<IViewObject>(control_.Get(), IID_IViewObject);
    const RECTL bounds{8, 8, 40, 40};
    ASSERT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, canvas.dc(), &bounds, nullptr,
                               nullptr, 0));
    EXPECT_EQ(kDummyColour, canvas.at(8, 8));
    EXPECT_EQ(kDummyColour, canvas.at(39, 39));
    EXPECT_EQ(RGB(255, 255, 255), canvas.at(50, 50));
    EXPECT_EQ(RGB(255, 255, 255), canvas.at(7, 7));
    EXPECT_EQ(brushBefore, GetCurrentObject(canvas.dc(), OBJ_BRUSH));

    EXPECT_EQ(DV_E_DVASPECT, view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, canvas.dc(), &bounds,
                                        nullptr, nullptr, 0));
    EXPECT_EQ(E_INVALIDARG, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, canvas.dc(), nullptr,
                                       nullptr, nullptr, 0));
}

TEST_F(OleControlTest, InvalidationGoesToTheViewSinkWhenInactiveAndToTheWindowWhenActive)
{
    const long before = site_->viewChanges();
    control_->invalidate();
    EXPECT_EQ(before + 1, site_->viewChanges());

    ShowWindow(host_.get(), SW_SHOWNA);  // a hidden window keeps no update region
    ASSERT_EQ(S_OK, site_->activate(RECT{0, 0, 100, 100}));
    HWND window = site_->controlWindow();
    ValidateRect(window, nullptr);
    control_->invalidate();
    RECT dirty{};
    EXPECT_TRUE(GetUpdateRect(window, &dirty, FALSE));
    EXPECT_EQ(before + 1, site_->viewChanges());
}

TEST_F(OleControlTest, ExtentAndMiscStatus)
{
    ComPtr<IOleObject> object = query<IOleObject>(control_.Get(), IID_IOleObject);
    SIZEL extent{5000, 2500};
    ASSERT_EQ(S_OK, object->SetExtent(DVASPECT_CONTENT, &extent));
    SIZEL read{};
    ASSERT_EQ(S_OK, object->GetExtent(DVASPECT_CONTENT, &read));
    EXPECT_EQ(5000, read.cx);
    EXPECT_EQ(2500, read.cy);
    EXPECT_EQ(DV_E_DVASPECT, object->SetExtent(DVASPECT_ICON, &extent));
    DWORD misc = 0;
    ASSERT_EQ(S_OK, object->GetMiscStatus(DVASPECT_CONTENT, &misc));
    EXPECT_EQ(0x20191u, misc);
}

TEST_F(OleControlTest, TheEventsConnectionPointKeepsAdvises)
{
    ComPtr<IConnectionPointContainer> container =
        query<IConnectionPointContainer>(control_.Get(), IID_IConnectionPointContainer);
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IDispatch, point.GetAddressOf()));
    ASSERT_EQ(S_OK, container->FindConnectionPoint(kDummyEventsIid, point.GetAddressOf()));
    IID iid{};
    point->GetConnectionInterface(&iid);
    EXPECT_TRUE(IsEqualIID(kDummyEventsIid, iid));

    EventSink sink;
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(&sink, &cookie));
    EXPECT_NE(0u, cookie);
    EXPECT_EQ(2u, sink.refs);
    EXPECT_EQ(S_OK, point->Unadvise(cookie));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie));
    EXPECT_EQ(1u, sink.refs);

    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(S_OK, container->EnumConnectionPoints(points.GetAddressOf()));
    IConnectionPoint* listed[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, points->Next(2, listed, &fetched));
    ASSERT_EQ(1u, fetched);
    EXPECT_EQ(point.Get(), listed[0]);
    listed[0]->Release();
}

TEST_F(OleControlTest, QuickActivateTakesTheSiteAndReportsTheStatus)
{
    ComPtr<DummyControl> control = DummyControl::make();
    EventSink sink;
    QACONTAINER container{};
    container.cbSize = sizeof container;
    container.pClientSite = site_.Get();
    container.pUnkEventSink = &sink;
    QACONTROL reply{};
    reply.cbSize = sizeof reply;
    ASSERT_EQ(S_OK, control->QuickActivate(&container, &reply));
    EXPECT_EQ(0x20191u, reply.dwMiscStatus);
    EXPECT_NE(0u, reply.dwEventCookie);
    ComPtr<IOleClientSite> site;
    control->GetClientSite(site.GetAddressOf());
    EXPECT_EQ(static_cast<IOleClientSite*>(site_.Get()), site.Get());
    control->SetClientSite(nullptr);
}

TEST_F(OleControlTest, PersistsNothingAndOffersNoPagesOrFormats)
{
    EXPECT_EQ(S_FALSE, query<IPersistStreamInit>(control_.Get(), IID_IPersistStreamInit)->IsDirty());
    CAUUID pages{7, reinterpret_cast<GUID*>(1)};
    ASSERT_EQ(S_OK, query<ISpecifyPropertyPages>(control_.Get(), IID_ISpecifyPropertyPages)->GetPages(&pages));
    EXPECT_EQ(0u, pages.cElems);
    EXPECT_EQ(nullptr, pages.pElems);
    FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(DV_E_FORMATETC, query<IDataObject>(control_.Get(), IID_IDataObject)->QueryGetData(&text));
    GUID events{};
    ASSERT_EQ(S_OK, query<IProvideClassInfo2>(control_.Get(), IID_IProvideClassInfo2)
                        ->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
    EXPECT_TRUE(IsEqualGUID(kDummyEventsIid, events));
}

// Makes dummy controls for CoCreateInstance inside this process.
class DummyFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        ComPtr<DummyControl> control = DummyControl::make();
        return static_cast<IOleObject*>(control.Get())->QueryInterface(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

TEST_F(OleControlTest, TheSystemAtlAxWinClassHostsTheControl)
{
    DummyFactory factory;
    DWORD registration = 0;
    ASSERT_EQ(S_OK, CoRegisterClassObject(kDummyClsid, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                          &registration));
    {
        AtlAxLibrary atl;
        ASSERT_TRUE(atl.ready());
        wchar_t clsidText[40] = {};
        StringFromGUID2(kDummyClsid, clsidText, 40);
        HWND axWindow = atl.createHostWindow(host_.get(), clsidText, RECT{0, 0, 200, 100});
        ASSERT_TRUE(axWindow);
        ComPtr<IUnknown> hosted;
        ASSERT_EQ(S_OK, atl.getControl(axWindow, hosted.GetAddressOf()));
        ComPtr<IOleWindow> window = query<IOleWindow>(hosted.Get(), IID_IOleWindow);
        HWND controlWindow = nullptr;
        ASSERT_EQ(S_OK, window->GetWindow(&controlWindow));
        EXPECT_TRUE(IsChild(axWindow, controlWindow));
        hosted.Reset();
        window.Reset();
        DestroyWindow(axWindow);
        EXPECT_FALSE(IsWindow(controlWindow));
    }
    CoRevokeClassObject(registration);
}

}  // namespace

}  // namespace quor
