// Selection, find and sorting methods of QuorGridControl.
#include "GridGuard.h"
#include "GridText.h"
#include "QuorGridControl.h"
#include "WaitCursor.h"

#include <optional>

STDMETHODIMP QuorGridControl::toggleRowHighlight(LONG)
{
    return S_OK;
}

STDMETHODIMP QuorGridControl::setRowSelect(LONG row, RowSelectionType how)
{
    return selection_.setRowSelect(row, how);
}

STDMETHODIMP QuorGridControl::setRowSelectRange(LONG row1, LONG row2, RowSelectionType how)
{
    return guarded([&] {
        HRESULT hr = selection_.setRowSelectRange(row1, row2, how);
        view_.invalidate();
        return hr;
    });
}

STDMETHODIMP QuorGridControl::setSelected(LONG row, LONG column, GridSelectType type, VARIANT_BOOL select)
{
    return selection_.setSelected(row, column, type, select);
}

STDMETHODIMP QuorGridControl::SelectAllRows()
{
    selection_.selectAllRows();
    view_.invalidate();
    return S_OK;
}

STDMETHODIMP QuorGridControl::deselectAllRows()
{
    selection_.deselectAllRows();
    return S_OK;
}

STDMETHODIMP QuorGridControl::deselectAllColumns()
{
    columns_.deselectAll();
    return S_OK;
}

STDMETHODIMP QuorGridControl::find(BSTR text, VARIANT_BOOL wholeCell, VARIANT_BOOL matchCase, VARIANT_BOOL,
                                   VARIANT_BOOL, LONG* row, LONG* column, GridSelectType selectType)
{
    return guarded([&] {
        FindRequest request;
        request.text = ansiFromBstr(text);
        request.wholeCell = wholeCell;
        request.matchCase = matchCase;
        request.selectType = selectType;
        const FindHit hit = finder_.find(rows_, selection_, columnCount_, request,
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
    return view_.isRowVisible(rowNumber) && view_.isColumnWhollyVisible(column, columns_);
}

void QuorGridControl::scrollCellIntoView(int32_t rowNumber, int32_t column)
{
    CompleteEdit();
    view_.scrollCellIntoView(rowNumber, column, rows_.rowCount(), columns_, columnCount_);
    // The bars, the row buttons and the header band follow the new origin;
    // a hit in the last row is scrolled to like any other.
    setUpScrollBars();
    recomputeView();
}

STDMETHODIMP QuorGridControl::resetFind()
{
    finder_.reset();
    selection_.deselectAllRows();
    return S_OK;
}

STDMETHODIMP QuorGridControl::sortGrid(LONG column, SortStyle style)
{
    return guarded([&] {
        // A toggle may reverse or sort every row.
        std::optional<WaitCursor> busy;
        if (style == None && column < columnCount_)
            busy.emplace(view_.window);
        HRESULT hr = sorter_.sortGrid(rows_, column, style, columnCount_);
        view_.invalidate();
        return hr;
    });
}

STDMETHODIMP QuorGridControl::CompleteEdit()
{
    interaction_.completeEdit();
    return S_OK;
}
