#include "DataViewerDialog.h"

#include <commdlg.h>

#include "CommandLine.h"
#include "GridCalls.h"
#include "TimeText.h"
#include "resource.h"

namespace quor {

namespace {

const wchar_t kGridProgId[] = L"QuorGrid.QuorGridControl.1";
const char kTitle[] = "QUOR Data Viewer";
const char kOpenCaption[] = "Open QUOR Data File";
const char kDataFilter[] = "*.QuorData;*ZIBdata";
const COLORREF kPaleYellow = 0xE6FFFF;

}  // namespace

DataViewerDialog::DataViewerDialog(HINSTANCE instance) : instance_(instance) {}

DataViewerDialog::~DataViewerDialog()
{
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
}

void DataViewerDialog::setFileNameFromCommandLine(const char* commandLine)
{
    dataFilePath_ = dataFileNameFromCommandLine(commandLine);
}

INT_PTR DataViewerDialog::runModal(HWND owner)
{
    mode_ = Mode::modal;
    return DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_DATAVIEWER), owner, ownedDialogProc<DataViewerDialog>,
                           reinterpret_cast<LPARAM>(this));
}

HWND DataViewerDialog::createModeless(HWND owner)
{
    mode_ = Mode::modeless;
    return CreateDialogParamA(instance_, MAKEINTRESOURCEA(IDD_DATAVIEWER), owner, ownedDialogProc<DataViewerDialog>,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR DataViewerDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initDialog();
        return TRUE;
    case WM_KEYDOWN:
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, 0);
        return TRUE;
    case WM_SIZE:
        onSize(wParam, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        layout_.limit(reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_DROPFILES:
        openDroppedFile(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_DESTROY:
        shortcuts_.detach();
        closePlot();
        // The controls go while their windows still exist.
        headerGrid_.Reset();
        dataGrid_.Reset();
        headerHost_.reset();
        dataHost_.reset();
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_SHOWWINDOW:
        // Only the first showing opens the command line's file: a later one
        // must not reload it and lose header edits and the page position.
        if (wParam && !shown_) {
            shown_ = true;
            openDataFile(false);
        }
        return FALSE;
    case WM_COMMAND:
        return handleCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    default:
        (void)lParam;
        return FALSE;
    }
}

bool DataViewerDialog::handleCommand(WORD id, WORD notification)
{
    const bool clicked = notification == BN_CLICKED;
    switch (id) {
    case IDOK: onEnter(); return true;
    case IDCANCEL: exitViewer(); return true;
    case IDC_PREVIOUS_PAGE: if (clicked) pageBack(); return clicked;
    case IDC_NEXT_PAGE: if (clicked) pageForward(); return clicked;
    case IDC_GOTO: if (clicked) goToTypedTime(); return clicked;
    case ID_FILE_OPEN: openDataFile(true); return true;
    case ID_FILE_CLOSE: closeDataFile(); return true;
    case ID_FILE_SAVE: saveHeaderChanges(true); return true;
    case ID_EXPORT_CSV: exportCsvFile(); return true;
    case ID_FILE_EXIT: exitViewer(); return true;
    case ID_TOOLS_VALIDATE_INDEX: validateIndexFile(); return true;
    case ID_TOOLS_PLOT: showPlot(); return true;
    default: return ShortcutKeys::run(window_, id);
    }
}

void DataViewerDialog::initDialog()
{
    EnableWindow(GetDlgItem(window_, IDC_BY_SEGMENT), FALSE);
    ShowWindow(GetDlgItem(window_, IDOK), SW_HIDE);
    hostGrid(IDC_HEADER_GRID, headerHost_, headerGrid_);
    hostGrid(IDC_DATA_GRID, dataHost_, dataGrid_);
    if (haveGrids())
        setupGrids();
    menu_ = LoadMenuA(instance_, "AppMenu");
    SetMenu(window_, menu_);
    initWindowExtras();
}

void DataViewerDialog::hostGrid(int placeholderId, std::unique_ptr<ControlHost>& host,
                                Microsoft::WRL::ComPtr<IQuorGridControl>& grid)
{
    if (SUCCEEDED(ControlHost::create(GetDlgItem(window_, placeholderId), kGridProgId, host)))
        host->control()->QueryInterface(IID_IQuorGridControl, reinterpret_cast<void**>(grid.GetAddressOf()));
}

void DataViewerDialog::setupGrids()
{
    IQuorGridControl* data = dataGrid_.Get();
    IQuorGridControl* head = headerGrid_.Get();
    data->setColumnHeadings(Bstr("IRIG Time  |IRIG Time  |Value                                 ").get());
    data->SetColumnEditable(0, VARIANT_FALSE);
    data->SetColumnEditable(1, VARIANT_FALSE);
    data->SetColumnEditable(2, VARIANT_TRUE);
    data->autoResizeColumn(2);
    data->setGridBackgroundColor(kPaleYellow, VARIANT_TRUE);
    data->setAllVisible();
    data->setEditability(VARIANT_TRUE);
    data->showRowButtons(VARIANT_FALSE);
    data->AutoSizeEditBox(VARIANT_FALSE);
    head->setColumnHeadings(Bstr("Property  |Value1      |Value2   |Value3     ").get());
    head->SetColumnEditable(0, VARIANT_FALSE);
    head->SetColumnEditable(1, VARIANT_TRUE);
    head->SetColumnEditable(2, VARIANT_TRUE);
    head->SetColumnEditable(3, VARIANT_TRUE);
    head->showRowButtons(VARIANT_FALSE);
    head->setGridBackgroundColor(kPaleYellow, VARIANT_TRUE);
    head->setAllVisible();
    head->setEditability(VARIANT_TRUE);
    head->AutoSizeEditBox(VARIANT_FALSE);
    data->redraw();
    head->redraw();
}

void DataViewerDialog::onEnter()
{
    const HWND focus = GetFocus();
    if (focus && focus == GetDlgItem(window_, IDC_GOTO_TIME))
        goToTypedTime();
    else if (focus && focus == GetDlgItem(window_, IDC_PAGE_SIZE))
        takeTypedPageSize();
    else
        completeGridEdits();
}

void DataViewerDialog::completeGridEdits()
{
    if (dataGrid_)
        dataGrid_->CompleteEdit();
    if (headerGrid_)
        headerGrid_->CompleteEdit();
}

void DataViewerDialog::openDataFile(bool askForFile)
{
    if (askForFile) {
        // Another file replaces this one: its header edits are offered first.
        saveHeaderChanges(true);
        if (!askForDataFile())
            return;
    }
    if (dataFilePath_.empty())
        return;
    if (!loadDataFile()) {
        plotFollowsFile(false);
        Text text;
        showMessage(text.format("Unable to Open File: %s\n", dataFilePath_.c_str()), kOpenCaption,
                    MB_OK | MB_ICONSTOP);
        return;
    }
    fillHeaderGrid();
    showCurrentTime();
    showPageSize();
    plotFollowsFile(true);
    fillDataPage();
}

bool DataViewerDialog::askForDataFile()
{
    char name[MAX_PATH] = {};
    lstrcpynA(name, kDataFilter, sizeof name);
    static const char filter[] = "*.QuorData;*ZIBdata\0*.QuorData;*ZIBdata\0";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window_;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    ofn.lpstrInitialDir = ".\\ ";
    ofn.lpstrTitle = "Select QUOR Data File";
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&ofn))
        return false;
    dataFilePath_ = name;
    return true;
}

