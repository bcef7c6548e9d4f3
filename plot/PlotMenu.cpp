// The plot window's menu bar, built in code, and the Lane menu, which is
// also the context menu of a lane's label. Items that cannot act now are
// greyed when their menu opens.
#include "PlotMenu.h"

namespace quor {

namespace {

struct MenuItem {
    WORD id;  // 0: a separator
    const char* text;
};

const MenuItem kFileItems[] = {
    {PlotCommand::addRecordings, "&Add Recordings..."},
    {PlotCommand::openWorkspace, "&Open Workspace..."},
    {PlotCommand::saveWorkspace, "&Save Workspace..."},
    {0, nullptr},
    {PlotCommand::exportAB, "&Export A-B..."},
    {0, nullptr},
    {PlotCommand::close, "&Close"},
};
const MenuItem kEditItems[] = {
    {PlotCommand::copy, "&Copy\tCtrl+C"},
    {0, nullptr},
    {PlotCommand::find, "&Find...\tCtrl+F"},
    {PlotCommand::findNext, "Find &Next\tF3"},
    {PlotCommand::findPrevious, "Find &Previous\tShift+F3"},
};
const MenuItem kViewItems[] = {
    {PlotCommand::zoomBack, "Zoom &Back\tBackspace"},
    {PlotCommand::showAll, "Show &All\tHome"},
    {PlotCommand::follow, "&Follow"},
    {0, nullptr},
    {PlotCommand::refresh, "&Refresh\tF5"},
};
const MenuItem kLaneItems[] = {
    {PlotCommand::moveUp, "Move &Up\tCtrl+Up"},
    {PlotCommand::moveDown, "Move &Down\tCtrl+Down"},
    {0, nullptr},
    {PlotCommand::overlay, "&Overlay on Lane Above"},
    {PlotCommand::separate, "S&eparate"},
    {0, nullptr},
    {PlotCommand::steps, "S&teps"},
    {PlotCommand::lines, "&Lines"},
    {0, nullptr},
    {PlotCommand::shift, "&Shift..."},
    {PlotCommand::alignStart, "&Align Start with Linked Lane"},
    {0, nullptr},
    {PlotCommand::remove, "&Remove\tDelete"},
};

template <size_t N>
HMENU popupOf(const MenuItem (&items)[N])
{
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : items)
        AppendMenuA(menu, item.id ? MF_STRING : MF_SEPARATOR, item.id, item.text);
    return menu;
}

}  // namespace

HMENU createPlotMenuBar()
{
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popupOf(kFileItems)), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popupOf(kEditItems)), "&Edit");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popupOf(kViewItems)), "&View");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popupOf(kLaneItems)), "&Lane");
    return bar;
}

OwnedMenu createLaneMenu() { return OwnedMenu(popupOf(kLaneItems)); }

void enableItem(HMENU menu, WORD id, bool enabled)
{
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void checkItem(HMENU menu, WORD id, bool checked)
{
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace quor
