#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DataPager.h"
#include "SampleDir.h"
#include "TestFiles.h"

namespace quor {

namespace {

struct Row {
    std::string text;
    bool markEdited;
};

class RowList final : public RowSink {
public:
    void appendRow(const Text& text, bool markEdited) override { rows.push_back({text.str(), markEdited}); }
    std::vector<Row> rows;
};

class PagerTest : public ::testing::Test {
protected:
    void open(const char* name) { openPath(samplePath(name)); }
    void openPath(const std::string& path)
    {
        ASSERT_EQ(file.open(path.c_str(), 1), S_OK) << path;
        ASSERT_EQ(file.getHeader(&header), S_OK);
        int32_t count = 0;
        const Segment* segments = file.getSegments(&count);
        ASSERT_EQ(pager.open(header, segments, count), S_OK);
    }
    std::vector<Row> page()
    {
        RowList list;
        EXPECT_TRUE(pager.fillPage(file, list));
        return list.rows;
    }
    static size_t indexOf(const std::vector<Row>& rows, const std::string& text)
    {
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].text == text)
                return i;
        return rows.size();
    }

    DataFile file;
    DataFileHeader header{};
    DataPager pager;
};

}  // namespace

TEST_F(PagerTest, PeriodicForwardAndBackRoundTrip)
{
    open("periodic_int.quorData");
    auto first = page();
    ASSERT_EQ(first.size(), 500u);
    EXPECT_EQ(first[0].text.rfind("045:12:30:00.000|3933000000000000|", 0), 0u);
    pager.pageForward(false);
    EXPECT_EQ(pager.currentTime(), 3933010000000000LL);  // 500 samples of 20 ms on
    pager.pageBack();
    EXPECT_EQ(pager.currentTime(), 3933000000000000LL);
    EXPECT_EQ(page()[499].text, first[499].text);
}

TEST_F(PagerTest, BeforeTheStartGivesTheNoDataRow)
{
    open("periodic_int.quorData");
    pager.pageBack();
    auto rows = page();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "** No Data at this time||");
    EXPECT_TRUE(rows[0].markEdited);
}

TEST_F(PagerTest, BySegmentStopsAtTheLastSegmentAndBackAlwaysStepsSegments)
{
    open("multiperiodic_float.quorData");
    int32_t count = 0;
    file.getSegments(&count);
    ASSERT_EQ(count, 3);
    // The sample's runs start at 045:12:30:00, :03 and :06.
    const int64_t starts[] = {3933000000000000LL, 3933003000000000LL, 3933006000000000LL};
    for (int press = 1; press <= count + 1; ++press) {
        pager.pageForward(true);
        const int32_t expected = press < count ? press : count - 1;
        EXPECT_EQ(pager.currentTime(), starts[expected]) << press;
    }
    pager.pageBack();
    EXPECT_EQ(pager.currentTime(), starts[1]);
    pager.pageForward(false);
    EXPECT_EQ(pager.currentTime(), starts[1] + 5000000000LL);  // 500 samples of 10 ms
}

TEST_F(PagerTest, SegmentMarkersSurroundTheirSamples)
{
    open("multiperiodic_float.quorData");
    auto rows = page();
    ASSERT_GT(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "-Start Segment-||");
    EXPECT_FALSE(rows[0].markEdited);
    const std::string lastOfFirst = "3933001990000000";  // 045:12:30:01.990
    size_t end = indexOf(rows, "-End Segment-||");
    ASSERT_LT(end, rows.size());
    EXPECT_NE(rows[end - 1].text.find("|" + lastOfFirst + "|"), std::string::npos);
}

