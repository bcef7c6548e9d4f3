// QuorDataViewer's entry point: a registration switch, or the viewer dialog
// on the command line's data file, or on the first lane of the command
// line's plot workspace with the plot open on the whole workspace.
#include <windows.h>
#include <objbase.h>

#include <memory>

#include "CommandLine.h"
#include "DataViewerDialog.h"
#include "PlotWindow.h"
#include "ViewerModule.h"

namespace quor {

namespace {

// The dialog ends before the process does: the pause lets COM finish with
// the grids it loaded before they are unloaded.
const DWORD kShutdownPauseMs = 1000;
const UINT kWorkspaceLookMs = 20;

// The dialog runs modally, so the workspace is opened from within its
// message loop: a thread timer looks until the dialog shows (its first
// showing opens no data file then) and opens the workspace once.
class WorkspaceOnStart {
public:
    WorkspaceOnStart(DataViewerDialog& dialog, const Text& path) : dialog_(dialog), path_(fullPathName(path.c_str()))
    {
        pending_ = this;
        timer_ = SetTimer(nullptr, 0, kWorkspaceLookMs, &WorkspaceOnStart::look);
    }
    ~WorkspaceOnStart()
    {
        stop();
        pending_ = nullptr;
    }
    WorkspaceOnStart(const WorkspaceOnStart&) = delete;
    WorkspaceOnStart& operator=(const WorkspaceOnStart&) = delete;

private:
    static void CALLBACK look(HWND, UINT, UINT_PTR, DWORD)
    {
        WorkspaceOnStart* self = pending_;
        if (!self || !self->dialog_.window() || !IsWindowVisible(self->dialog_.window()))
            return;
        // Stopped first: the workspace's boxes run message loops of their own.
        self->stop();
        // As Open Workspace... says it of a file that is none.
        if (!self->dialog_.openWorkspace(self->path_.str()))
            PlotWindow::refuseWorkspace(self->dialog_.window(), self->path_.str());
    }
    void stop()
    {
        if (timer_)
            KillTimer(nullptr, timer_);
        timer_ = 0;
    }

    static WorkspaceOnStart* pending_;
    DataViewerDialog& dialog_;
    Text path_;
    UINT_PTR timer_ = 0;
};

WorkspaceOnStart* WorkspaceOnStart::pending_ = nullptr;

void runDialog(DataViewerDialog& dialog, const char* commandLine)
{
    const Text argument = dataFileNameFromCommandLine(commandLine);
    if (!namesWorkspace(argument.c_str())) {
        dialog.setFileNameFromCommandLine(commandLine);
        dialog.runModal(GetActiveWindow());
        return;
    }
    WorkspaceOnStart workspace(dialog, argument);
    dialog.runModal(GetActiveWindow());
}

int runViewer(ViewerModule& module, const char* commandLine)
{
    module.startMonitor();
    std::unique_ptr<DataViewerDialog> dialog(new DataViewerDialog(module.instance()));
    runDialog(*dialog, commandLine);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    Sleep(kShutdownPauseMs);
    dialog.reset();
    module.stopMonitor();
    return 0;
}

}  // namespace

}  // namespace quor

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    using namespace quor;
    const char* commandLine = GetCommandLineA();
    const HRESULT comStatus = CoInitialize(nullptr);
    int exitCode = 0;
    {
        ViewerModule module(instance);
        switch (findRegistrationSwitch(commandLine)) {
        case RegistrationSwitch::unregServer: exitCode = static_cast<int>(module.unregisterServer()); break;
        case RegistrationSwitch::regServer: exitCode = static_cast<int>(module.registerServer()); break;
        case RegistrationSwitch::none: exitCode = runViewer(module, commandLine); break;
        }
    }
    if (SUCCEEDED(comStatus))
        CoUninitialize();
    return exitCode;
}
