#include "GridCalls.h"

namespace quor {

void GridRowSink::appendRow(const Text& text, bool markEdited)
{
    Bstr row(text);
    Bstr tag("");
    grid_->appendRow(row.get(), VARIANT_FALSE, tag.get(), variantBool(markEdited));
}

void clearGrid(IQuorGridControl* grid)
{
    grid->deleteAllRows(VARIANT_TRUE);
    grid->resetAllDeletedRows();
}

}  // namespace quor
