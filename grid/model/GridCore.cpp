#include "GridCore.h"

#include <memory>
#include <new>

#include "GridRow.h"
#include "RowText.h"

HRESULT GridCore::appendRow(const std::string& rowText, const std::string& tag, bool markEdited, bool scrollToRow)
{
    view_.countVisible(columns_, columnCount_);
    std::unique_ptr<GridRow> row(new (std::nothrow) GridRow);
    if (!row)
        return S_FALSE;
    row->rowText = rowText;
    row->tagText = tag;
    row->edited = (!rowText.empty() && markEdited) ? VARIANT_TRUE : VARIANT_FALSE;
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
        if (columns_.autoResize(column) != VARIANT_TRUE)
            continue;
        const int32_t width = textWidth(cellOrEmpty(row.rowText, column));
        if (width > columns_.width(column))
            setColumnWidth(column, width);
    }
}

HRESULT GridCore::appendBlankRows(int32_t count)
{
    HRESULT result = S_OK;
    const std::string blank = blankRowText(columnCount_);
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<GridRow> row(new (std::nothrow) GridRow);
        if (!row) {
            result = S_FALSE;
            break;
        }
        row->blankRow = 1;
        row->rowText = blank;
        if (FAILED(rows_.append(row))) {
            result = S_FALSE;
            break;
        }
    }
    listener_.rowsAppended();
    return result;
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
    row.edited = VARIANT_TRUE;
    return true;
}
