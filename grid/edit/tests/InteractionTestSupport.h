// Helpers of the interaction tests: a filled TestGrid, temporary files,
// and a thread that answers a modal window once it shows up.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "GridRow.h"
#include "TestGrid.h"

namespace quor {

inline std::vector<std::string> rowTexts(TestGrid& grid)
{
    std::vector<std::string> texts;
    for (GridRow* row : grid.rows().snapshot())
        texts.push_back(row->rowText);
    return texts;
}

inline std::vector<std::string> deletedTexts(TestGrid& grid)
{
    std::vector<std::string> texts;
    grid.rows().resetDeletedCursor();
    while (GridRow* row = grid.rows().nextDeleted())
        texts.push_back(row->rowText);
    return texts;
}

inline void fillGrid(TestGrid& grid, const std::string& headings, const std::vector<std::string>& rows)
{
    grid.setColumnHeadings(headings);
    for (const std::string& row : rows)
        grid.appendRow(row, "t" + row, false);
}

// The grid shown in `window`: its view takes the window's client size.
inline void showIn(TestGrid& grid, HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    grid.view().setClientSize(client.right, client.bottom);
}

inline GridRow& rowNumber(TestGrid& grid, int32_t number)
{
    return *grid.rows().snapshot().at(static_cast<size_t>(number - 1));
}

inline void writeFile(const std::string& path, const std::string& content)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (file) {
        fwrite(content.data(), 1, content.size(), file);
        fclose(file);
    }
}

inline std::string readFile(const std::string& path)
{
    std::string content;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return content;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, got);
    fclose(file);
    return content;
}

// Waits on its own thread for a top-level window with the title and hands
// it to `answer`; joined on destruction.
class WindowAnswerer {
public:
    WindowAnswerer(const char* title, std::function<void(HWND)> answer)
        : thread_([this, t = std::string(title), answer] {
              for (int i = 0; i < 200 && !stop_; ++i) {
                  if (HWND window = FindWindowA(nullptr, t.c_str())) {
                      // Its thread answers once the dialog has finished its
                      // set-up and runs its message loop.
                      DWORD_PTR ignored = 0;
                      SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
                      answer(window);
                      found_ = true;
                      return;
                  }
                  Sleep(50);
              }
          })
    {
    }
    ~WindowAnswerer()
    {
        stop_ = true;
        thread_.join();
    }
    bool found() const { return found_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> found_{false};
    std::thread thread_;
};

// A plain top-level window to stand in for the control window.
class TestWindow {
public:
    TestWindow()
    {
        WNDCLASSA type = {};
        type.lpfnWndProc = DefWindowProcA;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "QuorInteractionTestWindow";
        RegisterClassA(&type);
        window_ = CreateWindowExA(0, type.lpszClassName, "grid", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 600,
                                  400, nullptr, nullptr, type.hInstance, nullptr);
        ShowWindow(window_, SW_SHOW);
    }
    ~TestWindow() { DestroyWindow(window_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

// Showing a new top-level window costs Wine a while: the tests share one.
inline HWND sharedTestWindow()
{
    static TestWindow window;
    return window.get();
}

// Dispatches what is queued, e.g. keys the edit box posted to the grid.
inline void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace quor
