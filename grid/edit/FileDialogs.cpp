#include "FileDialogs.h"

#include <commdlg.h>

#include <vector>

namespace quor {

namespace {

// Long enough for extended-length paths.
constexpr DWORD kPathCapacity = 32768;

bool ask(HWND owner, const FileDialogRequest& request, std::string& path, bool forOpen)
{
    const std::string filter = dialogFilter(request.filter);
    std::string extension = request.defaultExtension;
    if (!extension.empty() && extension.front() == '.')
        extension.erase(0, 1);
    std::vector<char> buffer(kPathCapacity, '\0');
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (forOpen ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : OFN_OVERWRITEPROMPT);
    const BOOL confirmed = forOpen ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    path = confirmed ? std::string(buffer.data()) : std::string();
    return confirmed && !path.empty();
}

}  // namespace

std::string dialogFilter(const std::string& filter)
{
    std::string result = filter;
    if (!result.empty() && result.front() == '|')
        result.erase(0, 1);
    for (char& c : result) {
        if (c == '|')
            c = '\0';
    }
    // Double terminator, whether or not the filter ended in '|'.
    result.push_back('\0');
    return result;
}

bool CommonFileDialog::askOpen(HWND owner, const FileDialogRequest& request, std::string& path)
{
    return ask(owner, request, path, true);
}

bool CommonFileDialog::askSave(HWND owner, const FileDialogRequest& request, std::string& path)
{
    return ask(owner, request, path, false);
}

}  // namespace quor
