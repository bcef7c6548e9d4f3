#include "FilePrompt.h"

#include <commdlg.h>

#include <utility>
#include <vector>

namespace quor {

namespace {

FilePromptAnswer::Answer& currentAnswer()
{
    static FilePromptAnswer::Answer answer;
    return answer;
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
        path = buffer.data();
    return confirmed != FALSE;
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
