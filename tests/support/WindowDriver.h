// Driving the viewer as a user would: clicking, typing and answering the
// boxes and file dialogs it shows, by finding their windows.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "FilePrompt.h"

namespace quor {

// Waits on its own thread for a dialog window of this process with the
// given caption, reads its text and answers it with the action.
//
// The dialogs a test drives are modal on the test's own thread: once the
// call that shows them has returned, a dialog that has not been seen never
// will be, so wait() stops watching at once and the test fails, naming the
// caption. A modal dialog of this process that appears meanwhile and that
// no live answerer expects would hold the test's thread in its loop for
// good: it is closed at once and named in the failure too.
class DialogAnswerer {
public:
    using Action = std::function<void(HWND)>;
    // With count > 1 it answers that many such dialogs one after the other.
    DialogAnswerer(const std::string& caption, Action action, int count = 1, DWORD timeoutMs = 10000);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Stops watching; true when every dialog was found and answered.
    bool wait();
    // True once every dialog was answered, while it goes on watching: for
    // input that arrives asynchronously, wait on this before wait().
    bool answered() const { return answered_; }
    const std::string& text() { wait(); return text_; }

private:
    void watch(int count, DWORD timeoutMs);
    void closeUnexpectedDialogs();

    std::string caption_;
    Action action_;
    std::string text_;
    std::string unexpected_;  // captions of the dialogs closed unanswered
    std::atomic<bool> answered_{false};
    std::atomic<bool> stop_{false};
    bool reported_ = false;
    std::thread thread_;
};

// Waits on its own thread for this process's popup menu and picks the
// command with the keyboard, down the items and Enter, as a user would; the
// owner is the window that tracks the menu. Command 0 looks at the menu and
// closes it with Escape; so does giving up. whenShown sees the open menu
// first.
class MenuChooser {
public:
    MenuChooser(HWND owner, UINT command, std::function<void(HMENU)> whenShown = nullptr, DWORD timeoutMs = 4000);
    ~MenuChooser() { wait(); }
    MenuChooser(const MenuChooser&) = delete;
    MenuChooser& operator=(const MenuChooser&) = delete;

    void wait();
    bool chose() const { return chose_; }
    int items() const { return items_; }  // of the menu that was found

private:
    void watch(HWND owner, UINT command, DWORD timeoutMs);
    void choose(HWND owner, HMENU menu, UINT command);

    std::function<void(HMENU)> whenShown_;
    std::atomic<bool> chose_{false};
    std::atomic<int> items_{0};
    std::thread thread_;
};

// Answers the file prompts of the code linked into the test program (the
// viewer's and the plot's, not a loaded DLL's) through FilePromptAnswer,
// without a dialog: `count` prompts titled `title` get `path`; any other
// prompt is cancelled and named in the failure.
class FileChoice {
public:
    FileChoice(const std::string& title, const std::string& path, int count = 1);
    // Reports what wait() would, unless wait() was called.
    ~FileChoice();
    FileChoice(const FileChoice&) = delete;
    FileChoice& operator=(const FileChoice&) = delete;

    // True once every prompt was answered and no other came; a prompt
    // asked on another thread is waited for up to timeoutMs.
    bool wait(DWORD timeoutMs = 10000);

private:
    bool answer(const FilePrompt& prompt, std::string& path);

    std::string title_;
    std::string path_;
    int count_;
    std::atomic<int> answered_{0};
    std::mutex mutex_;
    std::string unexpected_;  // titles of the prompts cancelled
    bool waited_ = false;
    // Last: it goes first, before what it answers from.
    FilePromptAnswer seam_;
};

// Answers: a message box button, or a file dialog filled with a path.
DialogAnswerer::Action pressButton(int id);
DialogAnswerer::Action chooseFile(const std::string& path);
// As chooseFile, then answers Yes when the dialog asks to replace the file.
DialogAnswerer::Action chooseFileReplacing(const std::string& path);

HWND findDialog(const std::string& caption, DWORD processId);
std::string windowText(HWND window);
void pumpMessages();
// The whole screen, as a 24-bit BMP file; false when it cannot be written.
bool saveScreen(const std::string& path);
// A bitmap as a 24-bit BMP file.
bool saveBitmap(HBITMAP bitmap, const std::string& path);
void clickButton(HWND dialog, int id);
void sendCommand(HWND dialog, int id);
void typeText(HWND dialog, int id, const std::string& text);

}  // namespace quor
