#include "SampleDir.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "SampleWriter.h"

namespace quor {

const std::string& sampleDir()
{
    static const std::string dir = [] {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        std::string path = std::string(temp) + "quorviewer_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path.c_str(), nullptr);
        std::string failed;
        EXPECT_EQ(writeSampleSet(path, &failed), S_OK) << failed;
        return path;
    }();
    return dir;
}

std::string samplePath(const char* name) { return sampleDir() + "\\" + name; }

}  // namespace quor
