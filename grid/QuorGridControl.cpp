#include "QuorGridControl.h"

#include "QuorGridModule.h"
#include "ScriptOutArgs.h"

QuorGridControl::QuorGridControl()
{
    QuorGridModule::lock();
}

QuorGridControl::~QuorGridControl()
{
    QuorGridModule::unlock();
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

// The seam for OleControlBase::QueryOleInterface: once the control derives
// from it, this forwards there and answers the standard control interfaces.
HRESULT QuorGridControl::queryOleInterface(REFIID, void**)
{
    return E_NOINTERFACE;
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
        HRESULT hr = QuorGridModule::loadTypeInfo(IID_IQuorGridControl, &typeInfo_);
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
        return info->Invoke(static_cast<IQuorGridControl*>(this), member, flags, arguments.params(), result,
                            exception, argumentError);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
