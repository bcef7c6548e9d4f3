#include "QuorGridControl.h"

#include "GridModule.h"
#include "ScriptOutArgs.h"

namespace quor {

// The model's enumerations are the interface's numbers under its own names.
static_assert(rowSelected == Selected && rowUnselected == Unselected && rowToggle == Toggle);
static_assert(selectRow == SelectRow && selectCell == SelectCell && selectColumn == SelectColumn &&
              selectNothing == NoSelect && selectToggleCell == ToggleCell);
static_assert(sortNone == None && sortAscending == Ascending && sortDescending == Descending);
static_assert(linesNone == gridLinesNone && linesHorizontal == gridLinesHoriz && linesVertical == gridLinesVert &&
              linesBoth == gridLinesBoth);
static_assert(alignLeft == Grid_TA_LEFT && alignRight == Grid_TA_RIGHT && alignCenter == Grid_TA_CENTER);
static_assert(sizeof(Colour) == sizeof(OLE_COLOR) && rgbColour(1, 2, 3) == RGB(1, 2, 3));

namespace {

HFONT makeGridFont()
{
    return CreateFontA(-MulDiv(8, screenPixelsPerInchY(), 72), 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
}

}  // namespace

QuorGridControl::QuorGridControl()
    : gridFont_(makeGridFont()), gridLinePen_(CreatePen(PS_SOLID, 1, core_.view().gridLineColor))
{
    core_.view().invalidator = [this] { invalidateControl(); };
    GridModule::lock();
}

QuorGridControl::~QuorGridControl()
{
    // The window goes first, while the children and the buffer still exist.
    shutDownOleControl();
    GridModule::unlock();
}

STDMETHODIMP QuorGridControl::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IQuorGridControl || riid == IID_IDispatch) {
        *object = static_cast<IQuorGridControl*>(this);
        AddRef();
        return S_OK;
    }
    return queryOleInterface(riid, object);
}

HRESULT QuorGridControl::queryOleInterface(REFIID riid, void** object)
{
    return QueryOleInterface(riid, object);
}

const CLSID& QuorGridControl::controlClsid() const
{
    return CLSID_QuorGridControl;
}

const IID& QuorGridControl::eventsIid() const
{
    return DIID__IQuorGridControlEvents;
}

HRESULT QuorGridControl::classTypeInfo(ITypeInfo** info)
{
    return GridModule::loadTypeInfo(CLSID_QuorGridControl, info);
}

STDMETHODIMP_(ULONG) QuorGridControl::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&refCount_));
}

STDMETHODIMP_(ULONG) QuorGridControl::Release()
{
    const LONG count = InterlockedDecrement(&refCount_);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

HRESULT QuorGridControl::typeInfo(ITypeInfo** info)
{
    if (!typeInfo_) {
        HRESULT hr = GridModule::loadTypeInfo(IID_IQuorGridControl, &typeInfo_);
        if (FAILED(hr))
            return hr;
    }
    *info = typeInfo_.Get();
    (*info)->AddRef();
    return S_OK;
}

STDMETHODIMP QuorGridControl::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP QuorGridControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return typeInfo(info);
}

HRESULT QuorGridControl::dispatchTypeInfo(REFIID riid, ITypeInfo** info)
{
    return riid == IID_NULL ? typeInfo(info) : DISP_E_UNKNOWNINTERFACE;
}

STDMETHODIMP QuorGridControl::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT nameCount, LCID, DISPID* ids)
{
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    HRESULT hr = dispatchTypeInfo(riid, &info);
    if (FAILED(hr))
        return hr;
    return DispGetIDsOfNames(info.Get(), names, nameCount, ids);
}

STDMETHODIMP QuorGridControl::Invoke(DISPID member, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    HRESULT hr = dispatchTypeInfo(riid, &info);
    if (FAILED(hr))
        return hr;
    try {
        ScriptOutArgs arguments(info.Get(), member, params);
        hr = info->Invoke(static_cast<IQuorGridControl*>(this), member, flags, arguments.params(), result, exception,
                          argumentError);
        if (SUCCEEDED(hr))
            arguments.deliver();
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace quor
