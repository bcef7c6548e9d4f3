#include <gtest/gtest.h>

#include "DataFile.h"
#include "TestFiles.h"

namespace quor {

namespace {

const int64_t kSecond = 1000000000LL;

// Sample Rate 1: period 1 s. Segments [0, 9] and [20, 29]; value = index.
class MultiPeriodic : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bytes values;
        for (int32_t i = 0; i < 10; ++i)
            values.put<int32_t>(i);
        for (int32_t i = 20; i < 30; ++i)
            values.put<int32_t>(i);
        path = dir.path("m.quorData");
        ASSERT_TRUE(writeNative(path, nativeHeader(formatInt, 4, 1.0), values));
    }

    void open(const std::string& lines)
    {
        ASSERT_TRUE(writeSegmentIndex(dir.path("m.quorIndex"), lines));
        ASSERT_EQ(file.open(path.c_str(), 1), S_OK);
    }

    void openTwoSegments() { open("0 9000000000 1024\n20000000000 29000000000 1064\n"); }

    HRESULT read(int64_t time, int32_t count)
    {
        values.assign(static_cast<size_t>(count) + 1, -1);
        times.assign(static_cast<size_t>(count) + 1, -1);
        return file.readSamples(time, count, values.data(), &n, times.data());
    }

    TempDir dir;
    std::string path;
    DataFile file;
    std::vector<int32_t> values;
    std::vector<int64_t> times;
    int32_t n = -1;
};

}  // namespace

TEST_F(MultiPeriodic, SegmentTableIsSortedAndSetsTheIndexRange)
{
    open("* comment\n\n 1 2 3\n20000000000 29000000000 1064\n0 9000000000 1024\n");
    int32_t count = 0;
    const Segment* segments = file.getSegments(&count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(segments[0].startIndex, 0);
    EXPECT_EQ(segments[1].startIndex, 20);
    EXPECT_EQ(segments[1].endIndex, 29);
    EXPECT_EQ(segments[1].byteOffset, 1064);
    EXPECT_EQ(file.getStartIndex(), 0);
    EXPECT_EQ(file.getEndIndex(), 29);
}

TEST_F(MultiPeriodic, ReadFillsGapsAndEndsWithTheLastSegmentsEnd)
{
    openTwoSegments();
    ASSERT_EQ(read(0, 30), S_OK);
    ASSERT_EQ(n, 30);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(values[i], i);
    for (int i = 10; i < 20; ++i)
        EXPECT_EQ(values[i], 9) << "gap filler " << i;
    for (int i = 20; i < 30; ++i)
        EXPECT_EQ(values[i], i);
    EXPECT_EQ(values[30], -1);  // nothing written past the count
    EXPECT_EQ(times[29], 29 * kSecond);
}

TEST_F(MultiPeriodic, ReadAroundTheEdgesOfTheTable)
{
    openTwoSegments();
    ASSERT_EQ(read(29 * kSecond, 5), S_OK);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(values[0], 29);

    EXPECT_EQ(read(35 * kSecond, 5), E_FAIL);
    EXPECT_EQ(n, 0);

    // Covering all segments and more on both sides returns all of them.
    ASSERT_EQ(read(-5 * kSecond, 50), S_OK);
    ASSERT_EQ(n, 30);
    EXPECT_EQ(values[0], 0);
    EXPECT_EQ(values[29], 29);
    EXPECT_EQ(times[0], 0);
}

TEST_F(MultiPeriodic, ReadStartingBeforeTheFirstSegmentReportsTrueTimes)
{
    open("5000000000 9000000000 1044\n20000000000 29000000000 1064\n");
    ASSERT_EQ(read(0, 10), S_OK);
    ASSERT_EQ(n, 5);
    EXPECT_EQ(values[0], 5);
    EXPECT_EQ(times[0], 5 * kSecond);
    EXPECT_EQ(times[4], 9 * kSecond);
}

TEST_F(MultiPeriodic, ReadInsideAGapAndAcrossSegments)
{
    openTwoSegments();
    ASSERT_EQ(read(12 * kSecond, 10), S_OK);
    ASSERT_EQ(n, 10);
    EXPECT_EQ(values[0], 9);
    EXPECT_EQ(values[7], 9);
    EXPECT_EQ(values[8], 20);
    EXPECT_EQ(times[8], 20 * kSecond);
}

TEST_F(MultiPeriodic, SegmentBeyondTheDataEndsTheRead)
{
    open("0 9000000000 1024\n20000000000 49000000000 1064\n");
    ASSERT_EQ(read(25 * kSecond, 20), S_OK);
    EXPECT_EQ(n, 5);  // the data file ends at index 29
    EXPECT_EQ(values[4], 29);
}

TEST_F(MultiPeriodic, GapAfterAnUnreadableLastValueFails)
{
    open("0 9000000000 999999\n20000000000 29000000000 1064\n");
    EXPECT_EQ(read(12 * kSecond, 3), E_FAIL);
    EXPECT_EQ(n, 0);
}

TEST_F(MultiPeriodic, SingleSegmentIsAnOrdinaryPeriodicFile)
{
    open("0 9000000000 5555\n");
    int32_t count = 0;
    file.getSegments(&count);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(read(3 * kSecond, 2), S_OK);  // the segment's offset is not used
    ASSERT_EQ(n, 2);
    EXPECT_EQ(values[0], 3);
}

// A rate above 10^9 per second gives a period of 0: segment times could not
// become indices, so the index file is not read at all. Its path is made
// only on the way to reading it, and its segments would move the indices.
TEST_F(MultiPeriodic, NoPeriodLeavesTheIndexFileUnread)
{
    ASSERT_TRUE(writeNative(path, nativeHeader(formatInt, 4, 2e9), Bytes().put<int32_t>(7)));
    openTwoSegments();
    int32_t count = -1;
    EXPECT_EQ(file.getSegments(&count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_STREQ(file.getIndexPath(), "");
    EXPECT_EQ(file.getStartIndex(), 1);
    EXPECT_EQ(file.getEndIndex(), 1);
}

// A recording in progress may have written only part of its last line: a
// line without its newline is not read. CR LF ends a line like LF.
TEST_F(MultiPeriodic, ALastLineWithoutItsNewlineIsIgnored)
{
    open("0 9000000000 1024\r\n20000000000 29000000000 1064\r\n12000000000 1300");
    int32_t count = 0;
    const Segment* segments = file.getSegments(&count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(segments[1].startIndex, 20);
    EXPECT_EQ(file.getEndIndex(), 29);
    ASSERT_EQ(read(28 * kSecond, 5), S_OK);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(values[1], 29);

    file.close();
    open("0 9000000000 1024\n20000000000 29000000000 1064");
    file.getSegments(&count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(file.getEndIndex(), 9);
}

}  // namespace quor
