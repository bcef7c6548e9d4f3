#include "GridScroller.h"

#include <algorithm>

namespace quor {

namespace {

constexpr int32_t kPageRows = 5;
constexpr int32_t kPageColumns = 4;
constexpr int32_t kBarPage = 5;

}  // namespace

ScrollGeometry verticalGeometry(int32_t rowCount)
{
    return {rowCount + 6, kBarPage};
}

ScrollGeometry horizontalGeometry(int32_t columnCount)
{
    return {columnCount + 2, kBarPage};
}

int32_t lastScrollIndex(const ScrollGeometry& geometry)
{
    return std::max(geometry.maximum - geometry.page + 1, 0);
}

int32_t verticalScrollTarget(int code, int32_t thumb, int32_t topRow, int32_t rowCount)
{
    switch (code) {
    case SB_LINEUP:
        return topRow >= 1 ? topRow - 1 : topRow;
    case SB_LINEDOWN:
        return topRow < rowCount ? topRow + 1 : topRow;
    case SB_PAGEUP:
        return std::max(topRow - kPageRows, 0);
    case SB_PAGEDOWN:
        return topRow + kPageRows;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return thumb;
    default:
        return topRow;
    }
}

int32_t horizontalScrollTarget(int code, int32_t thumb, int32_t firstColumn, int32_t columnCount)
{
    switch (code) {
    case SB_LINELEFT:
        return firstColumn != 0 ? firstColumn - 1 : firstColumn;
    case SB_LINERIGHT:
        return firstColumn == columnCount - 2 ? firstColumn : firstColumn + 1;
    case SB_PAGELEFT:
        return std::max(firstColumn - kPageColumns, 0);
    case SB_PAGERIGHT:
        return firstColumn + kPageColumns;
    case SB_THUMBTRACK:
        return thumb;
    default:
        return firstColumn;
    }
}

int32_t wheelLines(int32_t delta)
{
    return delta / WHEEL_DELTA;
}

int32_t applyScrollBar(HWND window, int bar, const ScrollGeometry& geometry, int32_t index)
{
    const int32_t position = std::max(0, std::min(index, lastScrollIndex(geometry)));
    if (!window)
        return position;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = geometry.maximum;
    info.nPage = static_cast<UINT>(geometry.page);
    info.nPos = position;
    // Setting a bar repaints it at once; a page turn sets the same bar over
    // and over, so an unchanged bar is left alone.
    SCROLLINFO current{};
    current.cbSize = sizeof current;
    current.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (GetScrollInfo(window, bar, &current) && current.nMin == info.nMin && current.nMax == info.nMax &&
        current.nPage == info.nPage && current.nPos == info.nPos)
        return position;
    SetScrollInfo(window, bar, &info, TRUE);
    return position;
}

void setScrollRangeQuietly(HWND window, int bar, const ScrollGeometry& geometry)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = geometry.maximum;
    info.nPage = static_cast<UINT>(geometry.page);
    SetScrollInfo(window, bar, &info, FALSE);
}

int32_t trackedThumb(HWND window, int bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    if (!window || !GetScrollInfo(window, bar, &info))
        return 0;
    return info.nTrackPos;
}

}  // namespace quor
