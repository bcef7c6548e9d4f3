// Pixel width of a cell text in the grid font. Without a drawing surface
// (before the first paint) every text measures 0.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace quor {

int32_t measureTextWidth(HDC surface, HFONT font, const std::string& text);

}  // namespace quor
