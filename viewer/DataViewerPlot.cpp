// The wiring between the dialog and its plot window: Tools > Plot, the
// page band, a double-clicked time, and the plot following Open and Close.
#include "DataViewerDialog.h"
#include "resource.h"

namespace quor {

void DataViewerDialog::ensurePlot()
{
    if (!plot_)
        plot_.reset(new PlotWindow([this](int64_t time) { goToPlotTime(time); }));
}

void DataViewerDialog::showPlot()
{
    if (!document_.isOpen())
        return;
    ensurePlot();
    if (plot_->isOpen() && plot_->path() == document_.path()) {
        plot_->bringToFront();
        return;
    }
    plot_->show(window_, document_.path().c_str());
    showPageInPlot();
}

// The plot opens the workspace; then the dialog loads its linked lane's
// file, the first, which the plot already shows. A first file that is
// missing leaves the dialog as it was (a failed open would close the plot).
bool DataViewerDialog::openWorkspace(const std::string& workspacePath)
{
    ensurePlot();
    if (!plot_->openWorkspace(window_, workspacePath))
        return false;
    const std::string& linked = plot_->path();
    if (!linked.empty() && GetFileAttributesA(linked.c_str()) != INVALID_FILE_ATTRIBUTES) {
        saveHeaderChanges(true);
        dataFilePath_ = linked.c_str();
        openDataFile(false);
    }
    showPageInPlot();
    return true;
}

// After an open or a save: the plot switches to the file just loaded or
// reads the saved one again; a failed open keeps the file before, and its
// plot.
void DataViewerDialog::plotFollowsFile(bool loaded)
{
    enablePlotItem();
    if (!plot_ || !plot_->isOpen())
        return;
    if (!document_.isOpen())
        closePlot();
    else if (loaded)
        plot_->follow(document_.path().c_str());
}

void DataViewerDialog::showPageInPlot()
{
    if (!plot_ || !plot_->isOpen())
        return;
    int64_t first = 0, last = 0;
    const bool shown = document_.isOpen() && document_.pager().shownSpan(&first, &last);
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
        EnableMenuItem(menu_, ID_TOOLS_PLOT, MF_BYCOMMAND | (document_.isOpen() ? MF_ENABLED : MF_GRAYED));
}

}  // namespace quor
