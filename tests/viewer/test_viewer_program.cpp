// QuorDataViewer.exe itself: its registration switches, its command line
// and its shutdown.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "SampleDir.h"
#include "ViewerTestSupport.h"
#include "WindowDriver.h"

namespace quor {

namespace {

constexpr const char* kAppId = "{4A8F2C71-93D6-4B0E-A5C2-7E19D0B3F654}";
constexpr const char* kLibKey = "TypeLib\\{6D1C83B4-2F7A-4E55-9B0E-3A41C7D2E918}\\1.0";
constexpr GUID kLibId = {0x6D1C83B4, 0x2F7A, 0x4E55, {0x9B, 0x0E, 0x3A, 0x41, 0xC7, 0xD2, 0xE9, 0x18}};

// A string value under HKCR, or nothing when the key or value is missing
// (an empty name reads the default value).
std::optional<std::string> classesValue(const std::string& key, const char* name = "")
{
    char data[256] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

bool classesKeyExists(const std::string& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

bool typeLibraryRegistered()
{
    ITypeLib* library = nullptr;
    if (FAILED(LoadRegTypeLib(kLibId, 1, 0, LOCALE_NEUTRAL, &library)))
        return false;
    library->Release();
    return true;
}

// Everything the registration writes, as a host reads it back.
void expectRegistered(const char* how)
{
    SCOPED_TRACE(how);
    EXPECT_EQ(std::optional<std::string>("QuorDataViewer"), classesValue(std::string("AppID\\") + kAppId));
    EXPECT_EQ(std::optional<std::string>(kAppId), classesValue("AppID\\QuorDataViewer.EXE", "AppID"));
    EXPECT_EQ(std::optional<std::string>("QuorDataViewer 1.0 Type Library"),
              classesValue(kLibKey));
    EXPECT_TRUE(typeLibraryRegistered());
}

// Unregistration takes away what registration wrote, but the AppID key
// itself is shared and stays.
void expectUnregistered(const char* how)
{
    SCOPED_TRACE(how);
    EXPECT_FALSE(classesKeyExists(std::string("AppID\\") + kAppId));
    EXPECT_FALSE(classesKeyExists("AppID\\QuorDataViewer.EXE"));
    EXPECT_FALSE(classesKeyExists(kLibKey));
    EXPECT_FALSE(typeLibraryRegistered());
    EXPECT_TRUE(classesKeyExists("AppID"));
}

bool appIdRegistered() { return classesKeyExists("AppID\\QuorDataViewer.EXE"); }

}  // namespace

TEST(ViewerProgram, RegistrationSwitchesInAnyCaseAndExitCodes)
{
    for (const char* sw : {" /RegServer", " -regserver"}) {
        ViewerProcess reg(sw);
        ASSERT_TRUE(reg.started());
        EXPECT_EQ(reg.waitForExit(30000), 0u) << sw;
        expectRegistered(sw);
        ViewerProcess unreg(" /unregserver");
        EXPECT_EQ(unreg.waitForExit(30000), 0u);
        expectUnregistered(sw);
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

TEST(ViewerProgram, OpensAPathWithBlanksAndEndsNoSoonerThanASecondAfterTheDialog)
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
        // The entry point pauses a second before it lets go; how much longer
        // Wine takes to end the process is no property of the viewer.
        EXPECT_GE(took, 900u);
        EXPECT_FALSE(IsWindow(window));
    }
}

}  // namespace quor
