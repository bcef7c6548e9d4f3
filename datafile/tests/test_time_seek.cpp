#include <gtest/gtest.h>

#include "DataFile.h"
#include "TestFiles.h"
#include "TimeSeek.h"

namespace quor {

namespace {

// An asynchronous file whose sample k has the time 10 k and the value k.
class TimeSeek : public ::testing::Test {
protected:
    void create(int64_t count)
    {
        Bytes values;
        std::vector<int64_t> stamps;
        for (int64_t k = 0; k < count; ++k) {
            values.put<int64_t>(k);
            stamps.push_back(10 * k);
        }
        path = dir.path("a.quorData");
        ASSERT_TRUE(writeNative(path, nativeHeader(formatLong, 8, 100.0, typeAsynchronous), values));
        ASSERT_TRUE(writeTimeIndex(dir.path("a.quorIndex"), stamps));
        ASSERT_EQ(file.open(path.c_str(), 1), S_OK);
    }

    // Appends samples to both files, as a running recording does.
    void grow(int64_t from, int64_t count)
    {
        Bytes values;
        Bytes stamps;
        for (int64_t k = from; k < from + count; ++k) {
            values.put<int64_t>(k);
            stamps.put<int64_t>(10 * k);
        }
        ASSERT_TRUE(writeAt(path, 1024 + 8 * from, values.data().data(), values.data().size()));
        ASSERT_TRUE(writeAt(dir.path("a.quorIndex"), 1024 + 8 * from, stamps.data().data(),
                            stamps.data().size()));
    }

    // The sample number the seek finds, or -1.
    int64_t seek(int64_t time)
    {
        int64_t dataPos = 0;
        int64_t indexPos = 0;
        if (FAILED(file.gotoTime(time, &dataPos, &indexPos)))
            return -1;
        EXPECT_EQ((dataPos - 1024) / 8, (indexPos - 1024) / 8);
        return (indexPos - 1024) / 8;
    }

