// Module state, the class factory and the in-process server entry points.
#include "GridModule.h"

#include <wrl/client.h>

#include <new>

#include "LocaleCollation.h"
#include "QuorGridControl.h"
#include "QuorGrid_h.h"

namespace quor {

namespace {

HINSTANCE g_instance = nullptr;
LONG g_lockCount = 0;

class GridClassFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    // The factory is a static object: its references do not keep the
    // module loaded, LockServer does.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        QuorGridControl* control = new (std::nothrow) QuorGridControl;
        if (!control)
            return E_OUTOFMEMORY;
        HRESULT hr = control->QueryInterface(riid, object);
        control->Release();
        return hr;
    }

    STDMETHODIMP LockServer(BOOL lockIt) override
    {
        if (lockIt)
            GridModule::lock();
        else
            GridModule::unlock();
        return S_OK;
    }
};

GridClassFactory g_classFactory;

}  // namespace

namespace GridModule {

HINSTANCE instance()
{
    return g_instance;
}

std::wstring path()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(g_instance, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::wstring();
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

void lock()
{
    InterlockedIncrement(&g_lockCount);
}

void unlock()
{
    InterlockedDecrement(&g_lockCount);
}

LONG lockCount()
{
    return InterlockedCompareExchange(&g_lockCount, 0, 0);
}

HRESULT loadTypeLib(ITypeLib** typeLib)
{
    const std::wstring modulePath = path();
    if (modulePath.empty())
        return HRESULT_FROM_WIN32(GetLastError());
    return LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, typeLib);
}

HRESULT loadTypeInfo(REFGUID guid, ITypeInfo** typeInfo)
{
    Microsoft::WRL::ComPtr<ITypeLib> typeLib;
    HRESULT hr = loadTypeLib(&typeLib);
    if (FAILED(hr))
        return hr;
    return typeLib->GetTypeInfoOfGuid(guid, typeInfo);
}

}  // namespace GridModule

}  // namespace quor

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        quor::g_instance = instance;
        DisableThreadLibraryCalls(instance);
        // Every grid sorts and finds by the user's locale.
        quor::useCollation(&quor::localeCollation());
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_QuorGridControl)
        return CLASS_E_CLASSNOTAVAILABLE;
    return quor::g_classFactory.QueryInterface(riid, object);
}

STDAPI DllCanUnloadNow()
{
    return quor::GridModule::lockCount() == 0 ? S_OK : S_FALSE;
}
