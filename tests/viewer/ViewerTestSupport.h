// Helpers shared by the viewer's window tests: reading the grids, files and
// what the quordata tool prints.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DataViewerDialog.h"
#include "QuorGrid_h.h"

namespace quor {

// The real dialog, made modeless in the test's thread, started on a file
// and closed again after each test (a pending header edit is not saved).
class ViewerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void start(const std::string& path);
    void closeViewer();

    std::unique_ptr<DataViewerDialog> dialog;
    HWND window = nullptr;
};

// Pumps the test thread's messages until the condition holds (true) or
// the time is up (false).
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);

std::vector<std::string> gridRows(IQuorGridControl* grid);
std::string cell(IQuorGridControl* grid, long row, long column);
std::string fileBytes(const std::string& path);
// A drop as the shell sends it: the files' ANSI paths one after another,
// ended by an empty one. The receiver frees it.
HDROP makeDrop(const std::vector<std::string>& paths);
// What `quordata` (beside this test program) writes to its standard output
// for the arguments.
std::string quordataOutput(const std::string& arguments);
// QuorDataViewer.exe beside this test program.
std::string viewerExe();

// The viewer as a process of its own, started with the arguments; its
// handles are closed on every path and it is ended if still running.
class ViewerProcess {
public:
    explicit ViewerProcess(const std::string& arguments);
    ~ViewerProcess();
    ViewerProcess(const ViewerProcess&) = delete;
    ViewerProcess& operator=(const ViewerProcess&) = delete;

    bool started() const { return started_; }
    DWORD id() const { return info_.dwProcessId; }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD waitForExit(DWORD timeoutMs) const;

private:
    bool started_ = false;
    PROCESS_INFORMATION info_ = {};
};

// The process's dialog with the caption, waited for up to 15 s; null when none came.
HWND waitForViewer(const ViewerProcess& viewer, const std::string& caption);

// With QUOR_SCREENSHOT_DIR set, the screen is saved there under the name;
// false only when asked and not saved.
bool saveScreenNamed(const std::string& name);

}  // namespace quor
