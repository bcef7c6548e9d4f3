// One grid row record. Whichever RowModel list holds it owns it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>

namespace quor {

struct GridRow {
    VARIANT_BOOL selected = VARIANT_FALSE;
    VARIANT_BOOL visible = VARIANT_TRUE;
    VARIANT_BOOL edited = VARIANT_FALSE;
    std::string tagText;
    std::string rowText;
    int32_t selectedCell = -1;
    int32_t blankRow = 0;
    COLORREF textColor = RGB(0, 0, 0);
};

}  // namespace quor
