// The one setup of the system's Open and Save dialogs. Every prompt for a
// file name goes through askFileName, so a test can answer all of them at
// once (FilePromptAnswer) instead of finding and filling real dialogs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quor {

enum class FilePromptKind { open, save };

struct FilePrompt {
    HWND owner = nullptr;
    std::string title;
    // "Name\0pattern\0...\0", as dialogFilter makes it.
    std::string filter;
    // What the file name box shows first.
    std::string name;
    const char* initialFolder = nullptr;
    // Without its dot; empty for none.
    std::string defaultExtension;
    // OFN_ flags beside OFN_EXPLORER.
    DWORD flags = 0;
    // Characters the path may have, its terminator included.
    DWORD capacity = MAX_PATH;
};

// True with the confirmed path; false with an empty one when the user
// cancelled or the dialog failed.
bool askFileName(FilePromptKind kind, const FilePrompt& prompt, std::string& path);

// An Open dialog that takes several files at once: true with the paths
// chosen. What the dialog (or a FilePromptAnswer) gives is one path, or a
// folder and the names in it, each ended by a NUL.
bool askFileNames(const FilePrompt& prompt, std::vector<std::string>& paths);
std::vector<std::string> chosenPaths(const std::string& chosen);

// The files dropped onto a window; the drop's memory is released here.
std::vector<std::string> droppedFiles(HDROP drop);

// "|A|a|B|b|" as the dialogs want it: "A\0a\0B\0b\0\0".
std::string dialogFilter(const std::string& filter);

// While one lives, askFileName shows no dialog and returns what `answer`
// returns for the prompt. For the whole process; a second one stands in
// for the first until it goes.
class FilePromptAnswer {
public:
    using Answer = std::function<bool(FilePromptKind, const FilePrompt&, std::string& path)>;
    explicit FilePromptAnswer(Answer answer);
    ~FilePromptAnswer();
    FilePromptAnswer(const FilePromptAnswer&) = delete;
    FilePromptAnswer& operator=(const FilePromptAnswer&) = delete;

private:
    Answer previous_;
};

}  // namespace quor
