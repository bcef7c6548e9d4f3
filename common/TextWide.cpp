// The conversions that depend on the platform: 8-bit text in the ANSI code
// page to the wide strings of the COM boundary, and back.
#include "Text.h"
#include "Wide.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <climits>

namespace quor {

#ifdef _WIN32
namespace {

std::wstring wideFrom(UINT codePage, const char* text, size_t length)
{
    std::wstring wide;
    if (length == 0 || length > INT_MAX)
        return wide;
    const int size = static_cast<int>(length);
    const int count = MultiByteToWideChar(codePage, 0, text, size, nullptr, 0);
    if (count <= 0)
        return wide;
    wide.resize(static_cast<size_t>(count));
    MultiByteToWideChar(codePage, 0, text, size, &wide[0], count);
    return wide;
}

}  // namespace

std::wstring wideFromAnsi(const char* text, size_t length)
{
    return wideFrom(CP_ACP, text, length);
}

std::wstring wideFromUtf8(const char* text, size_t length)
{
    return wideFrom(CP_UTF8, text, length);
}
#else
std::wstring wideFromAnsi(const char* text, size_t length)
{
    // Natively there is no ANSI code page; bytes map to the first 256 code points.
    std::wstring wide;
    if (length > INT_MAX)
        return wide;
    wide.reserve(length);
    for (size_t i = 0; i < length; ++i)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
    return wide;
}
#endif

std::string ansiFromWide(const wchar_t* text, size_t length)
{
    std::string narrow;
    if (length == 0 || length > INT_MAX)
        return narrow;
#ifdef _WIN32
    const int size = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return narrow;
    narrow.resize(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, 0, text, size, &narrow[0], bytes, nullptr, nullptr);
#else
    narrow.reserve(length);
    for (size_t i = 0; i < length; ++i)
        narrow.push_back(text[i] < 256 ? static_cast<char>(text[i]) : '?');
#endif
    return narrow;
}

std::wstring Text::toWide() const
{
    return wideFromAnsi(text_);
}

}  // namespace quor
