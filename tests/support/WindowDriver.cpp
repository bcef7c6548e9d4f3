#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <vector>

namespace quor {

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

namespace {

// The captions that live answerers wait for.
std::mutex registryLock;
std::multiset<std::string> expectedCaptions;

// A modal dialog disables its owner; the viewer's own modeless main window
// has no owner and is never taken for one.
bool isModal(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    return owner && !IsWindowEnabled(owner);
}

BOOL CALLBACK collectDialog(HWND window, LPARAM param)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && std::string(className) == "#32770")
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> visibleDialogs()
{
    std::vector<HWND> dialogs;
    EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

// Returns once the dialog's thread runs its message loop, that is, once
// the dialog has finished setting itself up.
void waitUntilReady(HWND dialog, DWORD timeoutMs)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored);
}

}  // namespace

DialogAnswerer::DialogAnswerer(const std::string& caption, Action action, int count, DWORD timeoutMs)
    : caption_(caption), action_(std::move(action))
{
    {
        std::lock_guard<std::mutex> lock(registryLock);
        expectedCaptions.insert(caption_);
    }
    thread_ = std::thread([this, count, timeoutMs] { watch(count, timeoutMs); });
}

DialogAnswerer::~DialogAnswerer()
{
    wait();
    std::lock_guard<std::mutex> lock(registryLock);
    expectedCaptions.erase(expectedCaptions.find(caption_));
}

bool DialogAnswerer::wait()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (!reported_ && (!answered_ || !unexpected_.empty())) {
        reported_ = true;
        ADD_FAILURE() << (answered_ ? "" : "no dialog \"" + caption_ + "\" appeared")
                      << (unexpected_.empty() ? "" : "; closed unexpected dialogs: " + unexpected_);
    }
    return answered_;
}

void DialogAnswerer::watch(int count, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (count > 0 && GetTickCount() - start < timeoutMs) {
        const bool lastLook = stop_;
        closeUnexpectedDialogs();
        HWND dialog = findDialog(caption_, GetCurrentProcessId());
        if (!dialog) {
            if (lastLook)
                break;
            Sleep(20);
            continue;
        }
        waitUntilReady(dialog, timeoutMs);
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

void DialogAnswerer::closeUnexpectedDialogs()
{
    for (HWND dialog : visibleDialogs()) {
        const std::string caption = windowText(dialog);
        if (!isModal(dialog))
            continue;
        {
            std::lock_guard<std::mutex> lock(registryLock);
            if (expectedCaptions.count(caption))
                continue;
        }
        unexpected_ += "\"" + caption + "\" ";
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
}

DialogAnswerer::Action pressButton(int id)
{
    return [id](HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}

// The explorer-style dialogs take a typed name in their file-name box
// (cmb13, or edt1 in the older layout) and act on it at OK.
FileChoice::FileChoice(const std::string& title, const std::string& path, int count)
    : title_(title),
      path_(path),
      count_(count),
      seam_([this](FilePromptKind, const FilePrompt& prompt, std::string& chosen) { return answer(prompt, chosen); })
{
}

FileChoice::~FileChoice()
{
    if (!waited_)
        wait();
}

bool FileChoice::answer(const FilePrompt& prompt, std::string& path)
{
    if (prompt.title != title_ || answered_ >= count_) {
        const std::lock_guard<std::mutex> lock(mutex_);
        unexpected_ += " \"" + prompt.title + "\"";
        return false;
    }
    path = path_;
    ++answered_;
    return true;
}

bool FileChoice::wait(DWORD timeoutMs)
{
    waited_ = true;
    const DWORD start = GetTickCount();
    while (answered_ < count_ && GetTickCount() - start < timeoutMs)
        Sleep(10);
    const std::lock_guard<std::mutex> lock(mutex_);
    EXPECT_TRUE(unexpected_.empty()) << "file prompts nobody expected:" << unexpected_;
    const int answered = answered_.load();
    EXPECT_EQ(answered, count_) << "file prompt \"" << title_ << "\" answered " << answered << " of " << count_;
    return answered == count_ && unexpected_.empty();
}

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

DialogAnswerer::Action chooseFileReplacing(const std::string& path)
{
    return [path](HWND dialog) {
        chooseFile(path)(dialog);
        const DWORD begun = GetTickCount();
        while (IsWindow(dialog) && GetTickCount() - begun < 60000) {
            for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
                 box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
                if (box != dialog && GetWindow(box, GW_OWNER) == dialog && IsWindowVisible(box))
                    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            }
            Sleep(20);
        }
    };
}

MenuChooser::MenuChooser(HWND owner, UINT command, std::function<void(HMENU)> whenShown, DWORD timeoutMs)
    : whenShown_(std::move(whenShown)),
      thread_([this, owner, command, timeoutMs] { watch(owner, command, timeoutMs); })
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
    if (whenShown_) {
        // The menu loop runs once it answers; then its pending paint is done
        // at once, bitmaps included.
        HWND popup = FindWindowExA(nullptr, nullptr, "#32768", nullptr);
        waitUntilReady(popup, 4000);
        RedrawWindow(popup, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        whenShown_(menu);
    }
    if (command == 0) {
        PostMessageA(owner, WM_KEYDOWN, VK_ESCAPE, 0);
        chose_ = true;
        return;
    }
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

namespace {

// Pixels bottom-up, 24 bits each, rows padded to four bytes.
bool bitmapPixels(HBITMAP bitmap, int width, int height, std::vector<unsigned char>* pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    pixels->resize(static_cast<size_t>((width * 3 + 3) & ~3) * height);
    HDC screen = GetDC(nullptr);
    const bool ok = GetDIBits(screen, bitmap, 0, height, pixels->data(), &info, DIB_RGB_COLORS) == height;
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace

bool saveBitmap(HBITMAP bitmap, const std::string& path)
{
    BITMAP size{};
    std::vector<unsigned char> pixels;
    if (!GetObjectA(bitmap, sizeof size, &size) || !bitmapPixels(bitmap, size.bmWidth, size.bmHeight, &pixels))
        return false;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = size.bmWidth;
    info.biHeight = size.bmHeight;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
              std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    return std::fclose(out) == 0 && ok;
}

bool saveScreen(const std::string& path)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    bool ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    ok = ok && saveBitmap(bitmap, path);
    DeleteObject(bitmap);
    return ok;
}

// Runs what the window procedures posted to themselves.
void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void clickButton(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void sendCommand(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void typeText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

}  // namespace quor
