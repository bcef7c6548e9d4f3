// View and appearance methods of QuorGridControl. Without a window they
// store their state; painting picks it up once the window exists.
#include "GridScroller.h"
#include "ComBoundary.h"
#include "QuorGridControl.h"

namespace quor {

void QuorGridControl::redrawIf(VARIANT_BOOL flag)
{
    if (isVariantTrue(flag))
        core_.view().invalidate();
}

STDMETHODIMP QuorGridControl::showRowButtons(VARIANT_BOOL show)
{
    core_.view().rowButtonsShown = isVariantTrue(show);
    rowHeader_.show(isVariantTrue(show));
    placeHeaderBand();
    recomputeView();
    return S_OK;
}

STDMETHODIMP QuorGridControl::showColumnHeader(VARIANT_BOOL show)
{
    core_.view().columnHeaderShown = isVariantTrue(show);
    if (show == VARIANT_TRUE || show == VARIANT_FALSE)
        columnHeader_.show(show == VARIANT_TRUE);
    return S_OK;
}

STDMETHODIMP QuorGridControl::rowIsVisible(LONG rowNumber, VARIANT_BOOL* visible)
{
    if (!visible)
        return E_POINTER;
    *visible = variantBool(core_.view().isRowVisible(rowNumber));
    return S_OK;
}

STDMETHODIMP QuorGridControl::redraw()
{
    core_.relayout();
    return S_OK;
}

void QuorGridControl::rowsChanged()
{
    // Rows may have come and gone since the bar was last set.
    if (gridWindow_)
        setUpScrollBars();
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
    core_.view().backgroundColor = color;
    redrawIf(redraw);
    return S_OK;
}

STDMETHODIMP QuorGridControl::setGridLineColor(ULONG color, VARIANT_BOOL redraw)
{
    if (color == core_.view().gridLineColor)
        return S_OK;
    // Kept even before the first paint, so that the painter's pen has the
    // colour the host asked for.
    core_.view().gridLineColor = color;
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
    core_.view().gridLineStyle = style;
    core_.view().invalidate();
    return S_OK;
}

STDMETHODIMP QuorGridControl::setGridTextAlignment(GridTextAlignmentStyle align)
{
    core_.view().textAlignment = align;
    core_.view().invalidate();
    return S_OK;
}

STDMETHODIMP QuorGridControl::setUpperLeftCell(LONG x, LONG y)
{
    return core_.setUpperLeftCell(x, y) ? S_OK : S_FALSE;
}

void QuorGridControl::originMoved()
{
    // The bars show the indices themselves, so the next line step moves by
    // exactly one from here.
    const GridView& view = core_.view();
    const int32_t x = view.firstVisibleRow;
    const int32_t y = view.firstVisibleColumn;
    if (gridWindow_) {
        applyScrollBar(gridWindow_, SB_VERT, verticalGeometry(core_.rows().rowCount()), x);
        applyScrollBar(gridWindow_, SB_HORZ, horizontalGeometry(core_.columnCount()), y);
    }
    rowHeader_.renumber(x);
    placeHeaderBand();
    if (x == 0 && y == 0 && gridWindow_)
        repaintHeadersNow();
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
    core_.view().autoSizeEditBox = isVariantTrue(inProp);
    return S_OK;
}

}  // namespace quor
