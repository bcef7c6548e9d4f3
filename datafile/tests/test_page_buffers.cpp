#include <gtest/gtest.h>

#include "FileHandle.h"
#include "PageBuffers.h"
#include "TestFiles.h"

namespace quor {

// A header saved with a larger Data Size makes the file read with the new
// stride while its reader's buffers were made for the old one: the read must
// shrink to what the buffers hold instead of running past them.
TEST(PageBuffers, ReadFitsAfterASavedHeaderWidensTheValues)
{
    TempDir dir;
    const std::string path = dir.path("widened.quorData");
    const DataFileHeader opened = nativeHeader(formatInt, 4, 1.0);
    Bytes values;
    for (int32_t i = 0; i < 100; ++i)
        values.put<int32_t>(i);
    ASSERT_TRUE(writeNative(path, opened, values));
    DataFile file;
    ASSERT_EQ(file.open(path.c_str(), FileHandle::modeReadWrite), S_OK);
    PageBuffers buffers;
    ASSERT_EQ(buffers.allocate(40, opened.dataSize), S_OK);

    DataFileHeader widened = opened;
    widened.dataSize = 16;
    ASSERT_EQ(file.saveHeader(widened), S_OK);
    int32_t count = -1;
    ASSERT_EQ(buffers.read(file, opened.startTime, 40, &count), S_OK);
    EXPECT_EQ(count, 40 * 4 / 16);

    EXPECT_EQ(buffers.read(file, opened.startTime, 1000, &count), S_OK);
    EXPECT_LE(count, 40 * 4 / 16);
}

TEST(PageBuffers, PagesBeyondTwoGibibytesAreRefused)
{
    PageBuffers buffers;
    EXPECT_EQ(buffers.allocate(500, 0x7fffffff), E_OUTOFMEMORY);
    EXPECT_FALSE(buffers.allocated());
    EXPECT_EQ(buffers.allocate(0, 8), S_OK);
    EXPECT_TRUE(buffers.allocated());
}

}  // namespace quor
