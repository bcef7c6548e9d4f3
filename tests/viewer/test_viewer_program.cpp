// QuorDataViewer.exe itself: its registration switches, its command line
// and its shutdown.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "SampleDir.h"
#include "WindowDriver.h"

namespace {

std::string viewerExe()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + "QuorDataViewer.exe";
}

// The process and its thread handle, closed on every path.
class ViewerProcess {
public:
    explicit ViewerProcess(const std::string& arguments)
    {
        std::string commandLine = "\"" + viewerExe() + "\"" + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &info_) != 0;
    }
    ~ViewerProcess()
    {
        if (!started_)
            return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    ViewerProcess(const ViewerProcess&) = delete;
    ViewerProcess& operator=(const ViewerProcess&) = delete;

    bool started() const { return started_; }
    DWORD id() const { return info_.dwProcessId; }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD waitForExit(DWORD timeoutMs) const
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION info_ = {};
};

bool appIdRegistered()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "AppID\\QuorDataViewer.EXE", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

HWND waitForViewer(const ViewerProcess& viewer, const std::string& caption)
{
    for (int i = 0; i < 300; ++i) {
        if (HWND window = findDialog(caption, viewer.id()))
            return window;
        Sleep(50);
    }
    return nullptr;
}

}  // namespace

TEST(ViewerProgram, RegistrationSwitchesInAnyCaseAndExitCodes)
{
    for (const char* sw : {" /RegServer", " -regserver"}) {
        ViewerProcess reg(sw);
        ASSERT_TRUE(reg.started());
        EXPECT_EQ(reg.waitForExit(30000), 0u) << sw;
        EXPECT_TRUE(appIdRegistered());
        ViewerProcess unreg(" /unregserver");
        EXPECT_EQ(unreg.waitForExit(30000), 0u);
        EXPECT_FALSE(appIdRegistered());
    }
}

TEST(ViewerProgram, TrailingTextMakesASwitchAFileNameAndTheViewerOpens)
{
    ViewerProcess viewer(" /RegServer x");
    ASSERT_TRUE(viewer.started());
    // "/RegServer x" is taken as a data file name that does not exist.
    HWND box = waitForViewer(viewer, "Open QUOR Data File");
    ASSERT_TRUE(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND window = waitForViewer(viewer, "QUOR Data Viewer");
    ASSERT_TRUE(window);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(viewer.waitForExit(15000), 0u);
    EXPECT_FALSE(appIdRegistered());
}

TEST(ViewerProgram, OpensAPathWithBlanksAndEndsAboutASecondAfterTheDialog)
{
    const std::string dir = sampleDir() + "\\with blanks";
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string path = dir + "\\my data.quorData";
    CopyFileA(samplePath("periodic_int.quorData").c_str(), path.c_str(), FALSE);
    for (const std::string& arguments : {" \"" + path + "\"", " " + path}) {
        SCOPED_TRACE(arguments);
        ViewerProcess viewer(arguments);
        ASSERT_TRUE(viewer.started());
        HWND window = waitForViewer(viewer, "QUOR Data Viewer - " + path);
        ASSERT_TRUE(window);
        const DWORD closed = GetTickCount();
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_EQ(viewer.waitForExit(15000), 0u);
        const DWORD took = GetTickCount() - closed;
        EXPECT_GE(took, 900u);
        EXPECT_LT(took, 5000u);
        EXPECT_FALSE(IsWindow(window));
    }
}
