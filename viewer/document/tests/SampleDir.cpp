#include "SampleDir.h"

#include <filesystem>
#include <system_error>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "SampleWriter.h"

namespace quor {

namespace {

#ifdef _WIN32
const char kSeparator[] = "\\";
std::string temporaryFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return temp;
}
long processId() { return static_cast<long>(GetCurrentProcessId()); }
#else
const char kSeparator[] = "/";
std::string temporaryFolder() { return std::filesystem::temp_directory_path().string() + "/"; }
long processId() { return static_cast<long>(getpid()); }
#endif

}  // namespace

const std::string& sampleDir()
{
    static const std::string dir = [] {
        std::string path = temporaryFolder() + "quorviewer_" + std::to_string(processId());
        std::error_code ignored;
        std::filesystem::create_directory(path, ignored);
        // The folder, with whatever the tests wrote beside the samples, goes
        // when the test program ends, so that runs do not pile up.
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

std::string samplePath(const char* name) { return sampleDir() + kSeparator + name; }

}  // namespace quor
