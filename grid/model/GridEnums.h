// The model's words for what the control's interface passes as numbers:
// how a row is selected, what a selection covers, the sort order, the grid
// lines and the text alignment. The values are the interface's own; the
// COM layer checks at compile time that they stay so.
#pragma once

#include <cstdint>

namespace quor {

enum RowSelection : int32_t { rowSelected = 1, rowUnselected = 2, rowToggle = 4 };

enum SelectKind : int32_t {
    selectRow = 1,
    selectCell = 2,
    selectColumn = 3,
    selectNothing = 4,
    selectToggleCell = 5,
};

enum SortOrder : int32_t { sortNone = 1, sortAscending = 2, sortDescending = 3 };

enum GridLines : int32_t { linesNone = 1, linesHorizontal = 2, linesVertical = 3, linesBoth = 4 };

enum TextAlignment : int32_t { alignLeft = 0, alignRight = 2, alignCenter = 6 };

// 0x00BBGGRR, as the interface passes colours.
using Colour = uint32_t;

constexpr Colour rgbColour(uint8_t red, uint8_t green, uint8_t blue)
{
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 | static_cast<Colour>(blue) << 16;
}

}  // namespace quor
