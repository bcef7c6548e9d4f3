// The one conversion of Text that depends on the platform: 8-bit text in
// the ANSI code page to the wide strings of the COM boundary.
#include "Text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace quor {

std::wstring Text::toWide() const
{
    std::wstring wide;
    if (text_.empty())
        return wide;
#ifdef _WIN32
    const int size = static_cast<int>(text_.size());
    const int count = MultiByteToWideChar(CP_ACP, 0, text_.data(), size, nullptr, 0);
    if (count <= 0)
        return wide;
    wide.resize(static_cast<size_t>(count));
    MultiByteToWideChar(CP_ACP, 0, text_.data(), size, &wide[0], count);
#else
    // Natively there is no ANSI code page; bytes map to the first 256 code points.
    wide.reserve(text_.size());
    for (char c : text_)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
#endif
    return wide;
}

}  // namespace quor
