// The data grid's page: "<<", ">>" and "Goto:".
#include "DataViewerDialog.h"
#include "GotoTime.h"
#include "GridCalls.h"
#include "resource.h"

namespace quor {

void DataViewerDialog::fillDataPage()
{
    if (!dataGrid_)
        return;
    clearGrid(dataGrid_.Get());
    GridRowSink rows(dataGrid_.Get());
    if (!pager_.fillPage(dataFile_, rows))
        return;
    dataGrid_->setUpperLeftCell(0, 0);
    dataGrid_->redraw();
    showPageInPlot();
}

void DataViewerDialog::pageBack()
{
    pager_.pageBack();
    showCurrentTime();
    fillDataPage();
}

// Only a plainly checked box counts, without the pushed or focus states.
bool DataViewerDialog::bySegmentChecked() const
{
    return SendDlgItemMessageA(window_, IDC_BY_SEGMENT, BM_GETSTATE, 0, 0) == BST_CHECKED;
}

void DataViewerDialog::pageForward()
{
    pager_.pageForward(bySegmentChecked());
    showCurrentTime();
    fillDataPage();
}

void DataViewerDialog::applyTypedPageSize()
{
    const int32_t typed = itemText(IDC_PAGE_SIZE).toInt32();
    if (typed == pager_.pageSize())
        return;
    const HRESULT hr = pager_.setPageSize(typed);
    if (hr == S_OK)
        return;
    if (FAILED(hr))
        showMessage("Unable to Allocate Memory", "QUOR Data Viewer", MB_OK | MB_ICONSTOP);
    showPageSize();
}

void DataViewerDialog::goToTypedTime()
{
    applyTypedPageSize();
    pager_.goTo(parseGotoTime(itemText(IDC_GOTO_TIME).c_str()));
    showCurrentTime();
    if (dataFile_.isOpen())
        fillDataPage();
}

}  // namespace quor
