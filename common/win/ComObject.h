// IUnknown for the project's COM objects: the reference count (one for the
// creator, who Attaches it), deletion with the last Release, and the checks
// of QueryInterface. The object says in `interfaceFor` which of its
// interfaces an IID names, or nullptr.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace quor {

template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = static_cast<Derived*>(this)->interfaceFor(riid);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

protected:
    virtual ~ComObject() = default;

private:
    LONG refs_ = 1;
};

}  // namespace quor
