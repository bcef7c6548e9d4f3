// The viewer's window as a user handles it: maximised and shrunk, files
// dropped onto it, shortcuts typed on the keyboard while a grid cell has
// the focus. The dialog runs modally on a thread of its own, as the program
// runs it, so its own message loop sees the keys.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "DataViewerDialog.h"
#include "FilePrompt.h"
#include "GridCalls.h"
#include "SampleDir.h"
#include "ViewerTestSupport.h"
#include "WindowDriver.h"
#include "resource.h"

namespace quor {

namespace {

const char kTitle[] = "QUOR Data Viewer";
const int kGridRowHeight = 20;

RECT rectInDialog(HWND dialog, int id)
{
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool sameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

SIZE sizeOf(const RECT& r) { return SIZE{r.right - r.left, r.bottom - r.top}; }

// The grid control's own window inside its host window.
HWND gridIn(HWND dialog, int hostId)
{
    return FindWindowExA(GetDlgItem(dialog, hostId), nullptr, nullptr, nullptr);
}

// Generous: on a loaded machine synthetic input can take seconds to arrive,
// and a condition that holds ends the wait at once.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 15000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
        if (condition())
            return true;
    }
    return condition();
}

INPUT keyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (key == VK_LEFT || key == VK_RIGHT)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return input;
}

void typeKey(WORD key)
{
    INPUT inputs[] = {keyInput(key, false), keyInput(key, true)};
    SendInput(2, inputs, sizeof(INPUT));
}

// The modifier held down while the key is typed.
void typeShortcut(WORD modifier, WORD key)
{
    INPUT inputs[] = {keyInput(modifier, false), keyInput(key, false), keyInput(key, true),
                      keyInput(modifier, true)};
    SendInput(4, inputs, sizeof(INPUT));
}

class ViewerWindowTest : public ::testing::Test {
protected:
    void TearDown() override { closeViewer(); }

    void start(const std::string& path)
    {
        dialog.reset(new DataViewerDialog(GetModuleHandleA(nullptr)));
        dialog->setFileNameFromCommandLine(("\"viewer.exe\" \"" + path + "\"").c_str());
        ui = std::thread([this] {
            CoInitialize(nullptr);
            uiThread = GetCurrentThreadId();
            dialog->runModal(nullptr);
            MSG quit;
            while (PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE)) {
            }
            CoUninitialize();
        });
        const std::string title = path.empty() ? kTitle : std::string(kTitle) + " - " + path;
        ASSERT_TRUE(waitFor([&] { return (window = findDialog(title, GetCurrentProcessId())) != nullptr; }, 15000));
        ASSERT_TRUE(gridIn(window, IDC_HEADER_GRID) && gridIn(window, IDC_DATA_GRID)) << "QuorGrid is not registered";
    }
    void closeViewer()
    {
        if (window && IsWindow(window)) {
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            // A pending header edit asks first whether to save it: not here.
            waitFor([&] {
                if (HWND ask = findDialog("", GetCurrentProcessId()))
                    pressButton(IDNO)(ask);
                return !IsWindow(window);
            }, 15000);
        }
        if (ui.joinable())
            ui.join();
        dialog.reset();
        window = nullptr;
    }

    // An edit of the Tag ID row, as the grid marks a typed one.
    void editHeaderRow()
    {
        IQuorGridControl* grid = dialog->headerGrid();
        Bstr name, tag;
        grid->getCellText(2, 0, name.out());
        grid->getTagText(2, tag.out());
        grid->updateRow(Bstr((name.text().str() + "|5151").c_str()).get(), tag.get(), VARIANT_TRUE, VARIANT_TRUE);
    }
    std::string gotoText() { return windowText(GetDlgItem(window, IDC_GOTO_TIME)); }
    GUITHREADINFO uiState()
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(uiThread, &info);
        return info;
    }
    HWND focus() { return uiState().hwndFocus; }
    HWND capture() { return uiState().hwndCapture; }
    // A click with the mouse on a cell of the data grid, each time another
    // row: the grid, or the cell's edit box in it, takes the focus.
    void focusDataCell()
    {
        SetForegroundWindow(window);
        HWND grid = gridIn(window, IDC_DATA_GRID);
        clicks_ = clicks_ % 5 + 1;
        POINT point{20, kGridRowHeight * clicks_ + kGridRowHeight / 2};
        ClientToScreen(grid, &point);
        SetCursorPos(point.x, point.y);
        INPUT clicks[2] = {};
        clicks[0].type = clicks[1].type = INPUT_MOUSE;
        clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, clicks, sizeof(INPUT));
        // The click is over when the grid has the focus and nothing holds the mouse.
        ASSERT_TRUE(waitFor([&] { return (focus() == grid || IsChild(grid, focus())) && !capture(); }));
        Sleep(100);
    }

    std::unique_ptr<DataViewerDialog> dialog;
    std::thread ui;
    DWORD uiThread = 0;
    HWND window = nullptr;
    int clicks_ = 0;
};

}  // namespace

