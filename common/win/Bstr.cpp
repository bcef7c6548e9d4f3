#include "Bstr.h"

#include <string>

#include "Wide.h"

namespace quor {

Text Bstr::text() const
{
    Text out;
    if (!value_)
        return out;
    const std::string narrow = ansiFromWide(value_, SysStringLen(value_));
    out.assign(narrow.c_str(), narrow.size());
    return out;
}

}  // namespace quor
