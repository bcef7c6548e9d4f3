#include "Bstr.h"

#include <string>

namespace quor {

Text Bstr::text() const
{
    Text out;
    if (!value_)
        return out;
    const int wideLength = static_cast<int>(SysStringLen(value_));
    const int bytes = WideCharToMultiByte(CP_ACP, 0, value_, wideLength, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return out;
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, value_, wideLength, &narrow[0], bytes, nullptr, nullptr);
    out.assign(narrow.c_str(), narrow.size());
    return out;
}

}  // namespace quor
