// Row operations and change tracking of QuorGridControl.
#include <memory>

#include "GridGuard.h"
#include "GridText.h"
#include "QuorGridControl.h"
#include "RowText.h"

namespace quor {

namespace {

// The answer of a lookup that found nothing: an empty string, S_FALSE.
HRESULT returnNothing(BSTR* out)
{
    HRESULT hr = returnBstr(std::string(), out);
    return FAILED(hr) ? hr : S_FALSE;
}

// Row string and tag of a row, or two empty strings and S_FALSE for none.
HRESULT returnRowAndTag(const GridRow* row, BSTR* rowStr, BSTR* tagText)
{
    HRESULT hr = returnBstr(row ? row->rowText : std::string(), rowStr);
    if (SUCCEEDED(hr))
        hr = returnBstr(row ? row->tagText : std::string(), tagText);
    return FAILED(hr) || row ? hr : S_FALSE;
}

}  // namespace

STDMETHODIMP QuorGridControl::appendRow(BSTR rowStr, VARIANT_BOOL scrollToRow, BSTR tagText, VARIANT_BOOL markEdited)
{
    return guarded([&] {
        return core_.appendRow(ansiFromBstr(rowStr), ansiFromBstr(tagText), isVariantTrue(markEdited),
                               isVariantTrue(scrollToRow));
    }, S_FALSE);
}

STDMETHODIMP QuorGridControl::appendBlankRows(LONG nRows)
{
    return guarded([&] { return core_.appendBlankRows(nRows); }, S_FALSE);
}

STDMETHODIMP QuorGridControl::updateRow(BSTR rowStr, BSTR tagText, VARIANT_BOOL redraw, VARIANT_BOOL markEdited)
{
    return guarded([&] {
        const std::string tag = ansiFromBstr(tagText);
        GridRow* row = core_.rows().findByTag(tag);
        if (!row) {
            HRESULT hr = core_.appendRow(ansiFromBstr(rowStr), tag, isVariantTrue(markEdited));
            if (hr == S_OK)
                redrawIf(redraw);
            return hr;
        }
        row->rowText = ansiFromBstr(rowStr);
        row->tagText = tag;
        row->edited = isVariantTrue(markEdited) ? VARIANT_TRUE : VARIANT_FALSE;
        redrawIf(redraw);
        return S_OK;
    });
}

STDMETHODIMP QuorGridControl::deleteRow(BSTR tagText, VARIANT_BOOL keepAsDeleted)
{
    if (!tagText)
        return S_FALSE;
    return guarded([&] {
        GridRow* row = core_.rows().findByTag(ansiFromBstr(tagText));
        if (!row)
            return S_FALSE;
        core_.commitOpenEdit();
        core_.rows().remove(row, keepAsDeleted != VARIANT_FALSE);
        return S_OK;
    });
}

STDMETHODIMP QuorGridControl::deleteAllRows(VARIANT_BOOL redraw)
{
    if (core_.rows().rowCount() <= 0)
        return S_OK;
    return guarded([&] {
        core_.deleteAllRows();
        redrawIf(redraw);
        return S_OK;
    });
}

STDMETHODIMP QuorGridControl::getNumberOfRows(LONG* count)
{
    if (!count)
        return E_POINTER;
    *count = core_.rows().rowCount();
    return S_OK;
}

STDMETHODIMP QuorGridControl::getNumberOfEditedRows(LONG* count)
{
    if (!count)
        return E_POINTER;
    *count = core_.rows().countEdited();
    return S_OK;
}

STDMETHODIMP QuorGridControl::resetToFirstRow()
{
    core_.rows().resetCursor();
    return S_OK;
}

HRESULT QuorGridControl::nextRowOf(GridRow* (RowModel::*next)(), BSTR* rowStr)
{
    if (!rowStr)
        return E_POINTER;
    return guarded([&] {
        GridRow* row = (core_.rows().*next)();
        return row ? returnBstr(row->rowText, rowStr) : returnNothing(rowStr);
    });
}

STDMETHODIMP QuorGridControl::getNextRow(BSTR* rowStr)
{
    return nextRowOf(&RowModel::next, rowStr);
}

STDMETHODIMP QuorGridControl::getRow(BSTR tagText, BSTR* rowStr)
{
    if (!rowStr)
        return E_POINTER;
    return guarded([&] {
        GridRow* row = core_.rows().findByTag(ansiFromBstr(tagText));
        return row ? returnBstr(row->rowText, rowStr) : returnNothing(rowStr);
    });
}

STDMETHODIMP QuorGridControl::resetToFirstEditedRow()
{
    core_.rows().resetCursor();
    return S_OK;
}

STDMETHODIMP QuorGridControl::getNextEditedRow(BSTR* rowStr, BSTR* tagText, LONG* rowIndex)
{
    if (!rowStr || !tagText || !rowIndex)
        return E_POINTER;
    return guarded([&] {
        GridRow* row = core_.rows().nextEdited();
        // indexOf walks from the head and stops just after the row, so the
        // shared cursor ends where the iteration left it.
        *rowIndex = row ? core_.rows().indexOf(row) : -1;
        return returnRowAndTag(row, rowStr, tagText);
    });
}

STDMETHODIMP QuorGridControl::resetAllEditedRows()
{
    core_.rows().resetCursor();
    while (GridRow* row = core_.rows().next())
        row->edited = VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP QuorGridControl::markRowAsEdited(BSTR tagText)
{
    return guarded([&] {
        GridRow* row = core_.rows().findByTag(ansiFromBstr(tagText));
        if (!row)
            return S_FALSE;
        row->edited = VARIANT_TRUE;
        return S_OK;
    });
}

STDMETHODIMP QuorGridControl::getNumberOfDeletedRows()
{
    return S_OK;
}

STDMETHODIMP QuorGridControl::resetToFirstDeletedRow()
{
    core_.rows().resetDeletedCursor();
    return S_OK;
}

STDMETHODIMP QuorGridControl::getNextDeletedRow(BSTR* rowStr, BSTR* tagText)
{
    if (!rowStr || !tagText)
        return E_POINTER;
    return guarded([&] {
        return returnRowAndTag(core_.rows().nextDeleted(), rowStr, tagText);
    });
}

STDMETHODIMP QuorGridControl::resetAllDeletedRows()
{
    core_.rows().freeDeleted();
    return S_OK;
}

STDMETHODIMP QuorGridControl::getNumberOfSelectedRows(LONG* count)
{
    if (!count)
        return E_POINTER;
    *count = core_.rows().countSelected();
    return S_OK;
}

STDMETHODIMP QuorGridControl::resetToFirstSelectedRow()
{
    core_.rows().resetCursor();
    return S_OK;
}

STDMETHODIMP QuorGridControl::getNextSelectedRow(BSTR* rowStr)
{
    return nextRowOf(&RowModel::nextSelected, rowStr);
}

STDMETHODIMP QuorGridControl::getTagText(LONG rowIndex, BSTR* tagText)
{
    if (!tagText || rowIndex < 0)
        return E_POINTER;
    return guarded([&] {
        GridRow* row = core_.rows().rowAtIndex(rowIndex);
        return row ? returnBstr(row->tagText, tagText) : returnNothing(tagText);
    });
}

STDMETHODIMP QuorGridControl::setTagText(LONG rowIndex, BSTR tagText)
{
    return guarded([&] {
        GridRow* row = core_.rows().rowAtIndex(rowIndex);
        if (!row)
            return S_FALSE;
        row->tagText = ansiFromBstr(tagText);
        return S_OK;
    });
}

STDMETHODIMP QuorGridControl::setRowVisibility(LONG rowIndex, VARIANT_BOOL visible)
{
    GridRow* row = core_.rows().rowAtIndex(rowIndex);
    if (!row)
        return S_FALSE;
    core_.commitOpenEdit();
    row->visible = visible;
    return S_OK;
}

STDMETHODIMP QuorGridControl::setAllVisible()
{
    core_.commitOpenEdit();
    core_.rows().resetCursor();
    while (GridRow* row = core_.rows().next())
        row->visible = VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP QuorGridControl::getCellText(LONG row, LONG column, BSTR* text)
{
    if (!text)
        return E_POINTER;
    return guarded([&] {
        GridRow* gridRow = core_.rows().rowByNumber(row);
        if (!gridRow)
            return returnNothing(text);
        const CellRead cell = readCell(gridRow->rowText, column);
        HRESULT hr = returnBstr(cell.text, text);
        if (FAILED(hr))
            return hr;
        const bool onlyCellOfOneColumnGrid = column == 0 && core_.columnCount() == 1;
        return cell.found || onlyCellOfOneColumnGrid ? S_OK : E_FAIL;
    });
}

STDMETHODIMP QuorGridControl::SetRowColor(LONG row, OLE_COLOR color)
{
    GridRow* gridRow = core_.rows().rowByNumber(row);
    if (!gridRow)
        return S_FALSE;
    gridRow->textColor = color;
    return S_OK;
}

}  // namespace quor