TEST_F(ViewerWindowTest, MaximisedTheGridsTakeTheRoomAndShrunkTheLayoutIsTheSmallest)
{
    start(samplePath("periodic_int.quorData"));
    RECT normalWindow{};
    GetWindowRect(window, &normalWindow);
    const RECT header = rectInDialog(window, IDC_HEADER_GRID);
    const RECT data = rectInDialog(window, IDC_DATA_GRID);
    const RECT ok = rectInDialog(window, IDCANCEL);
    const RECT gotoEdit = rectInDialog(window, IDC_GOTO_TIME);
    const RECT next = rectInDialog(window, IDC_NEXT_PAGE);
    RECT client{};
    GetClientRect(window, &client);

    ShowWindow(window, SW_MAXIMIZE);
    RECT grown{};
    GetClientRect(window, &grown);
    const int dx = grown.right - client.right;
    const int dy = grown.bottom - client.bottom;
    ASSERT_GT(dx, 100);
    ASSERT_GT(dy, 100);
    const RECT bigHeader = rectInDialog(window, IDC_HEADER_GRID);
    const RECT bigData = rectInDialog(window, IDC_DATA_GRID);
    EXPECT_EQ(sizeOf(bigHeader).cx, sizeOf(header).cx + dx);
    EXPECT_EQ(sizeOf(bigHeader).cy, sizeOf(header).cy);
    EXPECT_EQ(sizeOf(bigData).cx, sizeOf(data).cx + dx);
    EXPECT_EQ(sizeOf(bigData).cy, sizeOf(data).cy + dy);
    EXPECT_EQ(bigData.top, data.top);
    // The Goto row stays under the header grid, "Ok" under the data grid.
    const RECT bigOk = rectInDialog(window, IDCANCEL);
    EXPECT_EQ(bigOk.top - bigData.bottom, ok.top - data.bottom);
    EXPECT_EQ(bigOk.left, ok.left);
    EXPECT_TRUE(sameRect(gotoEdit, rectInDialog(window, IDC_GOTO_TIME)));
    EXPECT_TRUE(sameRect(next, rectInDialog(window, IDC_NEXT_PAGE)));
    // Each grid, scroll bars and all, fills its host.
    for (int id : {IDC_HEADER_GRID, IDC_DATA_GRID}) {
        RECT hostClient{}, grid{};
        GetClientRect(GetDlgItem(window, id), &hostClient);
        GetWindowRect(gridIn(window, id), &grid);
        EXPECT_EQ(sizeOf(grid).cx, sizeOf(hostClient).cx) << id;
        EXPECT_EQ(sizeOf(grid).cy, sizeOf(hostClient).cy) << id;
    }
    char folder[MAX_PATH] = "";
    if (GetEnvironmentVariableA("QUOR_SCREENSHOT_DIR", folder, MAX_PATH) > 0) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(300);
        EXPECT_TRUE(saveScreen(std::string(folder) + "\\viewer-maximised.bmp"));
    }

    ShowWindow(window, SW_RESTORE);
    SetWindowPos(window, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
    RECT shrunk{};
    GetWindowRect(window, &shrunk);
    EXPECT_EQ(sizeOf(shrunk).cx, sizeOf(normalWindow).cx);
    EXPECT_EQ(sizeOf(shrunk).cy, sizeOf(normalWindow).cy);
    EXPECT_TRUE(sameRect(header, rectInDialog(window, IDC_HEADER_GRID)));
    EXPECT_TRUE(sameRect(data, rectInDialog(window, IDC_DATA_GRID)));
    EXPECT_TRUE(sameRect(ok, rectInDialog(window, IDCANCEL)));
}

