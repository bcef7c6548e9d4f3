#include "ComBoundary.h"

namespace quor {

std::string ansiFromBstr(BSTR text)
{
    const int wideLength = static_cast<int>(SysStringLen(text));
    if (wideLength == 0)
        return std::string();
    const int length = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wideLength, &result[0], length, nullptr, nullptr);
    return result;
}

BSTR bstrFromAnsi(const std::string& text)
{
    if (text.empty())
        return SysAllocString(L"");
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(wideLength));
    if (result)
        MultiByteToWideChar(CP_ACP, 0, text.data(), length, result, wideLength);
    return result;
}

HRESULT returnBstr(const std::string& text, BSTR* out)
{
    *out = bstrFromAnsi(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace quor
