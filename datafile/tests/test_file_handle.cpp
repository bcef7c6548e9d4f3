#include <gtest/gtest.h>

#include "FileHandle.h"
#include "TestFiles.h"

namespace quor {

TEST(FileHandle, RefusesWhatItCannotDo)
{
    TempDir dir;
    FileHandle file;
    uint32_t n = 7;
    char buffer[4];
    int64_t size = 9;
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.read(buffer, 4, &n), E_FAIL);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(file.seek(FileHandle::fromStart, 0), E_FAIL);
    EXPECT_EQ(file.getSize(&size), E_FAIL);
    EXPECT_EQ(size, 0);
    EXPECT_FALSE(file.flush());
    EXPECT_EQ(file.close(), E_FAIL);
    // Never creates a file.
    EXPECT_EQ(file.open(dir.path("absent.bin").c_str(), FileHandle::modeReadWrite), E_FAIL);
    ASSERT_TRUE(writeFile(dir.path("f.bin"), std::string("abcdef")));
    EXPECT_EQ(file.open(dir.path("f.bin").c_str(), 4), E_FAIL);
    EXPECT_EQ(file.open(dir.path("f.bin").c_str(), 0), E_FAIL);
    ASSERT_EQ(file.open(dir.path("f.bin").c_str(), FileHandle::modeRead), S_OK);
    EXPECT_EQ(file.seek(3, 0), E_FAIL);
    EXPECT_EQ(file.write("x", 1, &n), E_FAIL);  // read-only
}

TEST(FileHandle, ReadsWritesAndSeeksFromEachOrigin)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.path("f.bin"), std::string("0123456789")));
    FileHandle file;
    ASSERT_EQ(file.open(dir.path("f.bin").c_str(), FileHandle::modeReadWrite), S_OK);
    char buffer[8] = {};
    uint32_t n = 0;
    ASSERT_EQ(file.seek(FileHandle::fromEnd, -3), S_OK);
    ASSERT_EQ(file.read(buffer, 8, &n), S_OK);
    EXPECT_EQ(std::string(buffer, n), "789");  // short at the end of the file
    ASSERT_EQ(file.read(buffer, 8, &n), S_OK);
    EXPECT_EQ(n, 0u);
    ASSERT_EQ(file.seek(FileHandle::fromStart, 2), S_OK);
    ASSERT_EQ(file.seek(FileHandle::fromCurrent, 2), S_OK);
    ASSERT_EQ(file.write("ab", 2, &n), S_OK);
    EXPECT_EQ(n, 2u);
    ASSERT_EQ(file.readAt(3, buffer, 4, &n), S_OK);
    EXPECT_EQ(std::string(buffer, n), "3ab6");
    ASSERT_EQ(file.readAt(8, buffer, 8, &n), S_OK);
    EXPECT_EQ(std::string(buffer, n), "89");
    ASSERT_EQ(file.readAt(10, buffer, 8, &n), S_OK);
    EXPECT_EQ(n, 0u);  // at or past the end: nothing, and no failure
    ASSERT_EQ(file.readAt(1000, buffer, 8, &n), S_OK);
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(file.flush());
    int64_t size = 0;
    EXPECT_EQ(file.getSize(&size), S_OK);
    EXPECT_EQ(size, 10);
    EXPECT_EQ(file.close(), S_OK);
    EXPECT_FALSE(file.isOpen());
}

}  // namespace quor
