#include "CellMenuCommands.h"

#include "CsvFile.h"
#include "GridCore.h"
#include "GridClipboard.h"
#include "GridSelection.h"
#include "GridView.h"
#include "WaitCursor.h"

namespace quor {

namespace {

const char kCsvFilter[] = "|CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|";
const char kCsvExtension[] = ".csv";
const char kImportTitle[] = "Load Excel CSV File";
const char kAppendTitle[] = "Append Excel CSV File";
const char kExportTitle[] = "Save As Excel CSV File";

FileDialogRequest csvRequest(const char* title)
{
    return FileDialogRequest{title, kCsvFilter, kCsvExtension};
}

}  // namespace

CellMenuCommands::CellMenuCommands(GridCore& grid, std::unique_ptr<FileDialog> dialog)
    : grid_(grid), dialog_(std::move(dialog))
{
}

bool CellMenuCommands::editable() const
{
    return grid_.view().gridEditable == VARIANT_TRUE;
}

bool CellMenuCommands::execute(UINT id)
{
    switch (id) {
    case kCutCommand:
        cut();
        grid_.selection().deselectAllRows();
        return true;
    case kCopyCommand: copy(); return true;
    case kPasteCommand: paste(); return true;
    case kImportCommand: importCsv(); return true;
    case kExportCommand: exportCsv(); return true;
    case kAppendCommand: appendCsv(); return true;
    default: return false;
    }
}

HRESULT CellMenuCommands::cut()
{
    if (!editable())
        return S_FALSE;
    WaitCursor wait(window_);
    return cutToClipboard(grid_, window_);
}

HRESULT CellMenuCommands::copy()
{
    WaitCursor wait(window_);
    return copyToClipboard(grid_, window_);
}

HRESULT CellMenuCommands::paste()
{
    if (!editable())
        return S_FALSE;
    WaitCursor wait(window_);
    return pasteFromClipboard(grid_, window_);
}

HRESULT CellMenuCommands::importCsv()
{
    if (!editable())
        return S_FALSE;
    const int answer = MessageBoxA(window_,
                                   "Import will remove all existing entries in the data base.\n"
                                   "Do you wish to continue?",
                                   "Import CSV File", MB_YESNOCANCEL | MB_ICONSTOP);
    if (answer != IDYES)
        return S_FALSE;
    return readCsv(kImportTitle, true);
}

HRESULT CellMenuCommands::appendCsv()
{
    if (!editable())
        return S_FALSE;
    return readCsv(kAppendTitle, false);
}

HRESULT CellMenuCommands::readCsv(const std::string& title, bool replace)
{
    std::string path;
    if (!dialog_ || !dialog_->askOpen(window_, csvRequest(title.c_str()), path))
        return S_FALSE;
    WaitCursor wait(window_);
    HRESULT hr = readCsvFile(grid_, path, replace ? CsvReadMode::Replace : CsvReadMode::Append);
    grid_.relayout();
    return hr;
}

HRESULT CellMenuCommands::exportCsv()
{
    std::string path;
    if (!dialog_ || !dialog_->askSave(window_, csvRequest(kExportTitle), path))
        return S_FALSE;
    HRESULT hr;
    {
        WaitCursor wait(window_);
        hr = writeCsvFile(grid_, path);
    }
    if (FAILED(hr))
        reportWriteFailure(path);
    return hr;
}

void CellMenuCommands::reportWriteFailure(const std::string& path)
{
    const std::string text = "The CSV file could not be written completely:\n" + path;
    MessageBoxA(window_, text.c_str(), kExportTitle, MB_OK | MB_ICONERROR);
}

void CellMenuCommands::setEditability(HMENU menu, bool editable)
{
    if (!menu)
        return;
    const UINT state = MF_BYCOMMAND | (editable ? MF_ENABLED : MF_GRAYED);
    for (UINT id : {kCutCommand, kPasteCommand, kImportCommand, kAppendCommand})
        EnableMenuItem(menu, id, state);
}

UINT CellMenuCommands::open(HWND window, HMENU menu, POINT clientPoint)
{
    HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
    if (!popup)
        return 0;
    POINT screen = clientPoint;
    ClientToScreen(window, &screen);
    return static_cast<UINT>(TrackPopupMenuEx(popup, TPM_VERTICAL, screen.x, screen.y, window, nullptr));
}

}  // namespace quor
