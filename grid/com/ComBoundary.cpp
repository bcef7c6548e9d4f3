#include "ComBoundary.h"

#include "Wide.h"

namespace quor {

std::string ansiFromBstr(BSTR text)
{
    return ansiFromWide(text, SysStringLen(text));
}

BSTR bstrFromAnsi(const std::string& text)
{
    const std::wstring wide = wideFromAnsi(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

HRESULT returnBstr(const std::string& text, BSTR* out)
{
    *out = bstrFromAnsi(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace quor
