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
    if (!document_.fillPage(rows))
        return;
    dataGrid_->setUpperLeftCell(0, 0);
    dataGrid_->redraw();
    showPageInPlot();
}

void DataViewerDialog::pageBack()
{
    document_.pager().pageBack();
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
    document_.pager().pageForward(bySegmentChecked());
    showCurrentTime();
    fillDataPage();
}

// true when the page size changed.
bool DataViewerDialog::applyTypedPageSize()
{
    DataPager& pager = document_.pager();
    const int32_t typed = itemText(IDC_PAGE_SIZE).toInt32();
    if (typed == pager.pageSize())
        return false;
    const HRESULT hr = pager.setPageSize(typed);
    if (hr == S_OK)
        return true;
    if (FAILED(hr))
        showMessage("Unable to Allocate Memory", "QUOR Data Viewer", MB_OK | MB_ICONSTOP);
    showPageSize();
    return false;
}

void DataViewerDialog::goToTypedTime()
{
    applyTypedPageSize();
    document_.pager().goTo(parseGotoTime(itemText(IDC_GOTO_TIME).c_str()));
    showCurrentTime();
    if (document_.isOpen())
        fillDataPage();
}

// Enter in the page-size edit: the page shown takes the new size where it
// stands.
void DataViewerDialog::takeTypedPageSize()
{
    if (applyTypedPageSize() && document_.isOpen())
        fillDataPage();
}

}  // namespace quor