namespace {

// Counts WM_PAINT for two windows of the dialog's thread, sent or posted.
struct PaintCounter {
    static HWND watched[2];
    static int paints[2];
    static void count(const MSG& m)
    {
        for (int i = 0; i < 2; ++i)
            paints[i] += m.message == WM_PAINT && m.hwnd == watched[i];
    }
    static LRESULT CALLBACK sent(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HC_ACTION) {
            const auto* c = reinterpret_cast<const CWPSTRUCT*>(lParam);
            count(MSG{c->hwnd, c->message, c->wParam, c->lParam, 0, {}});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK fetched(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HC_ACTION && wParam == PM_REMOVE)
            count(*reinterpret_cast<const MSG*>(lParam));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};
HWND PaintCounter::watched[2];
int PaintCounter::paints[2];

}  // namespace

TEST_F(ViewerWindowTest, EachSizeStepPaintsEachGridOnce)
{
    start(samplePath("periodic_int.quorData"));
    HWND grids[2] = {gridIn(window, IDC_HEADER_GRID), gridIn(window, IDC_DATA_GRID)};
    PaintCounter::watched[0] = grids[0];
    PaintCounter::watched[1] = grids[1];
    // Paints are counted once both grids have nothing left to paint: on a
    // loaded machine the first picture after opening may still be pending.
    auto painted = [&] {
        return waitFor([&] { return !GetUpdateRect(grids[0], nullptr, FALSE) && !GetUpdateRect(grids[1], nullptr, FALSE); });
    };
    ASSERT_TRUE(painted());
    Sleep(100);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 2000, nullptr);
    HHOOK sent = SetWindowsHookExA(WH_CALLWNDPROC, PaintCounter::sent, nullptr, uiThread);
    HHOOK fetched = SetWindowsHookExA(WH_GETMESSAGE, PaintCounter::fetched, nullptr, uiThread);
    ASSERT_TRUE(sent && fetched);
    RECT r{};
    GetWindowRect(window, &r);
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE(step);
        PaintCounter::paints[0] = PaintCounter::paints[1] = 0;
        SetWindowPos(window, nullptr, 0, 0, sizeOf(r).cx + 12 * step, sizeOf(r).cy + 9 * step,
                     SWP_NOMOVE | SWP_NOZORDER);
        // Whatever was left to paint is painted before the count is read,
        // and a paint that comes late still has time to be counted.
        EXPECT_TRUE(painted());
        Sleep(100);
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 2000, nullptr);
        EXPECT_EQ(PaintCounter::paints[0], 1);
        EXPECT_EQ(PaintCounter::paints[1], 1);
    }
    UnhookWindowsHookEx(sent);
    UnhookWindowsHookEx(fetched);
}

TEST_F(ViewerWindowTest, ADroppedDataFileOpensTheFirstOfSeveralAndAnythingElseFailsAsOpenDoes)
{
    start("");
    const std::string first = samplePath("async_double.quorData");
    const std::string second = samplePath("periodic_int.quorData");
    PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({first, second})), 0);
    EXPECT_TRUE(waitFor([&] { return windowText(window) == std::string(kTitle) + " - " + first; }));
    EXPECT_FALSE(gotoText().empty());

    // Header edits are offered for saving before the next file replaces them.
    editHeaderRow();
    {
        DialogAnswerer no("", pressButton(IDNO));
        // Sent, so that the question has come and gone when it returns.
        SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({second})), 0);
        EXPECT_TRUE(no.wait());
        EXPECT_NE(no.text().find("Save Header Changes ?"), std::string::npos);
    }
    EXPECT_TRUE(waitFor([&] { return windowText(window) == std::string(kTitle) + " - " + second; }));

    const std::string text = sampleDir() + "\\notes.txt";
    HANDLE file = CreateFileA(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "not a data file\r\n", 17, &written, nullptr);
    CloseHandle(file);
    DialogAnswerer failed("Open QUOR Data File", pressButton(IDOK), 2);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({text})), 0);
    EXPECT_TRUE(failed.wait());
    EXPECT_NE(failed.text().find("Unable to Open: " + text + "\n"), std::string::npos) << failed.text();
    EXPECT_NE(failed.text().find("Unable to Open File: " + text), std::string::npos);
    EXPECT_EQ(windowText(window), std::string(kTitle) + " - " + second);
}

