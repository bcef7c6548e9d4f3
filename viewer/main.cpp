// QuorDataViewer's entry point: a registration switch, or the viewer dialog.
#include <windows.h>
#include <objbase.h>

#include <memory>

#include "CommandLine.h"
#include "DataViewerDialog.h"
#include "ViewerModule.h"

namespace quor {

namespace {

// The dialog ends before the process does: the pause lets COM finish with
// the grids it loaded before they are unloaded.
const DWORD kShutdownPauseMs = 1000;

int runViewer(ViewerModule& module, const char* commandLine)
{
    module.startMonitor();
    std::unique_ptr<DataViewerDialog> dialog(new DataViewerDialog(module.instance()));
    dialog->setFileNameFromCommandLine(commandLine);
    dialog->runModal(GetActiveWindow());
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
