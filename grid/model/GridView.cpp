#include "GridView.h"

#include <algorithm>

#include "ColumnTable.h"

namespace quor {

namespace {

int32_t clamped(int32_t value, int32_t low, int32_t high)
{
    return std::max(low, std::min(value, high));
}

}  // namespace

void GridView::setClientSize(int32_t width, int32_t height)
{
    clientWidth_ = std::max(width, 0);
    clientHeight_ = std::max(height, 0);
}

void GridView::recomputeVisibleCounts(const ColumnTable& columns, int32_t columnCount)
{
    countVisible(columns, columnCount);
    invalidate();
}

void GridView::countVisible(const ColumnTable& columns, int32_t columnCount)
{
    const ViewRect client = clientRect();
    int32_t total = 0;
    visibleColumnCount = 0;
    for (int32_t column = firstVisibleColumn; column < columnCount; ++column) {
        total += columns.width(column);
        if (total >= client.right)
            break;
        ++visibleColumnCount;
    }
    visibleRowCount = (client.bottom + rowHeight - 1) / rowHeight;
}

void GridView::invalidate() const
{
    if (invalidator)
        invalidator();
}

void GridView::resetOrigin()
{
    firstVisibleRow = 0;
    firstVisibleColumn = 0;
    visibleRowCount = 0;
    visibleColumnCount = 0;
}

bool GridView::isRowVisible(int32_t rowNumber) const
{
    const int64_t top = (static_cast<int64_t>(rowNumber) - firstVisibleRow) * rowHeight;
    return top >= 0 && top + rowHeight <= clientRect().bottom;
}

bool GridView::isColumnWhollyVisible(int32_t column, const ColumnTable& columns) const
{
    const ViewRect client = clientRect();
    if (columns.width(column) >= client.right)
        return true;
    if (column < firstVisibleColumn)
        return false;
    int64_t right = rowButtonsShown ? kRowButtonWidth : 0;
    for (int32_t c = firstVisibleColumn; c <= column; ++c)
        right += columns.width(c);
    return right <= client.right;
}

void GridView::scrollCellIntoView(int32_t rowNumber, int32_t column, int32_t rowCount,
                                  const ColumnTable& columns, int32_t columnCount)
{
    if (!isRowVisible(rowNumber))
        firstVisibleRow = clamped(rowNumber - visibleRowCount / 2, 0, std::max(rowCount - 1, 0));
    if (!isColumnWhollyVisible(column, columns))
        firstVisibleColumn = clamped(column - visibleColumnCount / 2, 0, std::max(columnCount - 1, 0));
    recomputeVisibleCounts(columns, columnCount);
}

}  // namespace quor
