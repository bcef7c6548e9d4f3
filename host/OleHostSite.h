// The project's ActiveX container: one site in one host window, with the
// frame the control asks for while it is in-place active. The viewer's
// grids, quorhost, and the grid's tests and benchmarks all host through it.
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <windows.h>
#include <wrl/client.h>

#include "ComObject.h"

namespace quor {

// The in-place frame: the host window itself, with no menus or tool space.
class OleHostFrame final : public ComObject<OleHostFrame, IOleInPlaceFrame> {
public:
    explicit OleHostFrame(HWND frame) : frame_(frame) {}

    IOleInPlaceActiveObject* activeObject() const { return activeObject_.Get(); }
    void* interfaceFor(REFIID riid);

    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    ~OleHostFrame() override = default;
    HWND frame_;
    Microsoft::WRL::ComPtr<IOleInPlaceActiveObject> activeObject_;
};

class OleHostSite final
    : public ComObject<OleHostSite, IOleClientSite, IOleInPlaceSite, IAdviseSink> {
public:
    // A site whose control becomes a child of host.
    static Microsoft::WRL::ComPtr<OleHostSite> make(HWND host);

    // Creates the control by ProgID and attaches it.
    HRESULT createControl(const wchar_t* progId);
    // Takes a control made elsewhere: client site, InitNew, view advise.
    HRESULT attach(IUnknown* control);
    // DoVerb with the given verb at pos (host client coordinates).
    HRESULT activate(const RECT& pos, LONG verb = OLEIVERB_INPLACEACTIVATE);
    // New position for an active control, new extent for an inactive one.
    void resize(const RECT& pos);
    // Paints an inactive control into dc through its view.
    HRESULT drawInactive(HDC dc);
    HRESULT deactivate();
    // Close, unadvise and let go of the control.
    void close();

    IUnknown* control() const { return object_.Get(); }
    HWND controlWindow() const;
    bool inPlaceActive() const { return inPlaceActive_; }
    bool uiActive() const { return uiActive_; }
    long viewChanges() const { return viewChanges_; }
    IOleInPlaceActiveObject* activeObject() const { return frame_->activeObject(); }
    void* interfaceFor(REFIID riid);

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow / IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT pos,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override;

    // IAdviseSink
    STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    STDMETHODIMP_(void) OnViewChange(DWORD aspect, LONG index) override;
    STDMETHODIMP_(void) OnRename(IMoniker*) override {}
    STDMETHODIMP_(void) OnSave() override {}
    STDMETHODIMP_(void) OnClose() override {}

private:
    explicit OleHostSite(HWND host);
    ~OleHostSite() override;
    void setExtentFrom(const RECT& pos);

    HWND host_;
    RECT pos_{};
    Microsoft::WRL::ComPtr<OleHostFrame> frame_;
    Microsoft::WRL::ComPtr<IOleObject> object_;
    Microsoft::WRL::ComPtr<IOleInPlaceObject> inPlaceObject_;
    bool inPlaceActive_ = false;
    bool uiActive_ = false;
    long viewChanges_ = 0;
};

}  // namespace quor
