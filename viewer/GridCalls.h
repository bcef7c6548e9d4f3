// The viewer's side of the grid boundary: the strings it passes are
// allocated here and freed after the call; the strings a grid returns are
// owned by a Bstr (common/win) and converted to 8-bit text.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "Bstr.h"
#include "DataPager.h"
#include "QuorGrid_h.h"
#include "Text.h"
#include "VariantBool.h"

namespace quor {

// Rows appended to a grid, never scrolled to and without tag text.
class GridRowSink final : public RowSink {
public:
    explicit GridRowSink(IQuorGridControl* grid) : grid_(grid) {}
    void appendRow(const Text& text, bool markEdited) override;

private:
    IQuorGridControl* grid_;
};

// Empties a grid and lets it drop the rows it keeps as deleted, so that
// refilling it again and again does not grow its memory.
void clearGrid(IQuorGridControl* grid);

}  // namespace quor
