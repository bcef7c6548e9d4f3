// View and appearance methods of QuorGridControl. Without a window they
// store their state; painting picks it up once the window exists.
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
    recomputeView();
    return S_OK;
}

STDMETHODIMP QuorGridControl::showColumnHeader(VARIANT_BOOL show)
{
    view_.columnHeaderShown = isVariantTrue(show) ? VARIANT_TRUE : VARIANT_FALSE;
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
    recomputeView();
    return S_OK;
}

STDMETHODIMP QuorGridControl::setGridFont(IFontDisp* font)
{
    return font ? S_OK : E_POINTER;
}

STDMETHODIMP QuorGridControl::setHeaderFont(IFontDisp*)
{
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
    redrawIf(redraw);
    return S_OK;
}

STDMETHODIMP QuorGridControl::setEditability(VARIANT_BOOL editable)
{
    view_.gridEditable = editable;
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
    view_.firstVisibleRow = x;
    view_.firstVisibleColumn = y;
    recomputeView();
    if (x == 0 && y == 0 && view_.window)
        UpdateWindow(view_.window);
    return S_OK;
}

STDMETHODIMP QuorGridControl::AutoSizeEditBox(VARIANT_BOOL inProp)
{
    view_.autoSizeEditBox = inProp;
    return S_OK;
}
