#include "ModelGrid.h"

#include <memory>
#include <new>

#include "RowText.h"
#include "TextMeasure.h"

HRESULT ModelGrid::appendTagged(const std::string& rowText, const std::string& tag, VARIANT_BOOL markEdited)
{
    std::unique_ptr<GridRow> row(new (std::nothrow) GridRow);
    if (!row)
        return S_FALSE;
    row->rowText = rowText;
    row->tagText = tag;
    row->edited = (!rowText.empty() && markEdited == VARIANT_TRUE) ? VARIANT_TRUE : VARIANT_FALSE;
    return SUCCEEDED(rows_.append(row)) ? S_OK : S_FALSE;
}

HRESULT ModelGrid::appendRow(const std::string& rowText, VARIANT_BOOL markEdited)
{
    return appendTagged(rowText, std::string(), markEdited);
}

HRESULT ModelGrid::appendBlankRows(int32_t count)
{
    return appendBlankRowsTo(rows_, columnCount_, count);
}

void ModelGrid::deleteAllRows()
{
    if (rows_.rowCount() <= 0)
        return;
    rows_.moveAllToDeleted();
    view_.resetOrigin();
}

void ModelGrid::setUpperLeftCell(int32_t row, int32_t column)
{
    if (row < 0 || column < 0 || row >= rows_.rowCount() || column >= columnCount_)
        return;
    view_.firstVisibleRow = row;
    view_.firstVisibleColumn = column;
    relayout();
}

int32_t ModelGrid::textWidth(const std::string& text)
{
    return measureTextWidth(measureDC_, font_, text);
}

void ModelGrid::relayout()
{
    view_.recomputeVisibleCounts(columns_, columnCount_);
}

void ModelGrid::setColumnHeadings(const std::string& headings)
{
    columnCount_ = 0;
    headingString_ = headings;
    columns_.removeAll();
    for (const std::string& heading : splitSequential(headings)) {
        if (!columns_.insert(heading))
            break;
    }
    columnCount_ = columns_.count();
}
