#include "ViewerModule.h"

#include <oleauto.h>

namespace quor {

namespace {

const char kAppIdKey[] = "AppID\\{4A8F2C71-93D6-4B0E-A5C2-7E19D0B3F654}";
const char kExeKey[] = "AppID\\QuorDataViewer.EXE";
const char kAppId[] = "{4A8F2C71-93D6-4B0E-A5C2-7E19D0B3F654}";
const GUID kLibId = {0x6D1C83B4, 0x2F7A, 0x4E55, {0x9B, 0x0E, 0x3A, 0x41, 0xC7, 0xD2, 0xE9, 0x18}};
const DWORD kIdleTimeoutMs = 5000;

HRESULT setStringValue(const char* keyPath, const char* name, const char* value)
{
    RegistryKey key;
    LONG status = RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(status);
    status = RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                            static_cast<DWORD>(lstrlenA(value) + 1));
    return HRESULT_FROM_WIN32(status);
}

HRESULT deleteKey(const char* keyPath)
{
    LONG status = RegDeleteKeyA(HKEY_CLASSES_ROOT, keyPath);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
}

HRESULT registerTypeLibrary()
{
    wchar_t path[MAX_PATH];
    if (!GetModuleFileNameW(nullptr, path, MAX_PATH))
        return HRESULT_FROM_WIN32(GetLastError());
    ITypeLib* library = nullptr;
    HRESULT hr = LoadTypeLibEx(path, REGKIND_REGISTER, &library);
    if (library)
        library->Release();
    return hr;
}

}  // namespace

ViewerModule::ViewerModule(HINSTANCE instance) : instance_(instance), mainThreadId_(GetCurrentThreadId()) {}

ViewerModule::~ViewerModule() { stopMonitor(); }

// The keys of the REGISTRY resource 100; the AppID key itself is shared and
// never removed.
HRESULT ViewerModule::registerServer()
{
    HRESULT hr = setStringValue(kAppIdKey, nullptr, "QuorDataViewer");
    if (SUCCEEDED(hr))
        hr = setStringValue(kExeKey, "AppID", kAppId);
    if (SUCCEEDED(hr))
        hr = registerTypeLibrary();
    return hr;
}

HRESULT ViewerModule::unregisterServer()
{
    HRESULT hr = deleteKey(kAppIdKey);
    HRESULT exeHr = deleteKey(kExeKey);
    if (SUCCEEDED(hr))
        hr = exeHr;
    HRESULT libHr = UnRegisterTypeLib(kLibId, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
    if (SUCCEEDED(hr) && FAILED(libHr) && libHr != TYPE_E_REGISTRYACCESS && libHr != TYPE_E_LIBNOTREGISTERED)
        hr = libHr;
    return hr;
}

LONG ViewerModule::lock() { return InterlockedIncrement(&lockCount_); }

LONG ViewerModule::unlock()
{
    LONG count = InterlockedDecrement(&lockCount_);
    if (count == 0) {
        InterlockedExchange(&active_, 1);
        if (shutdownEvent_)
            SetEvent(shutdownEvent_.get());
    }
    return count;
}

void ViewerModule::startMonitor()
{
    shutdownEvent_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!shutdownEvent_)
        return;
    thread_.reset(CreateThread(nullptr, 0, monitorThread, this, 0, nullptr));
    if (!thread_)
        shutdownEvent_.reset();
}

// The program ends without a thread left behind: the worker is woken and
// joined before its event goes.
void ViewerModule::stopMonitor()
{
    if (thread_) {
        InterlockedExchange(&stopping_, 1);
        SetEvent(shutdownEvent_.get());
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }
    shutdownEvent_.reset();
}

DWORD WINAPI ViewerModule::monitorThread(void* self)
{
    static_cast<ViewerModule*>(self)->watchLocks();
    return 0;
}

void ViewerModule::watchLocks()
{
    for (;;) {
        WaitForSingleObject(shutdownEvent_.get(), INFINITE);
        if (stopping_)
            return;
        DWORD wait;
        do {
            InterlockedExchange(&active_, 0);
            wait = WaitForSingleObject(shutdownEvent_.get(), kIdleTimeoutMs);
            if (stopping_)
                return;
        } while (wait == WAIT_OBJECT_0);
        if (!active_ && lockCount_ == 0) {
            PostThreadMessageA(mainThreadId_, WM_QUIT, 0, 0);
            return;
        }
    }
}

}  // namespace quor
