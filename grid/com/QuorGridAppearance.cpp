// View and appearance methods of QuorGridControl. Without a window they
// store their state; painting picks it up once the window exists.
#include "GridScroller.h"
#include "GridText.h"
#include "QuorGridControl.h"

void QuorGridControl::redrawIf(VARIANT_BOOL flag)
{
    if (isVariantTrue(flag))
        view_.invalidate();
}

STDMETHODIMP QuorGridControl::showRowButtons(VARIANT_BOOL show)
{
    view_.rowButtonsShown = isVariantTrue(show) ? VARIANT_TRUE : VARIANT_FALSE;
    rowHeader_.show(isVariantTrue(show));
    placeHeaderBand();
    recomputeView();
    return S_OK;
}

STDMETHODIMP QuorGridControl::showColumnHeader(VARIANT_BOOL show)
{
    view_.columnHeaderShown = isVariantTrue(show) ? VARIANT_TRUE : VARIANT_FALSE;
    if (show == VARIANT_TRUE || show == VARIANT_FALSE)
        columnHeader_.show(show == VARIANT_TRUE);
    return S_OK;
}

STDMETHODIMP QuorGridControl::rowIsVisible(LONG rowNumber, VARIANT_BOOL* visible)
{
    if (!visible)
        return E_POINTER;
    *visible = view_.isRowVisible(rowNumber) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP QuorGridControl::redraw()
{
    // Rows may have come and gone since the bar was last set.
    if (view_.window)
        setUpScrollBars();
    recomputeView();
    return S_OK;
}

STDMETHODIMP QuorGridControl::setGridFont(IFontDisp* font)
{
    return font ? S_OK : E_POINTER;
}

STDMETHODIMP QuorGridControl::setHeaderFont(IFontDisp*)
{
    columnHeader_.setFont(gridFont_.get());
    return S_OK;
}

STDMETHODIMP QuorGridControl::setGridBackgroundColor(ULONG color, VARIANT_BOOL redraw)
{
    view_.backgroundColor = color;
    redrawIf(redraw);
    return S_OK;
}

STDMETHODIMP QuorGridControl::setGridLineColor(ULONG color, VARIANT_BOOL redraw)
{
    if (color == view_.gridLineColor)
        return S_OK;
    // Kept even before the first paint, so that the painter's pen has the
    // colour the host asked for.
    view_.gridLineColor = color;
    // The painter selects the pen only for the length of a paint, so the
    // old one is free to go.
    gridLinePen_.reset(CreatePen(PS_SOLID, 1, color));
    redrawIf(redraw);
    return S_OK;
}

STDMETHODIMP QuorGridControl::setEditability(VARIANT_BOOL editable)
{
    interaction_.setEditability(editable != VARIANT_FALSE);
    return S_OK;
}

STDMETHODIMP QuorGridControl::setGridLines(GridLinesStyle style)
{
    view_.gridLineStyle = style;
    view_.invalidate();
    return S_OK;
}

STDMETHODIMP QuorGridControl::setGridTextAlignment(GridTextAlignmentStyle align)
{
    view_.textAlignment = align;
    view_.invalidate();
    return S_OK;
}

STDMETHODIMP QuorGridControl::setUpperLeftCell(LONG x, LONG y)
{
    if (x < 0 || y < 0 || x >= rows_.rowCount() || y >= columnCount_)
        return S_FALSE;
    // The bars show the indices themselves, so the next line step moves by
    // exactly one from here.
    view_.firstVisibleRow = x;
    view_.firstVisibleColumn = y;
    if (view_.window) {
        applyScrollBar(view_.window, SB_VERT, verticalGeometry(rows_.rowCount()), x);
        applyScrollBar(view_.window, SB_HORZ, horizontalGeometry(columnCount_), y);
    }
    rowHeader_.renumber(x);
    placeHeaderBand();
    recomputeView();
    if (x == 0 && y == 0 && view_.window)
        repaintHeadersNow();
    return S_OK;
}

// The header control invalidates its own items when they change, so only
// what it has pending is painted now: repainting an unchanged column header
// costs more than the rest of a page turn together under Wine. The row
// buttons are ours and cheap: they are repainted whole.
void QuorGridControl::repaintHeadersNow()
{
    if (HWND columns = columnHeader_.window())
        UpdateWindow(columns);
    if (HWND rows = rowHeader_.window()) {
        InvalidateRect(rows, nullptr, TRUE);
        UpdateWindow(rows);
    }
}

STDMETHODIMP QuorGridControl::AutoSizeEditBox(VARIANT_BOOL inProp)
{
    view_.autoSizeEditBox = inProp;
    return S_OK;
}
