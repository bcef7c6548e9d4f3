#include "ColumnTable.h"

#include "GridText.h"

namespace quor {

bool ColumnTable::insert(const std::string& heading)
{
    if (count() >= kMaxColumns)
        return false;
    Column column;
    column.heading = heading;
    column.width = initialWidth(heading);
    columns_.push_back(std::move(column));
    return true;
}

void ColumnTable::removeAll()
{
    columns_.clear();
}

int32_t ColumnTable::initialWidth(const std::string& heading)
{
    return 8 * static_cast<int32_t>(heading.size()) + 24;
}

const ColumnTable::Column* ColumnTable::find(int32_t column) const
{
    return contains(column) ? &columns_[static_cast<size_t>(column)] : nullptr;
}

ColumnTable::Column* ColumnTable::find(int32_t column)
{
    return contains(column) ? &columns_[static_cast<size_t>(column)] : nullptr;
}

std::string ColumnTable::heading(int32_t column) const
{
    const Column* c = find(column);
    return c ? c->heading.substr(0, kMaxHeadingLength) : std::string();
}

int32_t ColumnTable::width(int32_t column) const
{
    const Column* c = find(column);
    return c ? c->width : 0;
}

bool ColumnTable::setWidth(int32_t column, int32_t width)
{
    Column* c = find(column);
    if (!c)
        return false;
    c->width = width;
    return true;
}

VARIANT_BOOL ColumnTable::editable(int32_t column) const
{
    const Column* c = find(column);
    return c ? c->editable : VARIANT_FALSE;
}

bool ColumnTable::setEditable(int32_t column, VARIANT_BOOL editable)
{
    Column* c = find(column);
    if (!c)
        return false;
    c->editable = editable;
    return true;
}

VARIANT_BOOL ColumnTable::selected(int32_t column) const
{
    const Column* c = find(column);
    return c ? c->selected : VARIANT_FALSE;
}

VARIANT_BOOL ColumnTable::autoResize(int32_t column) const
{
    const Column* c = find(column);
    return c ? c->autoResize : VARIANT_FALSE;
}

void ColumnTable::setAutoResize(int32_t column, VARIANT_BOOL autoResize)
{
    if (Column* c = find(column))
        c->autoResize = autoResize;
}

VARIANT_BOOL ColumnTable::locked(int32_t column) const
{
    const Column* c = find(column);
    return c ? c->locked : VARIANT_FALSE;
}

void ColumnTable::toggleLock(int32_t column)
{
    if (Column* c = find(column))
        c->locked = c->locked == VARIANT_TRUE ? VARIANT_FALSE : VARIANT_TRUE;
}

CellKind ColumnTable::cellKind(int32_t column) const
{
    const Column* c = find(column);
    return c ? c->kind : CellKind::PlainText;
}

std::string ColumnTable::options(int32_t column) const
{
    const Column* c = find(column);
    return c ? c->options : std::string();
}

void ColumnTable::setCellKind(int32_t column, const std::string& kindName, const std::string& options)
{
    Column* c = find(column);
    if (!c)
        return;
    if (equalsNoCase(kindName, "ddDropDownList"))
        c->kind = CellKind::DropDownList;
    else if (equalsNoCase(kindName, "ddColorButton"))
        c->kind = CellKind::ColorButton;
    else
        return;
    c->options = options;
}

void ColumnTable::deselectAll()
{
    for (Column& c : columns_)
        c.selected = VARIANT_FALSE;
    selectionAnchor_ = -1;
}

void ColumnTable::setSelected(int32_t column, VARIANT_BOOL selected)
{
    if (Column* c = find(column))
        c->selected = selected;
}

void ColumnTable::clickSelect(int32_t column, bool shift, bool control)
{
    if (!contains(column))
        return;
    if (shift) {
        if (selectionAnchor_ < 0)
            return;
        const int32_t from = column >= selectionAnchor_ ? selectionAnchor_ : column;
        const int32_t to = column >= selectionAnchor_ ? column : selectionAnchor_ - 1;
        for (int32_t c = from; c <= to; ++c)
            setSelected(c, VARIANT_TRUE);
        return;
    }
    const bool wasSelected = selected(column) == VARIANT_TRUE;
    if (control) {
        setSelected(column, wasSelected ? VARIANT_FALSE : VARIANT_TRUE);
        return;
    }
    deselectAll();
    setSelected(column, wasSelected ? VARIANT_FALSE : VARIANT_TRUE);
    if (!wasSelected)
        selectionAnchor_ = column;
}

void ColumnTable::toggleEditable(int32_t column)
{
    if (Column* c = find(column))
        c->editable = c->editable == VARIANT_TRUE ? VARIANT_FALSE : VARIANT_TRUE;
}

void ColumnTable::toggleAutoResize(int32_t column)
{
    if (Column* c = find(column))
        c->autoResize = c->autoResize == VARIANT_TRUE ? VARIANT_FALSE : VARIANT_TRUE;
}

int32_t ColumnTable::columnAt(int32_t x) const
{
    constexpr int64_t kDividerSlack = 10;
    int64_t edge = 0;
    for (const Column& c : columns_) {
        edge += c.width;
        if (edge - kDividerSlack < x && x < edge + kDividerSlack)
            return -1;
    }
    edge = 0;
    for (int32_t i = 0; i < count(); ++i) {
        edge += columns_[static_cast<size_t>(i)].width;
        if (edge > x)
            return i;
    }
    return count();
}

}  // namespace quor
