#include "WindowDriver.h"

#include <vector>

namespace {

struct DialogSearch {
    const std::string* caption;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (pid == search->processId && IsWindowVisible(window) && std::string(className) == "#32770" &&
        windowText(window) == *search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectStatic(HWND window, LPARAM param)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    auto* text = reinterpret_cast<std::string*>(param);
    std::string mine = windowText(window);
    if (lstrcmpiA(className, "Static") == 0 && mine.size() > text->size())
        *text = mine;
    return TRUE;
}

}  // namespace

std::string windowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

HWND findDialog(const std::string& caption, DWORD processId)
{
    DialogSearch search{&caption, processId, nullptr};
    EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DialogAnswerer::DialogAnswerer(const std::string& caption, Action action, int count, DWORD timeoutMs)
    : caption_(caption), action_(std::move(action)), thread_([this, count, timeoutMs] { watch(count, timeoutMs); })
{
}

DialogAnswerer::~DialogAnswerer() { wait(); }

bool DialogAnswerer::wait()
{
    if (thread_.joinable())
        thread_.join();
    return answered_;
}

void DialogAnswerer::watch(int count, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (count > 0 && GetTickCount() - start < timeoutMs) {
        HWND dialog = findDialog(caption_, GetCurrentProcessId());
        if (!dialog) {
            Sleep(20);
            continue;
        }
        Sleep(100);  // let it finish its own initialisation
        std::string text;
        EnumChildWindows(dialog, collectStatic, reinterpret_cast<LPARAM>(&text));
        text_ += text + "\n";
        action_(dialog);
        while (IsWindow(dialog) && GetTickCount() - start < timeoutMs)
            Sleep(20);
        --count;
    }
    answered_ = count == 0;
}

DialogAnswerer::Action pressButton(int id)
{
    return [id](HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}

// The explorer-style dialogs take a typed name in their file-name box
// (cmb13, or edt1 in the older layout) and act on it at OK.
DialogAnswerer::Action chooseFile(const std::string& path)
{
    return [path](HWND dialog) {
        HWND box = GetDlgItem(dialog, 0x47C);
        if (!box)
            box = GetDlgItem(dialog, 0x480);
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}

MenuChooser::MenuChooser(HWND owner, UINT command, DWORD timeoutMs)
    : thread_([this, owner, command, timeoutMs] { watch(owner, command, timeoutMs); })
{
}

void MenuChooser::wait()
{
    if (thread_.joinable())
        thread_.join();
}

void MenuChooser::watch(HWND owner, UINT command, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!chose_ && GetTickCount() - start < timeoutMs) {
        HWND popup = FindWindowExA(nullptr, nullptr, "#32768", nullptr);
        DWORD pid = 0;
        if (popup)
            GetWindowThreadProcessId(popup, &pid);
        if (popup && pid == GetCurrentProcessId() && IsWindowVisible(popup))
            choose(owner, reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)), command);
        Sleep(20);
    }
    if (!chose_) {
        PostMessageA(owner, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(owner, WM_CANCELMODE, 0, 0);
    }
}

// The keys go to the owner's thread, whose menu loop reads them.
void MenuChooser::choose(HWND owner, HMENU menu, UINT command)
{
    items_ = menu ? GetMenuItemCount(menu) : -1;
    int downs = 0;
    for (int position = 0; position < items_; ++position) {
        if (GetMenuState(menu, position, MF_BYPOSITION) & MF_SEPARATOR)
            continue;
        ++downs;
        if (GetMenuItemID(menu, position) != command)
            continue;
        for (int i = 0; i < downs; ++i)
            PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(owner, WM_KEYDOWN, VK_RETURN, 0);
        chose_ = true;
        return;
    }
}

void clickButton(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void sendCommand(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void typeText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }
