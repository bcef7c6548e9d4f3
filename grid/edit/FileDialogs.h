// The file name prompt of the CSV commands. The grid sees only FileDialog;
// CommonFileDialog fulfils it with the platform's Open and Save dialogs, and
// an outside component can take its place behind the same interface.
#pragma once

#include <windows.h>

#include <string>

#include "FilePrompt.h"

namespace quor {

struct FileDialogRequest {
    std::string title;
    std::string filter;            // "|Name|pattern|Name|pattern|"
    std::string defaultExtension;  // ".csv"
};

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // True with a non-empty path when the user confirmed a file.
    virtual bool askOpen(HWND owner, const FileDialogRequest& request, std::string& path) = 0;
    virtual bool askSave(HWND owner, const FileDialogRequest& request, std::string& path) = 0;
};

class CommonFileDialog final : public FileDialog {
public:
    bool askOpen(HWND owner, const FileDialogRequest& request, std::string& path) override;
    bool askSave(HWND owner, const FileDialogRequest& request, std::string& path) override;
};

}  // namespace quor