TEST_F(ViewerWindowTest, MenuItemsShowTheirShortcuts)
{
    start("");
    HMENU menu = GetMenu(window);
    char text[64] = "";
    GetMenuStringA(menu, ID_FILE_OPEN, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Open\tCtrl+O");
    GetMenuStringA(menu, ID_FILE_SAVE, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Save\tCtrl+S");
    GetMenuStringA(menu, ID_EXPORT_CSV, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&CSV File  \tCtrl+E");
    GetMenuStringA(menu, ID_TOOLS_PLOT, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "Plot\tCtrl+P");
    GetMenuStringA(menu, ID_FILE_CLOSE, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Close");
}

TEST_F(ViewerWindowTest, ShortcutsTypedWhileAGridCellHasTheFocus)
{
    start(samplePath("periodic_int.quorData"));
    const std::string firstPage = gotoText();

    focusDataCell();
    typeShortcut(VK_MENU, VK_RIGHT);
    EXPECT_TRUE(waitFor([&] { return gotoText() != firstPage; })) << "Alt+Right";
    focusDataCell();
    typeShortcut(VK_MENU, VK_LEFT);
    EXPECT_TRUE(waitFor([&] { return gotoText() == firstPage; })) << "Alt+Left";

    focusDataCell();
    typeShortcut(VK_CONTROL, 'G');
    HWND gotoEdit = GetDlgItem(window, IDC_GOTO_TIME);
    EXPECT_TRUE(waitFor([&] { return focus() == gotoEdit; })) << "Ctrl+G";
    const DWORD selection = static_cast<DWORD>(SendMessageA(gotoEdit, EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), static_cast<WORD>(firstPage.size()));

    focusDataCell();
    typeShortcut(VK_CONTROL, 'P');
    const std::string plotTitle = "QUOR Data Plot - " + samplePath("periodic_int.quorData");
    HWND plot = nullptr;
    EXPECT_TRUE(waitFor([&] { return (plot = FindWindowA(nullptr, plotTitle.c_str())) != nullptr; })) << "Ctrl+P";
    // Out of the way of the clicks below.
    PostMessageA(plot, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(plot); }));

    {
        // The prompts are cancelled through the seam every prompt goes
        // through, without a dialog to find and answer.
        std::atomic<int> asked{0};
        std::string title;  // written before `asked` counts it
        FilePromptAnswer cancelAll([&](FilePromptKind, const FilePrompt& prompt, std::string&) {
            title = prompt.title;
            ++asked;
            return false;
        });
        focusDataCell();
        typeShortcut(VK_CONTROL, 'O');
        EXPECT_TRUE(waitFor([&] { return asked == 1; }, 10000)) << "Ctrl+O";
        EXPECT_EQ(title, "Select QUOR Data File");
        // A cancelled export says that no file was opened.
        focusDataCell();
        DialogAnswerer noFile("Create Export File", pressButton(IDOK));
        typeShortcut(VK_CONTROL, 'E');
        waitFor([&] { return asked == 2 && noFile.answered(); }, 10000);
        EXPECT_EQ(asked, 2) << "Ctrl+E";
        EXPECT_EQ(title, "Save Export File");
        EXPECT_TRUE(noFile.wait());
    }

    editHeaderRow();
    focusDataCell();
    DialogAnswerer no("", pressButton(IDNO));
    typeShortcut(VK_CONTROL, 'S');
    waitFor([&] { return no.answered(); }, 10000);
    EXPECT_TRUE(no.wait()) << "Ctrl+S";
    EXPECT_NE(no.text().find("Save Header Changes ?"), std::string::npos);
    EXPECT_EQ(windowText(window), std::string(kTitle) + " - " + samplePath("periodic_int.quorData"));
}

// Enter does what the edit it is typed in is for: Goto in the goto edit
// (reached by Ctrl+G), the new size in the page-size edit.
TEST_F(ViewerWindowTest, EnterInAnEditDoesWhatThatEditIsFor)
{
    start(samplePath("periodic_int.quorData"));  // 50 samples per second
    HWND gotoEdit = GetDlgItem(window, IDC_GOTO_TIME);
    focusDataCell();
    typeShortcut(VK_CONTROL, 'G');
    ASSERT_TRUE(waitFor([&] { return focus() == gotoEdit; }));
    // Off the sample grid, so that only a Goto shows it as the page's start.
    SendMessageA(gotoEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("3933002011000000"));
    typeKey(VK_RETURN);
    EXPECT_TRUE(waitFor([&] { return gotoText() == "045:12:30:02.000"; })) << gotoText();

    HWND sizeEdit = GetDlgItem(window, IDC_PAGE_SIZE);
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(sizeEdit), TRUE);
    ASSERT_TRUE(waitFor([&] { return focus() == sizeEdit; }));
    SendMessageA(sizeEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("10"));
    typeKey(VK_RETURN);
    // Ten rows 20 ms apart from where the page stood.
    int64_t first = 0, last = 0;
    EXPECT_TRUE(waitFor([&] {
        return dialog->pager().shownSpan(&first, &last) && dialog->pager().pageSize() == 10 &&
               last - first == 9 * 20000000LL;
    }));
    EXPECT_EQ(first, 3933002000000000LL);
    EXPECT_EQ(gotoText(), "045:12:30:02.000");
}

}  // namespace quor