TEST_F(PagerTest, AsynchronousPagesShareTheirEdgeSampleAndStopAtTheEnd)
{
    open("async_double.quorData");
    EXPECT_EQ(pager.previousPageStart(), header.startTime);
    ASSERT_EQ(pager.setPageSize(100), S_OK);
    auto first = page();
    ASSERT_EQ(first.size(), 100u);
    pager.pageForward(false);
    auto second = page();
    EXPECT_EQ(second[0].text, first[99].text);
    pager.pageBack();
    EXPECT_EQ(pager.currentTime(), header.startTime);

    // Walk to the short last page: ">>" there stays where it is.
    int64_t before = -1;
    for (int i = 0; i < 50 && before != pager.currentTime(); ++i) {
        before = pager.currentTime();
        page();
        pager.pageForward(false);
    }
    EXPECT_EQ(before, pager.currentTime());
    auto last = page();
    EXPECT_FALSE(last.empty());
    EXPECT_LT(last.size(), 100u);
    // Staying does not make the last page its own predecessor.
    pager.pageBack();
    auto previous = page();
    ASSERT_EQ(previous.size(), 100u);
    EXPECT_EQ(previous[99].text, last[0].text);
}

TEST_F(PagerTest, PageSizeBelowOneOrTooLargeIsNotTaken)
{
    open("periodic_int.quorData");
    EXPECT_EQ(pager.setPageSize(0), S_FALSE);
    EXPECT_EQ(pager.setPageSize(-5), S_FALSE);
    EXPECT_EQ(pager.pageSize(), 500);
    EXPECT_EQ(pager.setPageSize(0x7fffffff), E_OUTOFMEMORY);
    EXPECT_EQ(pager.pageSize(), 500);
    EXPECT_EQ(page().size(), 500u);
    ASSERT_EQ(pager.setPageSize(10), S_OK);
    EXPECT_EQ(page().size(), 10u);
}

TEST_F(PagerTest, HugeDataSizeFailsTheAllocationInsteadOfCrashing)
{
    DataFileHeader huge{};
    huge.dataSize = 0x7fffffff;
    huge.sampleRate = 1;
    DataPager fresh;
    EXPECT_EQ(fresh.open(huge, nullptr, 0), E_OUTOFMEMORY);
    RowList rows;
    EXPECT_FALSE(fresh.fillPage(file, rows));
}

TEST_F(PagerTest, GotoAlignsPeriodicTimesToTheSampleGrid)
{
    open("periodic_int.quorData");
    pager.goTo(header.startTime + 25000001);
    EXPECT_EQ(pager.currentTime(), header.startTime + 20000000);
}

// A periodic file read as one run: rows count from the page's own start,
// also where that start is off the sample grid or before 0.
TEST_F(PagerTest, RowsOfASingleRunCountFromTheTimeOfThePage)
{
    TempDir dir;
    const std::string path = dir.path("offgrid.quorData");
    ASSERT_TRUE(writeOffGridInts(path));
    openPath(path);
    auto rows = page();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].text, "000:00:00:-2.-500|-2500000000|10");
    EXPECT_EQ(rows[3].text, "000:00:00:00.500|500000000|13");

    pager.goTo(-5);
    EXPECT_EQ(pager.currentTime(), -5);
    rows = page();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "000:00:00:00.000|-5|12");
    EXPECT_EQ(rows[1].text, "000:00:00:00.999|999999995|13");
    file.close();
}

// The pager keeps its own copy of the segment ranges: the data file's table
// is cleared by its next open (a failed one too), and "<<" and ">>" must not
// read it afterwards.
TEST_F(PagerTest, SegmentPagingDoesNotReadTheDataFilesTableAgain)
{
    std::vector<Segment> table(3);
    const int64_t starts[] = {10, 40, 70};
    for (size_t s = 0; s < table.size(); ++s) {
        table[s].startIndex = starts[s];
        table[s].endIndex = starts[s] + 9;
    }
    ASSERT_EQ(pager.open(nativeHeader(formatInt, 4, 1.0), table.data(), 3), S_OK);
    for (Segment& segment : table)
        segment.startIndex = 999;  // what a later open may leave there
    pager.pageForward(true);
    EXPECT_EQ(pager.currentTime(), 40000000000LL);
    pager.pageForward(true);
    pager.pageForward(true);
    EXPECT_EQ(pager.currentTime(), 70000000000LL);
    pager.pageBack();
    pager.pageBack();
    EXPECT_EQ(pager.currentTime(), 10000000000LL);
}

}  // namespace quor
