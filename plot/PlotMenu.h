// The plot window's commands: the items of its menu bar and of a lane's
// context menu, and the keys that run them.
#pragma once

#include <windows.h>

#include "UniqueHandle.h"

namespace quor {

namespace PlotCommand {
enum : WORD {
    exportAB = 101,  // also the Export A-B button
    cancel = 102,    // the Cancel button
    addRecordings = 201,
    openWorkspace,
    saveWorkspace,
    close,
    copy,
    find,
    findNext,
    findPrevious,
    zoomBack,
    showAll,
    follow,
    refresh,
    moveUp,
    moveDown,
    overlay,
    separate,
    steps,
    lines,
    shift,
    alignStart,
    remove,
};
}  // namespace PlotCommand

using OwnedMenu = UniqueHandle<HMENU, &DestroyMenu>;

// A bar set on a window goes with the window; a context menu with its owner.
HMENU createPlotMenuBar();
OwnedMenu createLaneMenu();
void enableItem(HMENU menu, WORD id, bool enabled);
void checkItem(HMENU menu, WORD id, bool checked);

}  // namespace quor
