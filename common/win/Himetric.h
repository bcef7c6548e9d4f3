// Pixels and HIMETRIC (hundredths of a millimetre), the unit in which OLE
// controls and their containers give extents.
#pragma once

#include <windows.h>

namespace quor {

constexpr int kHimetricPerInch = 2540;

inline LONG pixelsToHimetric(LONG pixels, int pixelsPerInch)
{
    return MulDiv(pixels, kHimetricPerInch, pixelsPerInch);
}

}  // namespace quor
