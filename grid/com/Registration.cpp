// DllRegisterServer / DllUnregisterServer: the class, its two ProgIDs, the
// control entries and the type library, written by code rather than a
// registrar script.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "GridGuard.h"
#include "GridModule.h"
#include "QuorGrid_h.h"
#include "UniqueHandle.h"

namespace quor {

namespace {

const wchar_t kProgId[] = L"QuorGrid.QuorGridControl.1";
const wchar_t kVersionIndependentProgId[] = L"QuorGrid.QuorGridControl";
const wchar_t kClassName[] = L"QuorGridControl Class";
const wchar_t kToolboxBitmapId[] = L"101";
// OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
// OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST
const wchar_t kMiscStatusContent[] = L"131473";

struct RegistryEntry {
    std::wstring key;    // below HKEY_CLASSES_ROOT
    const wchar_t* name;  // null: the key's default value
    std::wstring value;
    bool hasValue;
};

std::wstring guidText(REFGUID guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring classKey()
{
    return L"CLSID\\" + guidText(CLSID_QuorGridControl);
}

std::vector<RegistryEntry> registryEntries(const std::wstring& modulePath)
{
    const std::wstring clsid = guidText(CLSID_QuorGridControl);
    const std::wstring progId = kProgId;
    const std::wstring independent = kVersionIndependentProgId;
    const std::wstring cls = classKey();
    return {
        {progId, nullptr, kClassName, true},
        {progId + L"\\CLSID", nullptr, clsid, true},
        {independent, nullptr, kClassName, true},
        {independent + L"\\CLSID", nullptr, clsid, true},
        {independent + L"\\CurVer", nullptr, progId, true},
        {cls, nullptr, kClassName, true},
        {cls + L"\\ProgID", nullptr, progId, true},
        {cls + L"\\VersionIndependentProgID", nullptr, independent, true},
        {cls + L"\\Programmable", nullptr, L"", false},
        {cls + L"\\Control", nullptr, L"", false},
        {cls + L"\\Insertable", nullptr, L"", false},
        {cls + L"\\InprocServer32", nullptr, modulePath, true},
        {cls + L"\\InprocServer32", L"ThreadingModel", L"Apartment", true},
        {cls + L"\\ToolboxBitmap32", nullptr, modulePath + L", " + kToolboxBitmapId, true},
        {cls + L"\\MiscStatus", nullptr, L"0", true},
        {cls + L"\\MiscStatus\\1", nullptr, kMiscStatusContent, true},
        {cls + L"\\TypeLib", nullptr, guidText(LIBID_QUORGRIDLib), true},
        {cls + L"\\Version", nullptr, L"1.0", true},
    };
}

HRESULT writeEntry(const RegistryEntry& entry)
{
    RegistryKey key;
    LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, entry.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_WRITE, nullptr, key.put(), nullptr);
    if (status == ERROR_SUCCESS && entry.hasValue) {
        const DWORD bytes = static_cast<DWORD>((entry.value.size() + 1) * sizeof(wchar_t));
        status = RegSetValueExW(key.get(), entry.name, 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(entry.value.c_str()), bytes);
    }
    return HRESULT_FROM_WIN32(status);
}

void deleteTree(const std::wstring& key)
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
}

void deleteEntries()
{
    deleteTree(kProgId);
    deleteTree(kVersionIndependentProgId);
    deleteTree(classKey());
}

HRESULT unregisterTypeLib()
{
    Microsoft::WRL::ComPtr<ITypeLib> typeLib;
    HRESULT hr = GridModule::loadTypeLib(&typeLib);
    if (FAILED(hr))
        return hr;
    TLIBATTR* attributes = nullptr;
    hr = typeLib->GetLibAttr(&attributes);
    if (FAILED(hr))
        return hr;
    const TLIBATTR library = *attributes;
    typeLib->ReleaseTLibAttr(attributes);

    using UnRegisterTypeLibFunction = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
    const LoadedModule automation(LoadLibraryW(L"oleaut32.dll"));
    if (!automation)
        return S_OK;
    auto unregister = reinterpret_cast<UnRegisterTypeLibFunction>(
        reinterpret_cast<void*>(GetProcAddress(automation.get(), "UnRegisterTypeLib")));
    if (!unregister)
        return S_OK;  // nothing to undo on a system without it
    return unregister(library.guid, library.wMajorVerNum, library.wMinorVerNum, library.lcid, library.syskind);
}

HRESULT registerServer()
{
    const std::wstring modulePath = GridModule::path();
    if (modulePath.empty())
        return SELFREG_E_CLASS;
    deleteTree(classKey());
    for (const RegistryEntry& entry : registryEntries(modulePath)) {
        if (FAILED(writeEntry(entry)))
            return SELFREG_E_CLASS;
    }
    Microsoft::WRL::ComPtr<ITypeLib> typeLib;
    if (FAILED(LoadTypeLibEx(modulePath.c_str(), REGKIND_REGISTER, &typeLib)))
        return SELFREG_E_TYPELIB;
    return S_OK;
}

HRESULT unregisterServer()
{
    deleteEntries();
    return SUCCEEDED(unregisterTypeLib()) ? S_OK : SELFREG_E_TYPELIB;
}

}  // namespace

}  // namespace quor

STDAPI DllRegisterServer()
{
    return quor::guarded(quor::registerServer);
}

STDAPI DllUnregisterServer()
{
    return quor::guarded(quor::unregisterServer);
}
