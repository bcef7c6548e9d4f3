// Selection, find and sorting methods of QuorGridControl.
#include "GridGuard.h"
#include "ComBoundary.h"
#include "QuorGridControl.h"
#include "WaitCursor.h"

#include <optional>

namespace quor {

STDMETHODIMP QuorGridControl::toggleRowHighlight(LONG)
{
    return S_OK;
}

STDMETHODIMP QuorGridControl::setRowSelect(LONG row, RowSelectionType how)
{
    return core_.selection().setRowSelect(row, how);
}

STDMETHODIMP QuorGridControl::setRowSelectRange(LONG row1, LONG row2, RowSelectionType how)
{
    return guarded([&] {
        HRESULT hr = core_.selection().setRowSelectRange(row1, row2, how);
        core_.view().invalidate();
        return hr;
    });
}

STDMETHODIMP QuorGridControl::setSelected(LONG row, LONG column, GridSelectType type, VARIANT_BOOL select)
{
    return core_.selection().setSelected(row, column, type, isVariantTrue(select));
}

STDMETHODIMP QuorGridControl::SelectAllRows()
{
    core_.selection().selectAllRows();
    core_.view().invalidate();
    return S_OK;
}

STDMETHODIMP QuorGridControl::deselectAllRows()
{
    core_.selection().deselectAllRows();
    return S_OK;
}

STDMETHODIMP QuorGridControl::deselectAllColumns()
{
    core_.columns().deselectAll();
    return S_OK;
}

STDMETHODIMP QuorGridControl::find(BSTR text, VARIANT_BOOL wholeCell, VARIANT_BOOL matchCase, VARIANT_BOOL,
                                   VARIANT_BOOL, LONG* row, LONG* column, GridSelectType selectType)
{
    return guarded([&] {
        FindRequest request;
        request.text = ansiFromBstr(text);
        request.wholeCell = isVariantTrue(wholeCell);
        // Any value but VARIANT_FALSE asks for the case to match.
        request.matchCase = matchCase != VARIANT_FALSE;
        request.selectType = selectType;
        const FindHit hit = finder_.find(core_.rows(), core_.selection(), core_.columnCount(), request,
                                         [this](int32_t rowNumber, int32_t hitColumn) {
                                             if (!isCellWhollyOnScreen(rowNumber, hitColumn))
                                                 scrollCellIntoView(rowNumber, hitColumn);
                                         });
        // The result is S_FALSE whatever happens; a host that passes no
        // place for the hit still gets the search and its selection.
        if (hit.row >= 0 && row && column) {
            *row = hit.row;
            *column = hit.column;
        }
        return S_FALSE;
    });
}

bool QuorGridControl::isCellWhollyOnScreen(int32_t rowNumber, int32_t column) const
{
    return core_.view().isRowVisible(rowNumber) && core_.view().isColumnWhollyVisible(column, core_.columns());
}

void QuorGridControl::scrollCellIntoView(int32_t rowNumber, int32_t column)
{
    CompleteEdit();
    core_.view().scrollCellIntoView(rowNumber, column, core_.rows().rowCount(), core_.columns(), core_.columnCount());
    // The bars, the row buttons and the header band follow the new origin;
    // a hit in the last row is scrolled to like any other.
    setUpScrollBars();
    recomputeView();
}

STDMETHODIMP QuorGridControl::resetFind()
{
    finder_.reset();
    core_.selection().deselectAllRows();
    return S_OK;
}

STDMETHODIMP QuorGridControl::sortGrid(LONG column, SortStyle style)
{
    return guarded([&] {
        // A toggle may reverse or sort every row.
        core_.commitOpenEdit();
        std::optional<WaitCursor> busy;
        if (style == None && column < core_.columnCount())
            busy.emplace(gridWindow_);
        HRESULT hr = sorter_.sortGrid(core_.rows(), column, style, core_.columnCount());
        core_.view().invalidate();
        return hr;
    });
}

STDMETHODIMP QuorGridControl::CompleteEdit()
{
    interaction_.completeEdit();
    return S_OK;
}

}  // namespace quor