// The document keeps the file it had until the new one is wholly open, so a
// failure leaves the title, the grids and every command on the old file.
bool DataViewerDialog::loadDataFile()
{
    const OpenFailure failure = document_.open(dataFilePath_.c_str());
    if (failure == OpenFailure::unopenable) {
        Text text;
        showMessage(text.format("Unable to Open: %s", dataFilePath_.c_str()), kOpenCaption, MB_OK | MB_ICONSTOP);
    } else if (failure == OpenFailure::noHeader) {
        appendHeaderProblem("Unable to Read Header");
    } else if (failure == OpenFailure::noMemory) {
        appendHeaderProblem("Unable to Allocate Memory");
    }
    if (failure != OpenFailure::none)
        return false;
    showOpenFile();
    EnableWindow(GetDlgItem(window_, IDC_BY_SEGMENT), TRUE);
    return true;
}

// The title names the file open; Save is grayed where its header cannot be
// written back (read-only, a read-only medium, a legacy file).
void DataViewerDialog::showOpenFile()
{
    Text title;
    SetWindowTextA(window_, title.format("%s - %s", kTitle, document_.path().c_str()).c_str());
    setSaveEnabled(document_.canSave());
}

void DataViewerDialog::appendHeaderProblem(const char* text)
{
    if (headerGrid_)
        headerGrid_->appendRow(Bstr(text).get(), VARIANT_TRUE, Bstr("").get(), VARIANT_TRUE);
}

void DataViewerDialog::closeDataFile()
{
    saveHeaderChanges(true);
    for (IQuorGridControl* grid : {headerGrid_.Get(), dataGrid_.Get()}) {
        if (!grid)
            continue;
        clearGrid(grid);
        grid->setUpperLeftCell(0, 0);
        grid->redraw();
    }
    document_.close();
    SetWindowTextA(window_, kTitle);
    closePlot();
}

void DataViewerDialog::exitViewer()
{
    saveHeaderChanges(true);
    closePlot();
    endDialog();
}

void DataViewerDialog::endDialog()
{
    if (mode_ == Mode::modal) {
        EndDialog(window_, IDCANCEL);
        PostQuitMessage(0);
    } else {
        DestroyWindow(window_);
    }
}

void DataViewerDialog::showCurrentTime()
{
    Text text;
    formatTime(document_.pager().currentTime(), 3, true, text);
    SetDlgItemTextA(window_, IDC_GOTO_TIME, text.c_str());
}

void DataViewerDialog::showPageSize()
{
    Text text;
    SetDlgItemTextA(window_, IDC_PAGE_SIZE, text.format("%d", document_.pager().pageSize()).c_str());
}

void DataViewerDialog::setSaveEnabled(bool enabled)
{
    if (menu_)
        EnableMenuItem(menu_, ID_FILE_SAVE, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

int DataViewerDialog::showMessage(const Text& text, const char* caption, UINT flags) const
{
    return MessageBoxA(window_, text.c_str(), caption, flags);
}

Text DataViewerDialog::itemText(int id) const
{
    HWND item = GetDlgItem(window_, id);
    const int length = item ? GetWindowTextLengthA(item) : 0;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    if (length > 0)
        GetWindowTextA(item, &text[0], length + 1);
    return Text(text.c_str());
}

}  // namespace quor
