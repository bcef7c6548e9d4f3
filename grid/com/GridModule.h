// The in-process server's module state: instance handle and lock count.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace quor {

namespace GridModule {

HINSTANCE instance();
std::wstring path();

// Live objects and LockServer locks; the DLL may unload at 0.
void lock();
void unlock();
LONG lockCount();

// The type library embedded as resource 1 of this module.
HRESULT loadTypeLib(ITypeLib** typeLib);
HRESULT loadTypeInfo(REFGUID guid, ITypeInfo** typeInfo);

}  // namespace GridModule

}  // namespace quor
