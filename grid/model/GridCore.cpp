#include "GridCore.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "GridRow.h"
#include "MemoryRoom.h"
#include "RowText.h"

namespace quor {

HRESULT GridCore::appendRow(const std::string& rowText, const std::string& tag, bool markEdited, bool scrollToRow)
{
    view_.countVisible(columns_, columnCount_);
    std::unique_ptr<GridRow> row(new (std::nothrow) GridRow);
    if (!row)
        return S_FALSE;
    row->rowText = rowText;
    row->tagText = tag;
    row->edited = (!rowText.empty() && markEdited);
    const GridRow& added = *row;
    if (FAILED(rows_.append(row)))
        return S_FALSE;
    const int32_t rowCount = rows_.rowCount();
    if (scrollToRow && rowCount > view_.firstVisibleRow + view_.visibleRowCount - 2)
        setUpperLeftCell(rowCount - 1, 0);
    autoSizeColumnsFor(added);
    listener_.rowsAppended();
    return S_OK;
}

void GridCore::autoSizeColumnsFor(const GridRow& row)
{
    for (int32_t column = 0; column < columns_.count(); ++column) {
        if (!columns_.autoResize(column))
            continue;
        const int32_t width = textWidth(cellOrEmpty(row.rowText, column));
        if (width > columns_.width(column))
            setColumnWidth(column, width);
    }
}

namespace {

// Heap bookkeeping per row: the row, its text and its list node each take a
// block of their own.
constexpr uint64_t kRowOverhead = 3 * 32 + 32;

// Whether `count` rows of `text` fit in what memory the process may still
// commit and address; a host's huge count is refused before any row is made.
bool memoryHolds(int32_t count, const std::string& text)
{
    // When the system does not say, the allocation itself decides.
    const uint64_t perRow = sizeof(GridRow) + text.capacity() + sizeof(void*) + kRowOverhead;
    const uint64_t needed = perRow * static_cast<uint64_t>(count);
    return needed <= memoryRoom();
}

}  // namespace

HRESULT GridCore::appendBlankRows(int32_t count)
{
    const std::string blank = blankRowText(columnCount_);
    if (count > 0 && (count > INT32_MAX - rows_.rowCount() || !memoryHolds(count, blank)))
        return S_FALSE;
    // All rows are made before the first is added, so that running out of
    // memory part way leaves the grid as it was.
    std::vector<std::unique_ptr<GridRow>> made;
    try {
        made.reserve(static_cast<size_t>(std::max(count, 0)));
        for (int32_t i = 0; i < count; ++i) {
            made.emplace_back(new GridRow);
            made.back()->blankRow = 1;
            made.back()->rowText = blank;
        }
    } catch (const std::bad_alloc&) {
        return S_FALSE;
    }
    for (size_t i = 0; i < made.size(); ++i) {
        if (FAILED(rows_.append(made[i]))) {
            removeLastRows(i);
            return S_FALSE;
        }
    }
    listener_.rowsAppended();
    return S_OK;
}

void GridCore::removeLastRows(size_t count)
{
    const std::vector<GridRow*> rows = rows_.snapshot();
    for (size_t i = rows.size() - count; i < rows.size(); ++i)
        rows_.remove(rows[i], false);
}

void GridCore::deleteAllRows()
{
    if (rows_.rowCount() <= 0)
        return;
    commitOpenEdit();
    rows_.moveAllToDeleted();
    view_.resetOrigin();
}

bool GridCore::setColumnHeadings(const std::string& headings)
{
    commitOpenEdit();
    columnCount_ = 0;
    if (headings.empty())
        return false;
    headingString_ = headings;
    columns_.removeAll();
    for (const std::string& heading : splitSequential(headingString_)) {
        if (!columns_.insert(heading))
            break;
    }
    columnCount_ = columns_.count();
    // The view keeps its first column while that column still exists.
    if (view_.firstVisibleColumn >= columnCount_)
        view_.firstVisibleColumn = columnCount_ > 0 ? columnCount_ - 1 : 0;
    listener_.headingsChanged();
    recountView();
    return true;
}

bool GridCore::setUpperLeftCell(int32_t row, int32_t column)
{
    if (row < 0 || column < 0 || row >= rows_.rowCount() || column >= columnCount_)
        return false;
    view_.firstVisibleRow = row;
    view_.firstVisibleColumn = column;
    listener_.originMoved();
    recountView();
    return true;
}

void GridCore::setColumnWidth(int32_t column, int32_t width)
{
    if (columns_.setWidth(column, width))
        listener_.columnWidthChanged(column, width);
}

void GridCore::relayout()
{
    listener_.rowsChanged();
    recountView();
}

bool writeCellMarkingEdited(GridRow& row, int32_t column, const std::string& text)
{
    if (!writeCell(row.rowText, column, text))
        return false;
    row.edited = true;
    return true;
}

}  // namespace quor
