// The project's one conversion between its 8-bit text (the ANSI code page)
// and the wide strings of the platform's interfaces.
#pragma once

#include <cstddef>
#include <string>

namespace quor {

std::wstring wideFromAnsi(const char* text, size_t length);
inline std::wstring wideFromAnsi(const std::string& text)
{
    return wideFromAnsi(text.data(), text.size());
}

#ifdef _WIN32
// For the few texts the program writes itself in UTF-8 because the ANSI
// code page lacks their signs (the plot's "Δt").
std::wstring wideFromUtf8(const char* text, size_t length);
inline std::wstring wideFromUtf8(const std::string& text)
{
    return wideFromUtf8(text.data(), text.size());
}
#endif

std::string ansiFromWide(const wchar_t* text, size_t length);
inline std::string ansiFromWide(const std::wstring& text)
{
    return ansiFromWide(text.data(), text.size());
}

}  // namespace quor
