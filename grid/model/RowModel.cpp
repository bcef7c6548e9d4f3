#include "RowModel.h"

#include "GridText.h"

namespace quor {

RowModel::~RowModel()
{
    freeAll(rows_);
    freeAll(deleted_);
}

HRESULT RowModel::append(std::unique_ptr<GridRow>& row)
{
    HRESULT hr = rows_.addObject(row.get());
    if (SUCCEEDED(hr))
        row.release();
    return hr;
}

GridRow* RowModel::findByTag(const std::string& tag)
{
    rows_.resetToFirst();
    while (GridRow* row = rows_.getNext()) {
        if (equalsNoCase(row->tagText, tag))
            return row;
    }
    return nullptr;
}

GridRow* RowModel::nextWith(VARIANT_BOOL GridRow::*flag)
{
    while (GridRow* row = rows_.getNext()) {
        if (row->*flag == VARIANT_TRUE)
            return row;
    }
    return nullptr;
}

int32_t RowModel::countWith(VARIANT_BOOL GridRow::*flag)
{
    int32_t count = 0;
    rows_.resetToFirst();
    while (nextWith(flag))
        ++count;
    return count;
}

std::vector<GridRow*> RowModel::snapshot()
{
    std::vector<GridRow*> rows;
    rows.reserve(static_cast<size_t>(rows_.getCount()));
    rows_.resetToFirst();
    while (GridRow* row = rows_.getNext())
        rows.push_back(row);
    return rows;
}

void RowModel::reorder(const std::vector<GridRow*>& order)
{
    // Every node is kept by removeAll, so re-adding the same rows never
    // allocates and cannot fail.
    rows_.removeAll();
    for (GridRow* row : order)
        rows_.addObject(row);
}

void RowModel::remove(GridRow* row, bool keepAsDeleted)
{
    rows_.cleanObject(row, true);
    if (keepAsDeleted && SUCCEEDED(deleted_.addObject(row)))
        return;
    delete row;
}

void RowModel::moveAllToDeleted()
{
    std::vector<GridRow*> rows = snapshot();
    rows_.removeAll();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (FAILED(deleted_.addObject(rows[i])))
            delete rows[i];
    }
}

void RowModel::freeDeleted()
{
    freeAll(deleted_);
    deleted_.removeAll();
}

void RowModel::freeAll(tGenericContainer<GridRow>& list)
{
    list.resetToFirst();
    while (GridRow* row = list.getNext())
        delete row;
}

}  // namespace quor
