#include "GridAccess.h"

#include "GridRow.h"
#include "RowText.h"

bool writeCellMarkingEdited(GridRow& row, int32_t column, const std::string& text)
{
    if (!writeCell(row.rowText, column, text))
        return false;
    row.edited = VARIANT_TRUE;
    return true;
}
