// A file of the test's own in the temporary folder: the process id in its
// name keeps parallel test programs apart, and it is removed before and
// after the test, however the test ends.
#pragma once

#include <windows.h>

#include <string>

namespace quor {

namespace test {

// With its closing backslash.
inline std::string temporaryFolder()
{
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

inline std::string scratchPath(const char* name)
{
    return temporaryFolder() + "quor_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

class ScratchFile {
public:
    explicit ScratchFile(const char* name) : path_(scratchPath(name)) { DeleteFileA(path_.c_str()); }
    ~ScratchFile() { DeleteFileA(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace test

}  // namespace quor
