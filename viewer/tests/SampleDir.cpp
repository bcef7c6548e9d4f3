#include "SampleDir.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

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
        // The folder, with whatever the tests wrote beside the samples, goes
        // when the test program ends, so that runs do not pile up in the prefix.
        static const struct Remover {
            std::string path;
            ~Remover()
            {
                std::error_code ignored;
                std::filesystem::remove_all(path, ignored);
            }
        } remover{path};
        std::string failed;
        EXPECT_EQ(writeSampleSet(path, &failed), S_OK) << failed;
        return path;
    }();
    return dir;
}

std::string samplePath(const char* name) { return sampleDir() + "\\" + name; }

}  // namespace quor
