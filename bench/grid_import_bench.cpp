// Import and Export of 100,000 CSV lines through the real control hosted in
// a window: the cell menu's own commands arrive as WM_COMMAND, and a thread
// answers the confirmation box and the file dialogs the way a user would.
// The seconds are those the wait cursor holds the mouse (the file work),
// and from the dialog's OK to the command's return (Wine without a window
// manager spends about two of them closing the dialog).
// It also checks the wait cursor: shown and holding the mouse during the
// work, the mouse and the previous cursor given back afterwards.
#include <windows.h>
#include <dlgs.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "CellMenuCommands.h"
#include "OleHostSite.h"
#define QUOR_BENCH_GRID
#include "BenchSupport.h"
#include "Bstr.h"

using Microsoft::WRL::ComPtr;

namespace quor {

namespace {

constexpr int kLines = 100000;

long countLines(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "r");
    if (!file)
        return -1;
    long lines = 0;
    for (int c; (c = fgetc(file)) != EOF;)
        lines += c == '\n';
    fclose(file);
    return lines;
}

// Only this process's windows: another program may show the same title.
HWND findOwnWindow(const char* title)
{
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, nullptr, title)) != nullptr;) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId())
            return window;
    }
    return nullptr;
}

HWND waitForWindow(const char* title)
{
    for (int i = 0; i < 400; ++i) {
        if (HWND window = findOwnWindow(title))
            return window;
        Sleep(25);
    }
    return nullptr;
}

// Answers what one command shows, on its own thread, then watches who holds
// the mouse on the grid's thread until the command is over.
class CommandAnswerer {
public:
    CommandAnswerer(const char* confirmTitle, const char* dialogTitle, const std::string& path, HWND grid)
        : gridThread_(GetCurrentThreadId()),
          thread_([this, confirmTitle, dialogTitle, path, grid] {
              if (confirmTitle) {
                  HWND box = waitForWindow(confirmTitle);
                  Sleep(100);  // let the box finish its set-up
                  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
              }
              HWND dialog = waitForWindow(dialogTitle);
              Sleep(100);
              SetDlgItemTextA(dialog, cmb13, path.c_str());
              answered_ = dialog != nullptr;
              QueryPerformanceCounter(&confirmed_);
              PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
              while (!done_) {
                  GUITHREADINFO gui{};
                  gui.cbSize = sizeof gui;
                  if (GetGUIThreadInfo(gridThread_, &gui) && gui.hwndCapture == grid) {
                      if (!gridHeldTheMouse_)
                          QueryPerformanceCounter(&waitStarted_);
                      QueryPerformanceCounter(&waitLastSeen_);
                      gridHeldTheMouse_ = true;
                      CURSORINFO cursor{};
                      cursor.cbSize = sizeof cursor;
                      if (GetCursorInfo(&cursor) && cursor.hCursor == LoadCursorA(nullptr, IDC_WAIT))
                          waitCursorShown_ = true;
                  }
                  Sleep(1);
              }
          })
    {
    }
    ~CommandAnswerer() { finish(); }
    CommandAnswerer(const CommandAnswerer&) = delete;
    CommandAnswerer& operator=(const CommandAnswerer&) = delete;

    void finish()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    bool answered() const { return answered_; }
    bool gridHeldTheMouse() const { return gridHeldTheMouse_; }
    bool waitCursorShown() const { return waitCursorShown_; }
    LARGE_INTEGER confirmed() const { return confirmed_; }
    LARGE_INTEGER waitStarted() const { return waitStarted_; }
    LARGE_INTEGER waitLastSeen() const { return waitLastSeen_; }

private:
    DWORD gridThread_;
    std::atomic<bool> done_{false};
    std::atomic<bool> answered_{false};
    std::atomic<bool> gridHeldTheMouse_{false};
    std::atomic<bool> waitCursorShown_{false};
    LARGE_INTEGER confirmed_{};
    LARGE_INTEGER waitStarted_{};
    LARGE_INTEGER waitLastSeen_{};
    std::thread thread_;
};

