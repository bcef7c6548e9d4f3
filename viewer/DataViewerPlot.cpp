// The wiring between the dialog and its plot window: Tools > Plot, the
// page band, a double-clicked time, and the plot following Open and Close.
#include "DataViewerDialog.h"
#include "resource.h"

namespace quor {

void DataViewerDialog::showPlot()
{
    if (!dataFile_.isOpen())
        return;
    if (!plot_)
        plot_.reset(new PlotWindow([this](int64_t time) { goToPlotTime(time); }));
    if (plot_->isOpen() && plot_->path() == dataFilePath_.str()) {
        plot_->bringToFront();
        return;
    }
    plot_->show(window_, dataFilePath_.c_str());
    showPageInPlot();
}

// After an open: the plot switches to the file just loaded; a failed open
// that left the dialog without a file leaves no plot, one that kept the
// file before keeps its plot.
void DataViewerDialog::plotFollowsFile(bool loaded)
{
    enablePlotItem();
    if (!plot_ || !plot_->isOpen())
        return;
    if (!dataFile_.isOpen())
        closePlot();
    else if (loaded)
        plot_->follow(dataFilePath_.c_str());
}

void DataViewerDialog::showPageInPlot()
{
    if (!plot_ || !plot_->isOpen())
        return;
    int64_t first = 0, last = 0;
    const bool shown = dataFile_.isOpen() && pager_.shownSpan(&first, &last);
    plot_->setPage(shown, first, last);
}

void DataViewerDialog::closePlot()
{
    if (plot_)
        plot_->close();
    enablePlotItem();
}

// Exactly what typing the time into the goto edit and clicking "Goto:" does.
void DataViewerDialog::goToPlotTime(int64_t time)
{
    Text text;
    SetDlgItemTextA(window_, IDC_GOTO_TIME, text.format("%lld", static_cast<long long>(time)).c_str());
    goToTypedTime();
}

void DataViewerDialog::enablePlotItem()
{
    if (menu_)
        EnableMenuItem(menu_, ID_TOOLS_PLOT, MF_BYCOMMAND | (dataFile_.isOpen() ? MF_ENABLED : MF_GRAYED));
}

}  // namespace quor
