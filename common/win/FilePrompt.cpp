#include "FilePrompt.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace quor {

namespace {

FilePromptAnswer::Answer& currentAnswer()
{
    static FilePromptAnswer::Answer answer;
    return answer;
}

// Room for a few hundred names in one choice.
const DWORD kSeveralNamesCapacity = 65536;

// A choice of several files: the folder and the names, each ended by a NUL,
// and one more NUL after the last.
std::string untilDoubleNul(const std::vector<char>& buffer)
{
    size_t end = 0;
    while (end + 1 < buffer.size() && !(buffer[end] == '\0' && buffer[end + 1] == '\0'))
        ++end;
    return std::string(buffer.data(), end);
}

}  // namespace

bool askFileName(FilePromptKind kind, const FilePrompt& prompt, std::string& path)
{
    path.clear();
    if (const FilePromptAnswer::Answer& answer = currentAnswer())
        return answer(kind, prompt, path);
    std::vector<char> buffer(prompt.capacity > 0 ? prompt.capacity : 1, '\0');
    lstrcpynA(buffer.data(), prompt.name.c_str(), static_cast<int>(buffer.size()));
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = prompt.owner;
    dialog.lpstrFilter = prompt.filter.empty() ? nullptr : prompt.filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = prompt.initialFolder;
    dialog.lpstrTitle = prompt.title.c_str();
    dialog.lpstrDefExt = prompt.defaultExtension.empty() ? nullptr : prompt.defaultExtension.c_str();
    dialog.Flags = OFN_EXPLORER | prompt.flags;
    const BOOL confirmed = kind == FilePromptKind::open ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    if (confirmed)
        path = (prompt.flags & OFN_ALLOWMULTISELECT) ? untilDoubleNul(buffer) : std::string(buffer.data());
    return confirmed != FALSE;
}

bool askFileNames(const FilePrompt& prompt, std::vector<std::string>& paths)
{
    FilePrompt several = prompt;
    several.flags |= OFN_ALLOWMULTISELECT;
    several.capacity = std::max<DWORD>(prompt.capacity, kSeveralNamesCapacity);
    std::string chosen;
    paths.clear();
    if (askFileName(FilePromptKind::open, several, chosen))
        paths = chosenPaths(chosen);
    return !paths.empty();
}

std::vector<std::string> chosenPaths(const std::string& chosen)
{
    std::vector<std::string> parts;
    for (size_t at = 0; at < chosen.size();) {
        const size_t end = std::min(chosen.find('\0', at), chosen.size());
        if (end > at)
            parts.push_back(chosen.substr(at, end - at));
        at = end + 1;
    }
    if (parts.size() < 2)
        return parts;
    std::string folder = parts.front();
    if (folder.back() != '\\')
        folder += '\\';
    std::vector<std::string> paths;
    for (size_t k = 1; k < parts.size(); ++k)
        paths.push_back(folder + parts[k]);
    return paths;
}

std::vector<std::string> droppedFiles(HDROP drop)
{
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT k = 0; k < count; ++k) {
        std::vector<char> path(DragQueryFileA(drop, k, nullptr, 0) + 1, '\0');
        if (DragQueryFileA(drop, k, path.data(), static_cast<UINT>(path.size())) > 0)
            paths.push_back(path.data());
    }
    DragFinish(drop);
    return paths;
}

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

FilePromptAnswer::FilePromptAnswer(Answer answer) : previous_(std::exchange(currentAnswer(), std::move(answer))) {}

FilePromptAnswer::~FilePromptAnswer()
{
    currentAnswer() = std::move(previous_);
}

}  // namespace quor
