// One grid row record. Whichever RowModel list holds it owns it.
#pragma once

#include <cstdint>
#include <string>

#include "GridEnums.h"

namespace quor {

struct GridRow {
    bool selected = false;
    bool visible = true;
    bool edited = false;
    std::string tagText;
    std::string rowText;
    int32_t selectedCell = -1;
    int32_t blankRow = 0;
    Colour textColor = rgbColour(0, 0, 0);
};

}  // namespace quor
