#include "ViewerTestSupport.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "GridCalls.h"
#include "SampleDir.h"
#include "WindowDriver.h"

namespace quor {

bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        pumpMessages();
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(5);
    }
}

std::vector<std::string> gridRows(IQuorGridControl* grid)
{
    std::vector<std::string> rows;
    LONG count = 0;
    grid->getNumberOfRows(&count);
    grid->resetToFirstRow();
    for (LONG i = 0; i < count; ++i) {
        Bstr row;
        if (grid->getNextRow(row.out()) != S_OK)
            break;
        rows.push_back(row.text().str());
    }
    return rows;
}

HDROP makeDrop(const std::vector<std::string>& paths)
{
    size_t chars = 1;
    for (const std::string& p : paths)
        chars += p.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    char* text = reinterpret_cast<char*>(drop + 1);
    for (const std::string& p : paths) {
        std::memcpy(text, p.c_str(), p.size() + 1);
        text += p.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

std::string cell(IQuorGridControl* grid, long row, long column)
{
    Bstr text;
    grid->getCellText(row, column, text.out());
    return text.text().str();
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string quordataOutput(const std::string& arguments)
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder(program);
    folder.resize(folder.find_last_of('\\'));
    const std::string outPath = sampleDir() + "\\quordata.out";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return std::string();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + folder + "\\quordata.exe\" " + arguments;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    return fileBytes(outPath);
}

std::string viewerExe()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + "QuorDataViewer.exe";
}

ViewerProcess::ViewerProcess(const std::string& arguments)
{
    std::string commandLine = "\"" + viewerExe() + "\"" + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &info_) != 0;
}

ViewerProcess::~ViewerProcess()
{
    if (!started_)
        return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

DWORD ViewerProcess::waitForExit(DWORD timeoutMs) const
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(info_.hProcess, &code);
    return code;
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

bool saveScreenNamed(const std::string& name)
{
    char folder[MAX_PATH] = "";
    if (GetEnvironmentVariableA("QUOR_SCREENSHOT_DIR", folder, MAX_PATH) == 0)
        return true;
    return saveScreen(std::string(folder) + "\\" + name);
}

void ViewerFixture::SetUp() { CoInitialize(nullptr); }

void ViewerFixture::TearDown()
{
    closeViewer();
    CoUninitialize();
}

void ViewerFixture::start(const std::string& path)
{
    dialog.reset(new DataViewerDialog(GetModuleHandleA(nullptr)));
    dialog->setFileNameFromCommandLine(("\"viewer.exe\" \"" + path + "\"").c_str());
    window = dialog->createModeless(nullptr);
    ASSERT_TRUE(window);
    ShowWindow(window, SW_SHOW);
    ASSERT_TRUE(dialog->headerGrid() && dialog->dataGrid()) << "QuorGrid is not registered";
}

void ViewerFixture::closeViewer()
{
    if (dialog && dialog->window()) {
        LONG edited = 0;
        dialog->headerGrid()->getNumberOfEditedRows(&edited);
        if (edited > 0) {
            DialogAnswerer no("", pressButton(IDNO));
            clickButton(window, IDCANCEL);
        } else {
            clickButton(window, IDCANCEL);
        }
    }
    dialog.reset();
}

}  // namespace quor
