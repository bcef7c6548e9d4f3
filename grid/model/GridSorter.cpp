#include "GridSorter.h"

#include <algorithm>
#include <cstdlib>

#include "Collation.h"
#include "GridEnums.h"
#include "RowModel.h"
#include "RowText.h"

namespace quor {

namespace {

struct SortKey {
    GridRow* row;
    // The cell's sort key, made once: comparing two keys bytewise orders
    // the texts as the collation does, and asking the collation on every
    // comparison would dominate a large sort.
    std::string collation;
    bool numeric;
    double value;  // the leading number of the text, 0 when there is none
};

int compareText(const SortKey& a, const SortKey& b)
{
    return a.collation.compare(b.collation);
}

// Whether `challenger` moves ahead of `candidate`. Only the challenger's
// cell decides between a numeric and a text comparison.
bool beats(const SortKey& challenger, const SortKey& candidate, bool ascending)
{
    int order;
    if (challenger.numeric)
        order = challenger.value < candidate.value ? -1 : (challenger.value > candidate.value ? 1 : 0);
    else
        order = compareText(challenger, candidate);
    return ascending ? order < 0 : order > 0;
}

std::vector<SortKey> keysOf(const std::vector<GridRow*>& rows, int32_t column)
{
    std::vector<SortKey> keys;
    keys.reserve(rows.size());
    bool anyText = false;
    for (GridRow* row : rows) {
        const std::string cell = cellOrEmpty(row->rowText, column);
        const bool numeric = GridSorter::isNumeric(cell);
        anyText = anyText || !numeric;
        keys.push_back(SortKey{row, std::string(), numeric, std::strtod(cell.c_str(), nullptr)});
    }
    // Only a text challenger compares texts, so an all-numeric column
    // needs no collation keys.
    if (anyText) {
        const Collation& rules = collation();
        for (SortKey& key : keys)
            key.collation = rules.sortKey(cellOrEmpty(key.row->rowText, column));
    }
    return keys;
}

// The grid's original order: repeatedly move the first row that no later
// row beats. Needed only when numeric and text cells are mixed, where the
// comparison depends on which row is the candidate and is no ordering.
void selectionSort(std::vector<SortKey>& keys, bool ascending)
{
    for (size_t placed = 0; placed < keys.size(); ++placed) {
        size_t candidate = placed;
        for (size_t i = placed + 1; i < keys.size(); ++i) {
            if (beats(keys[i], keys[candidate], ascending))
                candidate = i;
        }
        std::rotate(keys.begin() + static_cast<std::ptrdiff_t>(placed),
                    keys.begin() + static_cast<std::ptrdiff_t>(candidate),
                    keys.begin() + static_cast<std::ptrdiff_t>(candidate) + 1);
    }
}

}  // namespace

bool GridSorter::isNumeric(const std::string& text)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

HRESULT GridSorter::sortGrid(RowModel& rows, int32_t column, int32_t style, int32_t columnCount)
{
    if (style == sortNone) {
        if (column >= columnCount)
            return S_FALSE;
        if (column == sortColumn_) {
            std::vector<GridRow*> order = rows.snapshot();
            std::reverse(order.begin(), order.end());
            rows.reorder(order);
            sortOrder_ = sortOrder_ == sortAscending ? sortDescending : sortAscending;
            return S_OK;
        }
        style = sortAscending;
    } else if (style == sortOrder_ && column == sortColumn_) {
        return S_OK;
    }
    sortOrder_ = style;
    sortRows(rows, column, style == sortAscending);
    sortColumn_ = column;
    return S_OK;
}

void GridSorter::sortRows(RowModel& rows, int32_t column, bool ascending)
{
    std::vector<SortKey> keys = keysOf(rows.snapshot(), column);
    const size_t numericCount = static_cast<size_t>(
        std::count_if(keys.begin(), keys.end(), [](const SortKey& k) { return k.numeric; }));
    if (numericCount == 0 || numericCount == keys.size()) {
        // One kind of comparison throughout is a consistent order, and the
        // stable sort then yields exactly what the selection sort would.
        std::stable_sort(keys.begin(), keys.end(), [ascending](const SortKey& a, const SortKey& b) {
            return beats(a, b, ascending);
        });
    } else {
        selectionSort(keys, ascending);
    }
    std::vector<GridRow*> order;
    order.reserve(keys.size());
    for (const SortKey& key : keys)
        order.push_back(key.row);
    rows.reorder(order);
}

}  // namespace quor
