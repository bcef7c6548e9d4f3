#include "GridText.h"

#include <cstring>

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

std::string trimmed(const std::string& text)
{
    static const char kWhiteSpace[] = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

std::string upperAnsi(std::string text)
{
    if (!text.empty())
        CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool equalsNoCase(const std::string& a, const std::string& b)
{
    return _stricmp(a.c_str(), b.c_str()) == 0;
}

bool isVariantTrue(VARIANT_BOOL flag)
{
    return flag == VARIANT_TRUE;
}

}  // namespace quor
