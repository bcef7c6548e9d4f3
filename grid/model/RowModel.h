// The grid's rows: the display list and the list of deleted rows kept for
// the host. The model owns every GridRow in either list.
//
// The display list has one shared cursor: the iteration methods advance it
// and every lookup by index or tag moves it too, so a host iterating rows
// must not interleave other row calls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "GridRow.h"
#include "quortemplatelib.h"

namespace quor {

class RowModel {
public:
    RowModel() = default;
    RowModel(const RowModel&) = delete;
    RowModel& operator=(const RowModel&) = delete;
    ~RowModel();

    int32_t rowCount() const { return rows_.getCount(); }

    // Takes ownership; E_OUTOFMEMORY leaves the row with the caller.
    HRESULT append(std::unique_ptr<GridRow>& row);

    GridRow* rowAtIndex(int32_t index) { return rows_.getAt(index); }
    // Numbers count from 1; a host's INT_MIN must not overflow on the way.
    GridRow* rowByNumber(int32_t number) { return number > 0 ? rows_.getAt(number - 1) : nullptr; }
    int32_t indexOf(const GridRow* row) { return rows_.indexOf(row); }
    // First row whose tag matches without regard to case; the cursor is
    // left just after it.
    GridRow* findByTag(const std::string& tag);

    void resetCursor() { rows_.resetToFirst(); }
    GridRow* next() { return rows_.getNext(); }
    GridRow* nextEdited() { return nextWith(&GridRow::edited); }
    GridRow* nextSelected() { return nextWith(&GridRow::selected); }

    int32_t countEdited() { return countWith(&GridRow::edited); }
    int32_t countSelected() { return countWith(&GridRow::selected); }

    // Rows in display order, for passes that must not disturb the cursor.
    std::vector<GridRow*> snapshot();
    // Rebuilds the display list in the given order (the same rows).
    void reorder(const std::vector<GridRow*>& order);

    // Takes the row out of the display list and keeps it as deleted or frees it.
    void remove(GridRow* row, bool keepAsDeleted);
    void moveAllToDeleted();

    void resetDeletedCursor() { deleted_.resetToFirst(); }
    GridRow* nextDeleted() { return deleted_.getNext(); }
    void freeDeleted();

private:
    // The next row, from the cursor on, whose flag is -1.
    GridRow* nextWith(VARIANT_BOOL GridRow::*flag);
    int32_t countWith(VARIANT_BOOL GridRow::*flag);
    static void freeAll(tGenericContainer<GridRow>& list);

    tGenericContainer<GridRow> rows_;
    tGenericContainer<GridRow> deleted_;
};

}  // namespace quor
