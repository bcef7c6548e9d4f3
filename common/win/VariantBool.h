// Automation booleans: TRUE is -1. The one conversion both ways, for the
// grid's boundary and for the viewer's calls into it.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace quor {

// Only VARIANT_TRUE (-1) is true: a caller's 1 reads as false.
inline bool isVariantTrue(VARIANT_BOOL flag)
{
    return flag == VARIANT_TRUE;
}

inline VARIANT_BOOL variantBool(bool flag)
{
    return flag ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace quor
