// The dialog as a Windows user expects its window: the program's icon, a
// border that sizes it (never below its designed size), files dropped onto
// it, and keyboard shortcuts for its commands.
#include "DataViewerDialog.h"

#include <shellapi.h>

#include "FilePrompt.h"
#include "resource.h"

namespace quor {

namespace {

void setIcon(HWND window, HINSTANCE instance, WPARAM which, int metricX, int metricY)
{
    // Shared icons belong to the system: nothing to destroy.
    HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(IDI_VIEWER), IMAGE_ICON, GetSystemMetrics(metricX),
                             GetSystemMetrics(metricY), LR_SHARED);
    if (icon)
        SendMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
}

}  // namespace

void DataViewerDialog::initWindowExtras()
{
    setIcon(window_, instance_, ICON_BIG, SM_CXICON, SM_CYICON);
    setIcon(window_, instance_, ICON_SMALL, SM_CXSMICON, SM_CYSMICON);
    ShortcutKeys::labelMenu(menu_);
    shortcuts_.attach(window_);
    layout_.capture(window_);
}

// Everything moves in one step without drawing, then the dialog and both
// grids repaint once.
void DataViewerDialog::onSize(WPARAM kind, int width, int height)
{
    if (kind == SIZE_MINIMIZED || !layout_.captured())
        return;
    layout_.apply(width, height);
    for (ControlHost* host : {headerHost_.get(), dataHost_.get()}) {
        if (host)
            host->fitControl();
    }
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// As File > Open with the file already chosen: header edits are offered
// first, and a file that cannot be opened says so the same way.
void DataViewerDialog::openDroppedFile(HDROP drop)
{
    const std::vector<std::string> paths = droppedFiles(drop);
    if (paths.empty())
        return;
    const Text path(paths.front().c_str());
    saveHeaderChanges(true);
    dataFilePath_ = path;
    openDataFile(false);
}

}  // namespace quor
