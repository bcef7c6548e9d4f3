// The index validation report on hand-made time index files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "IndexReport.h"
#include "TestFiles.h"

namespace quor {

namespace {

class IndexReportTest : public ::testing::Test {
protected:
    TempDir dir;
    const std::string dataPath = dir.path("report_test.quorData");
    const std::string indexPath = dir.path("report_test.quorIndex");

    void writeIndex(const std::vector<int64_t>& times, size_t extraBytes = 0)
    {
        std::string bytes(1024, '\0');
        bytes.replace(0, 19, "QuorIndexVersion1.0");
        for (int64_t t : times)
            bytes.append(reinterpret_cast<const char*>(&t), 8);
        bytes.append(extraBytes, '\x7f');
        ASSERT_TRUE(writeFile(indexPath, bytes));
    }

    IndexReportStatus build(int64_t start, int64_t end, int32_t dataType = 1)
    {
        IndexReportInput input = {dataPath, start, end, dataType};
        return buildIndexReport(input, &report);
    }

    Text report;
};

const char kVersion[] = "1) Index Header Version: QuorIndexVersion1.0\n\n";
const char kTimesMatch[] = "2) Verify Index File Start/End Times Match the Data File Header: YES !\n\n";
const char kIncreasing[] = "3) Verify that Time Values are Always Increasing in Value: YES !\n\n";

TEST_F(IndexReportTest, IncreasingTimesMatchingTheHeaderPassBothChecks)
{
    writeIndex({10, 20, 30});
    ASSERT_EQ(build(10, 30), IndexReportStatus::ok);
    EXPECT_EQ(report.str(), std::string(kVersion) + kTimesMatch + kIncreasing);
}

TEST_F(IndexReportTest, MismatchedEndTimesShowBothPairs)
{
    writeIndex({10, 20, 30});
    ASSERT_EQ(build(10, 31), IndexReportStatus::ok);
    EXPECT_NE(report.str().find("Header: NO !\n\tData file: (10 - 31)\n\tIndex File: (10 - 30)\n\n"),
              std::string::npos);
}

TEST_F(IndexReportTest, EqualNeighboursFailWithTheSecondPosition)
{
    writeIndex({10, 20, 20, 30});
    ASSERT_EQ(build(10, 30), IndexReportStatus::ok);
    EXPECT_NE(report.str().find("Value: NO !\n\tCurrent/Previous Time Values: (20 - 20)\n\tPosition: 3"),
              std::string::npos);
    EXPECT_EQ(report.str().back(), '3');  // the failing item ends without a blank line
}

// -1 ns is an ordinary time: the entry after it is compared like any other.
TEST_F(IndexReportTest, MinusOneIsComparedLikeAnyTime)
{
    writeIndex({-1, -5});
    ASSERT_EQ(build(-1, -5), IndexReportStatus::ok);
    EXPECT_NE(report.str().find("(-5 - -1)\n\tPosition: 2"), std::string::npos);
}

// Without entries there is neither a first nor a last time; header bytes
// are never read as one.
TEST_F(IndexReportTest, HeaderOnlyIndexHasNoTimes)
{
    writeIndex({});
    ASSERT_EQ(build(10, 30), IndexReportStatus::ok);
    EXPECT_NE(report.str().find("Index File: (-1 - -1)"), std::string::npos);
    EXPECT_NE(report.str().find(kIncreasing), std::string::npos);
}

TEST_F(IndexReportTest, PartialTrailingEntryIsNotATime)
{
    writeIndex({10, 20}, 5);
    ASSERT_EQ(build(10, 20), IndexReportStatus::ok);
    EXPECT_EQ(report.str(), std::string(kVersion) + kTimesMatch + kIncreasing);
}

// Long indexes are read in blocks; a fault far into the file is still found.
TEST_F(IndexReportTest, FaultBeyondTheFirstBlockIsFound)
{
    std::vector<int64_t> times(5000);
    for (size_t i = 0; i < times.size(); ++i)
        times[i] = static_cast<int64_t>(i) * 10;
    times[4321] = times[4320];
    writeIndex(times);
    ASSERT_EQ(build(0, 49990), IndexReportStatus::ok);
    EXPECT_NE(report.str().find("(43200 - 43200)\n\tPosition: 4322"), std::string::npos);
}

TEST_F(IndexReportTest, StatusesWithoutReport)
{
    EXPECT_EQ(build(0, 0, 0), IndexReportStatus::periodic);
    EXPECT_STREQ(indexReportMessage(IndexReportStatus::periodic), "Periodic files do not have an index file");
    IndexReportInput unnamed = {"", 0, 0, 1};
    EXPECT_EQ(buildIndexReport(unnamed, &report), IndexReportStatus::noFileNamed);
    EXPECT_STREQ(indexReportMessage(IndexReportStatus::noFileNamed), "Please Open an QUOR Data File");
    EXPECT_EQ(build(0, 0), IndexReportStatus::indexUnreadable);  // no index file written
    ASSERT_TRUE(writeFile(indexPath, std::string("short")));  // shorter than its header
    EXPECT_EQ(build(0, 0), IndexReportStatus::indexUnreadable);
    EXPECT_TRUE(report.empty());
}

}  // namespace

}  // namespace quor
