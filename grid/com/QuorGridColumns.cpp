// Column table methods of QuorGridControl.
#include "GridGuard.h"
#include "ComBoundary.h"
#include "GridText.h"
#include "QuorGridControl.h"
#include "RowText.h"
#include "TextMeasure.h"

namespace quor {

namespace {

constexpr size_t kMeasuredCharacters = 99;

}  // namespace

STDMETHODIMP QuorGridControl::setColumnHeadings(BSTR headings)
{
    if (SysStringLen(headings) == 0) {
        core_.setColumnHeadings(std::string());
        return S_FALSE;
    }
    return guarded([&] {
        core_.setColumnHeadings(ansiFromBstr(headings));
        return S_OK;
    });
}

void QuorGridControl::headingsChanged()
{
    columnHeader_.mirror(core_.columns());
    scrollColumnsTo(core_.view().firstVisibleColumn);
}

STDMETHODIMP QuorGridControl::SetColumnEditable(LONG column, VARIANT_BOOL editable)
{
    if (column < 0 || column >= core_.columnCount())
        return S_FALSE;
    return core_.columns().setEditable(column, isVariantTrue(editable)) ? S_OK : S_FALSE;
}

STDMETHODIMP QuorGridControl::getNumberOfColumns(LONG* count)
{
    if (!count)
        return E_POINTER;
    *count = core_.columnCount();
    return S_OK;
}

STDMETHODIMP QuorGridControl::getColumnHeading(LONG columnNumber, BSTR* heading)
{
    if (!heading)
        return E_POINTER;
    return guarded([&] { return returnBstr(core_.columns().heading(columnNumber), heading); });
}

STDMETHODIMP QuorGridControl::getColumnHeadingStr(BSTR* headings)
{
    if (!headings)
        return E_POINTER;
    return guarded([&] { return returnBstr(core_.headingString(), headings); });
}

STDMETHODIMP QuorGridControl::getColumnNumberByHeading(BSTR heading, LONG* column)
{
    if (!column)
        return E_POINTER;
    return guarded([&] {
        const std::string wanted = ansiFromBstr(heading);
        for (int32_t c = 0; c < core_.columnCount(); ++c) {
            if (equalsNoCase(core_.columns().heading(c), wanted)) {
                *column = c;
                return S_OK;
            }
        }
        *column = -1;
        return S_FALSE;
    });
}

STDMETHODIMP QuorGridControl::autoResizeColumn(LONG col)
{
    if (!core_.columns().autoResize(col))
        return S_OK;
    return guarded([&] {
        const int32_t width = textWidth(longestCellText(col).substr(0, kMeasuredCharacters));
        if (width >= 1)
            core_.setColumnWidth(col, width);
        core_.view().invalidate();
        return S_OK;
    }, S_OK);
}

std::string QuorGridControl::longestCellText(int32_t column)
{
    std::string longest;
    core_.rows().resetCursor();
    while (GridRow* row = core_.rows().next()) {
        std::string text = cellOrEmpty(row->rowText, column);
        if (text.size() > longest.size())
            longest.swap(text);
    }
    return longest;
}

int32_t QuorGridControl::textWidth(const std::string& text)
{
    return measureTextWidth(paintBuffer_.memoryDC(), gridFont_.get(), text);
}

STDMETHODIMP QuorGridControl::setColumnWidth(LONG col, SHORT width)
{
    if (!core_.columns().contains(col))
        return S_FALSE;
    core_.setColumnWidth(col, width);
    return S_OK;
}

STDMETHODIMP QuorGridControl::getColumnWidth(LONG col, SHORT* width)
{
    if (!width)
        return E_POINTER;
    *width = static_cast<SHORT>(core_.columns().width(col));
    return S_OK;
}

STDMETHODIMP QuorGridControl::setGuiComponent(LONG column, BSTR kind, BSTR items)
{
    return guarded([&] {
        core_.columns().setCellKind(column, ansiFromBstr(kind), ansiFromBstr(items));
        return S_OK;
    }, S_OK);
}

STDMETHODIMP QuorGridControl::allowColumnReorder(VARIANT_BOOL allow)
{
    core_.columns().allowReorder(isVariantTrue(allow));
    columnHeader_.allowReorder(isVariantTrue(allow));
    return S_OK;
}

STDMETHODIMP QuorGridControl::setMenuOptionsSensitivity(BSTR, VARIANT_BOOL)
{
    return S_OK;
}

}  // namespace quor
