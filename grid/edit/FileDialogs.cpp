#include "FileDialogs.h"

#include <commdlg.h>

namespace quor {

namespace {

// Long enough for extended-length paths.
constexpr DWORD kPathCapacity = 32768;

bool ask(HWND owner, const FileDialogRequest& request, std::string& path, FilePromptKind kind)
{
    FilePrompt prompt;
    prompt.owner = owner;
    prompt.title = request.title;
    prompt.filter = dialogFilter(request.filter);
    prompt.defaultExtension = request.defaultExtension;
    if (!prompt.defaultExtension.empty() && prompt.defaultExtension.front() == '.')
        prompt.defaultExtension.erase(0, 1);
    prompt.flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (kind == FilePromptKind::open ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : OFN_OVERWRITEPROMPT);
    prompt.capacity = kPathCapacity;
    return askFileName(kind, prompt, path) && !path.empty();
}

}  // namespace

bool CommonFileDialog::askOpen(HWND owner, const FileDialogRequest& request, std::string& path)
{
    return ask(owner, request, path, FilePromptKind::open);
}

bool CommonFileDialog::askSave(HWND owner, const FileDialogRequest& request, std::string& path)
{
    return ask(owner, request, path, FilePromptKind::save);
}

}  // namespace quor