struct CommandRun {
    bool answered = false;
    bool heldTheMouse = false;
    bool waitCursorShown = false;
    bool mouseGivenBack = false;
    bool cursorBack = false;
    double seconds = 0;      // from the dialog's OK to the command's return
    double waitSeconds = 0;  // while the wait cursor held the mouse: the file work
};

CommandRun runCommand(HWND grid, UINT command, const char* confirmTitle, const char* dialogTitle,
                      const std::string& path)
{
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    CommandRun run;
    CommandAnswerer answerer(confirmTitle, dialogTitle, path, grid);
    SendMessageA(grid, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    LARGE_INTEGER returned;
    QueryPerformanceCounter(&returned);
    answerer.finish();
    run.seconds = secondsBetween(answerer.confirmed(), returned);
    run.answered = answerer.answered();
    run.heldTheMouse = answerer.gridHeldTheMouse();
    run.waitCursorShown = answerer.waitCursorShown();
    if (run.heldTheMouse)
        run.waitSeconds = secondsBetween(answerer.waitStarted(), answerer.waitLastSeen());
    run.mouseGivenBack = GetCapture() == nullptr;
    run.cursorBack = GetCursor() != wait;
    return run;
}

const char* yesNo(bool flag) { return flag ? "yes" : "NO"; }

void report(const char* what, const CommandRun& run)
{
    printf("%s: %.3f s under the wait cursor, %.3f s from the dialog's OK (the dialog's closing included)\n", what,
           run.waitSeconds, run.seconds);
    printf("  answered %s, wait cursor shown %s, held the mouse %s, gave it back %s, cursor restored %s\n",
           yesNo(run.answered), yesNo(run.waitCursorShown), yesNo(run.heldTheMouse), yesNo(run.mouseGivenBack),
           yesNo(run.cursorBack));
}

bool fine(const CommandRun& run)
{
    return run.answered && run.waitCursorShown && run.heldTheMouse && run.mouseGivenBack && run.cursorBack;
}

}  // namespace

}  // namespace quor

int main()
{
    using namespace quor;
    const std::string source = temporaryPath("quor_import_bench_in.csv");
    const std::string target = temporaryPath("quor_import_bench_out.csv");
    DeleteFileA(target.c_str());
    if (!writeCsvSource(source, kLines)) {
        fprintf(stderr, "cannot write %s\n", source.c_str());
        return 1;
    }
    const GridDll dll;
    if (!dll.ready("grid_import_bench"))
        return 1;
    int status = 1;
    {
        WNDCLASSA type{};
        type.lpfnWndProc = DefWindowProcA;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "QuorImportBenchHost";
        RegisterClassA(&type);
        // Hidden: Wine without a window manager is slow to unmap a shown window.
        HWND host = CreateWindowExA(0, type.lpszClassName, "host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                    640, 480, nullptr, nullptr, type.hInstance, nullptr);
        ComPtr<IQuorGridControl> grid = createGrid(dll.module());
        ComPtr<quor::OleHostSite> site = quor::OleHostSite::make(host);
        ComPtr<IOleObject> object;
        if (grid)
            grid.As(&object);
        if (object && SUCCEEDED(site->attach(object.Get())) && SUCCEEDED(site->activate(RECT{0, 0, 600, 400}))) {
            HWND window = site->controlWindow();
            grid->setColumnHeadings(quor::Bstr(L"Time|Nanoseconds|Value").get());
            const CommandRun imported =
                runCommand(window, kImportCommand, "Import CSV File", "Load Excel CSV File", source);
            LONG rows = 0;
            grid->getNumberOfRows(&rows);
            const CommandRun exported = runCommand(window, kExportCommand, nullptr, "Save As Excel CSV File", target);
            const long lines = countLines(target);
            report(("import " + std::to_string(kLines) + " lines (" + std::to_string(rows) + " rows)").c_str(),
                   imported);
            report(("export " + std::to_string(rows) + " rows (" + std::to_string(lines) + " lines)").c_str(),
                   exported);
            status = fine(imported) && fine(exported) && rows == kLines && lines == kLines + 1 ? 0 : 1;
        } else {
            fprintf(stderr, "cannot host the grid\n");
        }
        site->close();
        DestroyWindow(host);
    }
    DeleteFileA(source.c_str());
    DeleteFileA(target.c_str());
    return status;
}
