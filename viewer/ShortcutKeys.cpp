#include "ShortcutKeys.h"

#include <string>

#include "resource.h"

namespace quor {

namespace {

const WORD kPlotCommand = 32771;  // Tools > Plot

struct Shortcut {
    BYTE modifier;  // FCONTROL or FALT
    WORD key;
    WORD command;
    const char* label;
    bool inMenu;
};

const Shortcut kShortcuts[] = {
    {FCONTROL, 'O', ID_FILE_OPEN, "Ctrl+O", true},
    {FCONTROL, 'S', ID_FILE_SAVE, "Ctrl+S", true},
    {FCONTROL, 'E', ID_EXPORT_CSV, "Ctrl+E", true},
    {FCONTROL, 'P', kPlotCommand, "Ctrl+P", true},
    {FALT, VK_RIGHT, ID_SHORTCUT_NEXT_PAGE, "Alt+Right", false},
    {FALT, VK_LEFT, ID_SHORTCUT_PREVIOUS_PAGE, "Alt+Left", false},
    {FCONTROL, 'G', ID_SHORTCUT_GOTO, "Ctrl+G", false},
};

// One dialog per thread translates at a time: the hook has no argument of
// its own to find it by.
thread_local const ShortcutKeys* activeKeys = nullptr;

HACCEL createTable()
{
    ACCEL entries[sizeof kShortcuts / sizeof kShortcuts[0]];
    int count = 0;
    for (const Shortcut& s : kShortcuts)
        entries[count++] = ACCEL{static_cast<BYTE>(FVIRTKEY | s.modifier), s.key, s.command};
    return CreateAcceleratorTableA(entries, count);
}

void appendLabel(HMENU menu, UINT command, const char* label)
{
    char text[256] = "";
    if (GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND) <= 0)
        return;
    std::string labelled(text);
    if (labelled.find('\t') != std::string::npos)
        return;
    labelled += '\t';
    labelled += label;
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = &labelled[0];
    SetMenuItemInfoA(menu, command, FALSE, &item);
}

bool isKeyMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

void clickButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (button && IsWindowEnabled(button))
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace

ShortcutKeys::ShortcutKeys() : table_(createTable()) {}

void ShortcutKeys::labelMenu(HMENU menu)
{
    if (!menu)
        return;
    for (const Shortcut& s : kShortcuts) {
        if (s.inMenu)
            appendLabel(menu, s.command, s.label);
    }
}

void ShortcutKeys::attach(HWND dialog)
{
    detach();
    dialog_ = dialog;
    hook_.reset(SetWindowsHookExA(WH_MSGFILTER, filterHook, nullptr, GetCurrentThreadId()));
    if (hook_)
        activeKeys = this;
}

void ShortcutKeys::detach()
{
    hook_.reset();
    if (activeKeys == this)
        activeKeys = nullptr;
    dialog_ = nullptr;
}

// Only keys aimed at the dialog or a window inside it: a message box or a
// file dialog the viewer shows keeps every key for itself.
bool ShortcutKeys::translate(MSG* message) const
{
    if (!table_ || !dialog_ || !isKeyMessage(message->message))
        return false;
    if (message->hwnd != dialog_ && !IsChild(dialog_, message->hwnd))
        return false;
    return TranslateAcceleratorA(dialog_, table_.get(), message) != 0;
}

LRESULT CALLBACK ShortcutKeys::filterHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX && activeKeys && activeKeys->translate(reinterpret_cast<MSG*>(lParam)))
        return TRUE;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool ShortcutKeys::run(HWND dialog, WORD command)
{
    switch (command) {
    case ID_SHORTCUT_NEXT_PAGE: clickButton(dialog, IDC_NEXT_PAGE); return true;
    case ID_SHORTCUT_PREVIOUS_PAGE: clickButton(dialog, IDC_PREVIOUS_PAGE); return true;
    case ID_SHORTCUT_GOTO:
        // As Tab into an edit does: the focus, and its whole text selected.
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_GOTO_TIME)), TRUE);
        return true;
    default: return false;
    }
}

}  // namespace quor
