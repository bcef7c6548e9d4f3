// Column table methods of QuorGridControl.
#include "GridGuard.h"
#include "GridText.h"
#include "QuorGridControl.h"
#include "RowText.h"
#include "TextMeasure.h"

namespace {

constexpr size_t kMeasuredCharacters = 99;

}  // namespace

STDMETHODIMP QuorGridControl::setColumnHeadings(BSTR headings)
{
    columnCount_ = 0;
    if (SysStringLen(headings) == 0)
        return S_FALSE;
    return guarded([&] {
        headingString_ = ansiFromBstr(headings);
        columns_.removeAll();
        for (const std::string& heading : splitSequential(headingString_)) {
            if (!columns_.insert(heading))
                break;
        }
        columnCount_ = columns_.count();
        columnHeader_.mirror(columns_);
        scrollColumnsTo(view_.firstVisibleColumn);
        recomputeView();
        return S_OK;
    });
}

STDMETHODIMP QuorGridControl::SetColumnEditable(LONG column, VARIANT_BOOL editable)
{
    if (column < 0 || column >= columnCount_)
        return S_FALSE;
    return columns_.setEditable(column, editable) ? S_OK : S_FALSE;
}

STDMETHODIMP QuorGridControl::getNumberOfColumns(LONG* count)
{
    if (!count)
        return E_POINTER;
    *count = columnCount_;
    return S_OK;
}

STDMETHODIMP QuorGridControl::getColumnHeading(LONG columnNumber, BSTR* heading)
{
    if (!heading)
        return E_POINTER;
    return guarded([&] { return returnBstr(columns_.heading(columnNumber), heading); });
}

STDMETHODIMP QuorGridControl::getColumnHeadingStr(BSTR* headings)
{
    if (!headings)
        return E_POINTER;
    return guarded([&] { return returnBstr(headingString_, headings); });
}

STDMETHODIMP QuorGridControl::getColumnNumberByHeading(BSTR heading, LONG* column)
{
    if (!column)
        return E_POINTER;
    return guarded([&] {
        const std::string wanted = ansiFromBstr(heading);
        for (int32_t c = 0; c < columnCount_; ++c) {
            if (equalsNoCase(columns_.heading(c), wanted)) {
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
    if (!isVariantTrue(columns_.autoResize(col)))
        return S_OK;
    return guarded([&] {
        const int32_t width = textWidth(longestCellText(col).substr(0, kMeasuredCharacters));
        if (width >= 1)
            setColumnWidthEverywhere(col, width);
        view_.invalidate();
        return S_OK;
    }, S_OK);
}

std::string QuorGridControl::longestCellText(int32_t column)
{
    std::string longest;
    rows_.resetCursor();
    while (GridRow* row = rows_.next()) {
        std::string text = cellOrEmpty(row->rowText, column);
        if (text.size() > longest.size())
            longest.swap(text);
    }
    return longest;
}

int32_t QuorGridControl::textWidth(const std::string& text) const
{
    return measureTextWidth(drawingSurface_, gridFont_.get(), text);
}

STDMETHODIMP QuorGridControl::setColumnWidth(LONG col, SHORT width)
{
    if (!columns_.contains(col))
        return S_FALSE;
    setColumnWidthEverywhere(col, width);
    return S_OK;
}

STDMETHODIMP QuorGridControl::getColumnWidth(LONG col, SHORT* width)
{
    if (!width)
        return E_POINTER;
    *width = static_cast<SHORT>(columns_.width(col));
    return S_OK;
}

STDMETHODIMP QuorGridControl::setGuiComponent(LONG column, BSTR kind, BSTR items)
{
    return guarded([&] {
        columns_.setCellKind(column, ansiFromBstr(kind), ansiFromBstr(items));
        return S_OK;
    }, S_OK);
}

STDMETHODIMP QuorGridControl::allowColumnReorder(VARIANT_BOOL allow)
{
    columns_.allowReorder(allow);
    columnHeader_.allowReorder(allow == VARIANT_TRUE);
    return S_OK;
}

STDMETHODIMP QuorGridControl::setMenuOptionsSensitivity(BSTR, VARIANT_BOOL)
{
    return S_OK;
}
