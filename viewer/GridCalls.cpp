#include "GridCalls.h"

void GridRowSink::appendRow(const QuorText& text, bool markEdited)
{
    Bstr row(text);
    Bstr tag("");
    grid_->appendRow(row.get(), VARIANT_FALSE, tag.get(), vb(markEdited));
}

void clearGrid(IQuorGridControl* grid)
{
    grid->deleteAllRows(VARIANT_TRUE);
    grid->resetAllDeletedRows();
}
