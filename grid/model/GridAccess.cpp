#include "GridAccess.h"

#include <memory>
#include <new>

#include "GridRow.h"
#include "RowModel.h"
#include "RowText.h"

bool writeCellMarkingEdited(GridRow& row, int32_t column, const std::string& text)
{
    if (!writeCell(row.rowText, column, text))
        return false;
    row.edited = VARIANT_TRUE;
    return true;
}

HRESULT appendBlankRowsTo(RowModel& rows, int32_t columnCount, int32_t count)
{
    const std::string blank = blankRowText(columnCount);
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<GridRow> row(new (std::nothrow) GridRow);
        if (!row)
            return S_FALSE;
        row->blankRow = 1;
        row->rowText = blank;
        if (FAILED(rows.append(row)))
            return S_FALSE;
    }
    return S_OK;
}