    TempDir dir;
    std::string path;
    DataFile file;
};

}  // namespace

TEST_F(TimeSeek, FindsTheLastSampleAtOrBeforeTheTime)
{
    create(100);
    EXPECT_EQ(seek(15), 1);
    EXPECT_EQ(seek(10), 1);
    EXPECT_EQ(seek(0), 0);
    EXPECT_EQ(seek(-1), -1);
    EXPECT_EQ(seek(989), 98);
}

TEST_F(TimeSeek, NewestSampleHasNoBracketingPair)
{
    create(100);
    EXPECT_EQ(seek(990), -1);
    EXPECT_EQ(seek(5000), -1);
}

TEST_F(TimeSeek, SeeksInsideTheWindowAreAnsweredFromMemory)
{
    create(20000);
    EXPECT_EQ(seek(50000), 5000);
    EXPECT_FALSE(file.lastSeekStats().fromCache);
    EXPECT_EQ(seek(50500), 5050);
    EXPECT_TRUE(file.lastSeekStats().fromCache);
    EXPECT_EQ(seek(49990), 4999);  // backward, searched from the window's start
    EXPECT_TRUE(file.lastSeekStats().fromCache);
    EXPECT_EQ(seek(150000), 15000);  // outside the window
    EXPECT_FALSE(file.lastSeekStats().fromCache);
}

TEST_F(TimeSeek, TimeEqualToTheWindowsLastTimeGoesToDisk)
{
    create(20000);
    ASSERT_EQ(seek(50000), 5000);
    // The window holds 4096 times from sample 4950 on; its last is sample 9045.
    const int64_t lastInWindow = 10 * (4950 + 4095);
    EXPECT_EQ(seek(lastInWindow), 9045);
    EXPECT_FALSE(file.lastSeekStats().fromCache);
}

// An unreadable point's time is whatever was left in it; trusting it would
// start the scan at the wrong place.
TEST(JumpList, PointsWithoutATimeAreNeverUsed)
{
    JumpList list;
    list.add({0, 1024, true});
    list.add({10, 2048, false});
    list.add({20, 4096, true});
    list.add({30, 8192, false});
    int64_t position = -1;
    EXPECT_TRUE(list.bracket(12, &position));
    EXPECT_EQ(position, 1024);
    EXPECT_FALSE(list.bracket(25, &position));  // no readable point after 20
}

TEST_F(TimeSeek, JumpListSpreadsPointsSoTheScanStaysShort)
{
    const int64_t count = 1000000;
    create(count);
    EXPECT_EQ(seek(10 * 777777 + 3), 777777);
    const SeekStats first = file.lastSeekStats();
    EXPECT_GE(first.jumpPointsAdded, 1000);
    EXPECT_LE(first.jumpPointsAdded, 1026);
    // Later seeks read a few thousand time stamps at most.
    for (int64_t k : {12345LL, 999000LL, 500000LL, 3LL}) {
        EXPECT_EQ(seek(10 * k), k);
        EXPECT_EQ(file.lastSeekStats().jumpPointsAdded, 0);
        EXPECT_LE(file.lastSeekStats().timesScanned, 2000) << k;
    }
}

TEST_F(TimeSeek, GrowingIndexExtendsTheJumpListOnlyAfterEnoughGrowth)
{
    create(10000);
    ASSERT_EQ(seek(500), 50);
    EXPECT_EQ(seek(10 * 10005), -1);  // not recorded yet
    grow(10000, 1000);  // 8000 bytes: not enough for a new build, so still out of reach
    EXPECT_EQ(seek(10 * 10005), -1);
    EXPECT_EQ(file.lastSeekStats().jumpPointsAdded, 0);
    grow(11000, 1001);  // 8008 bytes since the last seek from disk
    EXPECT_EQ(seek(10 * 11500), 11500);
    EXPECT_GE(file.lastSeekStats().jumpPointsAdded, 2);
}

TEST_F(TimeSeek, AsynchronousReadReturnsValuesWithTheirTimes)
{
    create(1000);
    std::vector<int64_t> values(500);
    std::vector<int64_t> times(500);
    int32_t n = 0;
    ASSERT_EQ(file.readSamples(1234, 500, values.data(), &n, times.data()), S_OK);
    ASSERT_EQ(n, 500);
    EXPECT_EQ(values[0], 123);
    EXPECT_EQ(times[0], 1230);
    EXPECT_EQ(values[499], 622);
    EXPECT_EQ(times[499], 6220);
    // Near the end the page is short.
    ASSERT_EQ(file.readSamples(9950, 500, values.data(), &n, times.data()), S_OK);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(times[4], 9990);
    EXPECT_EQ(file.readSamples(99999, 10, values.data(), &n, times.data()), E_FAIL);
    EXPECT_EQ(n, 0);
}

TEST_F(TimeSeek, MissingOrShortIndexFailsTheOpen)
{
    Bytes values;
    values.put<int64_t>(1);
    path = dir.path("b.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatLong, 8, 1.0, typeAsynchronous), values));
    EXPECT_EQ(file.open(path.c_str(), 1), E_FAIL);
    ASSERT_TRUE(writeFile(dir.path("b.quorIndex"), std::string(1000, 'i')));
    EXPECT_EQ(file.open(path.c_str(), 1), E_FAIL);
    file.close();
}

TEST_F(TimeSeek, SamplesWithoutTheirTimeAreNotReturned)
{
    create(100);
    Bytes extra;
    for (int64_t k = 100; k < 110; ++k)
        extra.put<int64_t>(k);
    ASSERT_TRUE(writeAt(path, 1024 + 8 * 100, extra.data().data(), extra.data().size()));
    std::vector<int64_t> values(20);
    std::vector<int64_t> times(20);
    int32_t n = 0;
    ASSERT_EQ(file.readSamples(950, 20, values.data(), &n, times.data()), S_OK);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(times[4], 990);
}

}  // namespace quor
