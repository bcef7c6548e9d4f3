// The two scroll bars: vertical in row lines, horizontal in columns. The
// scroll position is the index itself (top row, first column), so a line
// step always moves by exactly one whatever set the position last.
#pragma once

#include <windows.h>

#include <cstdint>

namespace quor {

struct ScrollGeometry {
    int32_t maximum;  // range is 0..maximum
    int32_t page;
};

ScrollGeometry verticalGeometry(int32_t rowCount);
ScrollGeometry horizontalGeometry(int32_t columnCount);

// The highest index the bar can show: maximum - page + 1, never below 0.
int32_t lastScrollIndex(const ScrollGeometry& geometry);

// The index after a WM_VSCROLL / WM_HSCROLL code; `thumb` is the tracked
// 32-bit position. Codes without meaning keep the current index.
int32_t verticalScrollTarget(int code, int32_t thumb, int32_t topRow, int32_t rowCount);
int32_t horizontalScrollTarget(int code, int32_t thumb, int32_t firstColumn, int32_t columnCount);

// Line steps a wheel delta stands for: positive scrolls up.
int32_t wheelLines(int32_t delta);

// Puts range, page and position into the window's bar and returns the
// position the bar accepted.
int32_t applyScrollBar(HWND window, int bar, const ScrollGeometry& geometry, int32_t index);
// Only range and page, without repainting the bar: the cheap step for a
// run of appended rows, whose end repaints the bar once.
void setScrollRangeQuietly(HWND window, int bar, const ScrollGeometry& geometry);
// The 32-bit thumb position while it is dragged.
int32_t trackedThumb(HWND window, int bar);

}  // namespace quor
