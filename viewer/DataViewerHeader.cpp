// The header grid: filling it from the document and handing its edited rows
// to the document to write.
#include "DataViewerDialog.h"
#include "GridCalls.h"
#include "HeaderRows.h"

namespace quor {

void DataViewerDialog::fillHeaderGrid()
{
    if (!headerGrid_)
        return;
    clearGrid(headerGrid_.Get());
    // One batch: no row is scrolled to, so a long segment table costs no
    // scroll per row; the fill ends at the top, drawn once.
    Bstr tag("");
    IQuorGridControl* grid = headerGrid_.Get();
    document_.visitHeaderRows([grid, &tag](const HeaderRow& row) {
        grid->appendRow(Bstr(row.text).get(), VARIANT_FALSE, tag.get(), vb(row.markEdited));
    });
    headerGrid_->resetAllEditedRows();
    headerGrid_->setUpperLeftCell(0, 0);
    headerGrid_->redraw();
}

HRESULT DataViewerDialog::saveHeaderChanges(bool confirm)
{
    if (!headerGrid_)
        return E_FAIL;
    // Text still open in a header cell is an edit too: it is written into
    // its row now, before the rows are counted and maybe replaced.
    headerGrid_->CompleteEdit();
    LONG edited = 0;
    headerGrid_->getNumberOfEditedRows(&edited);
    if (edited < 1)
        return S_OK;
    if (confirm && showMessage("Save Header Changes ?", "", MB_YESNO) != IDYES)
        return S_OK;
    HRESULT hr = writeEditedRows();
    if (FAILED(hr)) {
        // The user must never believe that edits were written when they were not.
        Text text;
        const Text& path = document_.path().empty() ? dataFilePath_ : Text(document_.path().c_str());
        showMessage(text.format("Unable to Save Header Changes: %s", path.c_str()), "Save Header",
                    MB_OK | MB_ICONSTOP);
        return hr;
    }
    // The rows, the page and the plot show what the file now says.
    fillHeaderGrid();
    showCurrentTime();
    fillDataPage();
    plotFollowsFile(true);
    return S_OK;
}

HRESULT DataViewerDialog::writeEditedRows()
{
    headerGrid_->resetToFirstEditedRow();
    std::vector<Text> rows;
    for (;;) {
        Bstr row, tag;
        LONG index = 0;
        if (headerGrid_->getNextEditedRow(row.out(), tag.out(), &index) != S_OK)
            break;
        rows.push_back(row.text());
    }
    return document_.saveEditedRows(rows);
}

}  // namespace quor
