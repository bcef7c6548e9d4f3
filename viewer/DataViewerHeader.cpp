// The header grid: filling it from the open file and writing its edited
// rows back into the file's header.
#include "DataViewerDialog.h"
#include "GridCalls.h"
#include "HeaderRows.h"

namespace quor {

void DataViewerDialog::fillHeaderGrid()
{
    if (!headerGrid_)
        return;
    clearGrid(headerGrid_.Get());
    refreshSegments();
    Bstr tag("");
    for (const HeaderRow& row : buildHeaderRows(shownPage()))
        headerGrid_->appendRow(Bstr(row.text).get(), variantBool(row.scrollTo), tag.get(), variantBool(row.markEdited));
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
        showMessage(text.format("Unable to Save Header Changes: %s", dataFilePath_.c_str()), "Save Header",
                    MB_OK | MB_ICONSTOP);
        return hr;
    }
    headerGrid_->resetAllEditedRows();
    return S_OK;
}

HRESULT DataViewerDialog::writeEditedRows()
{
    headerGrid_->resetToFirstEditedRow();
    DataFileHeader record = header_;
    for (;;) {
        Bstr row, tag;
        LONG index = 0;
        if (headerGrid_->getNextEditedRow(row.out(), tag.out(), &index) != S_OK)
            break;
        applyEditedRow(row.text().c_str(), record);
    }
    return dataFile_.saveHeader(record);
}

}  // namespace quor
