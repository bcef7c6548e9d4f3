// The viewer's only window: the dialog with the header grid above and the
// data grid below. It shows the file its ViewerDocument has open and routes
// the commands of its menu, buttons and keys to it.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string>

#include "ControlHost.h"
#include "CsvExport.h"
#include "DialogLayout.h"
#include "PlotWindow.h"
#include "QuorGrid_h.h"
#include "ShortcutKeys.h"
#include "Text.h"
#include "ViewerDocument.h"
#include "WindowProc.h"

namespace quor {

class DataViewerDialog {
public:
    // How the dialog ends: the program runs it modally and quits after it;
    // a test creates it modeless in its own thread and keeps running.
    enum class Mode { modal, modeless };

    explicit DataViewerDialog(HINSTANCE instance);
    ~DataViewerDialog();
    DataViewerDialog(const DataViewerDialog&) = delete;
    DataViewerDialog& operator=(const DataViewerDialog&) = delete;

    void setFileNameFromCommandLine(const char* commandLine);
    INT_PTR runModal(HWND owner);
    HWND createModeless(HWND owner);

    // Loads the workspace's first lane into the dialog and opens the plot
    // on the whole workspace; false when it is not a workspace.
    bool openWorkspace(const std::string& workspacePath);

    HWND window() const { return window_; }
    IQuorGridControl* headerGrid() const { return headerGrid_.Get(); }
    IQuorGridControl* dataGrid() const { return dataGrid_.Get(); }
    const DataPager& pager() const { return document_.pager(); }
    const char* dataFilePath() const { return dataFilePath_.c_str(); }
    PlotWindow* plotWindow() const { return plot_ && plot_->isOpen() ? plot_.get() : nullptr; }

    // Where the CSV export's bytes go once a name is chosen: a new file of
    // that name, unless a test hands in a sink of its own.
    using ExportSinkMaker = std::function<std::unique_ptr<ExportSink>(const char* path)>;
    void setExportSinkMaker(ExportSinkMaker maker) { makeExportSink_ = std::move(maker); }

private:
    friend INT_PTR CALLBACK ownedDialogProc<DataViewerDialog>(HWND, UINT, WPARAM, LPARAM);
    void attachWindow(HWND window) { window_ = window; }
    void detachWindow() { window_ = nullptr; }
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool handleCommand(WORD id, WORD notification);

    void initDialog();
    void hostGrid(int placeholderId, std::unique_ptr<ControlHost>& host,
                  Microsoft::WRL::ComPtr<IQuorGridControl>& grid);
    void setupGrids();
    bool haveGrids() const { return headerGrid_ && dataGrid_; }
    void completeGridEdits();
    void openDataFile(bool askForFile);
    bool askForDataFile();
    bool loadDataFile();
    void closeDataFile();
    void exitViewer();
    void endDialog();
    void showCurrentTime();
    void showPageSize();
    void setSaveEnabled(bool enabled);
    void appendHeaderProblem(const char* text);
    void showOpenFile();
    // Enter goes to the edit it is typed in: Goto in the goto edit, the new
    // size in the page-size edit, the grids' edits anywhere else.
    void onEnter();

    // The window around the dialog: icon, sizing, dropped files, shortcuts.
    void initWindowExtras();
    void onSize(WPARAM kind, int width, int height);
    void openDroppedFile(HDROP drop);

    // Header rows and saving.
    void fillHeaderGrid();
    HRESULT saveHeaderChanges(bool confirm);
    HRESULT writeEditedRows();

    // Paging.
    void fillDataPage();
    void pageBack();
    void pageForward();
    void goToTypedTime();
    bool applyTypedPageSize();
    void takeTypedPageSize();
    bool bySegmentChecked() const;

    // The plot window (DataViewerPlot.cpp): it follows the file and the
    // page, and pages the grid to a double-clicked time.
    void ensurePlot();
    void showPlot();
    void plotFollowsFile(bool loaded);
    void showPageInPlot();
    void closePlot();
    void goToPlotTime(int64_t time);
    void enablePlotItem();

    // Export and index check.
    HRESULT exportCsvFile();
    bool askForExportFile(Text& path);
    HRESULT validateIndexFile();

    int showMessage(const Text& text, const char* caption, UINT flags) const;
    Text itemText(int id) const;

    HINSTANCE instance_;
    Mode mode_ = Mode::modal;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    bool shown_ = false;
    // The name last asked for, which may have failed to open; the document
    // holds the file the grids show.
    Text dataFilePath_;
    ViewerDocument document_;
    ExportSinkMaker makeExportSink_ = [](const char* path) -> std::unique_ptr<ExportSink> {
        return FileExportSink::create(path);
    };
    std::unique_ptr<ControlHost> headerHost_;
    std::unique_ptr<ControlHost> dataHost_;
    Microsoft::WRL::ComPtr<IQuorGridControl> headerGrid_;
    Microsoft::WRL::ComPtr<IQuorGridControl> dataGrid_;
    DialogLayout layout_;
    ShortcutKeys shortcuts_;
    std::unique_ptr<PlotWindow> plot_;
};

}  // namespace quor
