// The viewer's keyboard shortcuts: one table gives each its key, the
// command it sends and the label its menu item shows after a tab. The
// dialog runs modally, so the keys are translated in a message filter hook
// on the dialog's own loop, before a focused grid or edit sees them.
#pragma once

#include <windows.h>

#include "UniqueHandle.h"

// Commands that only shortcuts send; the buttons' own ids answer clicks
// alone, so a shortcut for a button goes through one of these.
#define ID_SHORTCUT_PREVIOUS_PAGE 32790
#define ID_SHORTCUT_NEXT_PAGE 32791
#define ID_SHORTCUT_GOTO 32792

namespace quor {

class ShortcutKeys {
public:
    ShortcutKeys();
    ~ShortcutKeys() { detach(); }
    ShortcutKeys(const ShortcutKeys&) = delete;
    ShortcutKeys& operator=(const ShortcutKeys&) = delete;

    // Appends "\tCtrl+O" and the like to the items of the menu that exist.
    static void labelMenu(HMENU menu);
    // Translates the keys typed anywhere inside the dialog on this thread
    // while it lives; a second dialog replaces the first.
    void attach(HWND dialog);
    void detach();
    bool translate(MSG* message) const;

    // What a shortcut command does to the dialog: clicks a page button or
    // puts the focus in the goto edit with its text selected. False for
    // any other command.
    static bool run(HWND dialog, WORD command);

private:
    static LRESULT CALLBACK filterHook(int code, WPARAM wParam, LPARAM lParam);

    AcceleratorTable table_;
    WindowsHook hook_;
    HWND dialog_ = nullptr;
};

}  // namespace quor
