#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "HeaderRows.h"

namespace quor {

namespace {

DataFileHeader periodicHeader()
{
    DataFileHeader h{};
    std::strcpy(h.version, "QUOR 2.0");
    h.tagId = 7;
    h.dataFormat = formatFloat;
    h.sampleRate = 10.0;
    h.startTime = 1000000000;
    h.endTime = 2000000000;
    h.dataSize = 4;
    h.byteOrder = 1;
    h.dataType = typePeriodic;
    return h;
}

}  // namespace

TEST(HeaderRows, FieldAndGeneralRows)
{
    DataFileHeader h = periodicHeader();
    HeaderFacts facts;
    facts.header = &h;
    facts.fileSize = int64_t(5) << 32;  // sizes above 4 GiB are shown whole
    auto rows = buildHeaderRows(facts);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0].text, "Version|QUOR 2.0");
    EXPECT_EQ(rows[2].text, "Sample Rate|10.000000");
    EXPECT_EQ(rows[3].text, "Start Time|1000000000|10|000:00:00:01.000");
    EXPECT_EQ(rows[4].text.str().substr(0, 10), " End Time|");
    EXPECT_EQ(rows[5].text, "Data Format|2|float");
    EXPECT_EQ(rows[7].text, "Data Type|0|Periodic");
    EXPECT_EQ(rows[8].text, "Byte Order|1|Little Endian");
    EXPECT_EQ(rows[9].text, "--GeneralInfo--");
    EXPECT_EQ(rows[10].text, "File Size(bytes)|21474836480");
    EXPECT_EQ(rows[11].text, "Total Data Elements|5368709120");
    for (const HeaderRow& row : rows)
        EXPECT_FALSE(row.markEdited || row.scrollTo);
}

TEST(HeaderRows, OddHeadersNeverDivideByZero)
{
    DataFileHeader h = periodicHeader();
    h.dataSize = 0;
    h.sampleRate = 0;
    h.dataFormat = 42;
    h.dataType = 9;
    h.byteOrder = 0;
    std::memset(h.version, 'x', sizeof h.version);  // no terminator
    HeaderFacts facts;
    facts.header = &h;
    facts.fileSize = 100;
    auto rows = buildHeaderRows(facts);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0].text.length(), 8 + 64);
    EXPECT_EQ(rows[3].text.field(2, '|'), "0");
    EXPECT_EQ(rows[5].text, "Data Format|42|none");
    EXPECT_EQ(rows[7].text, "Data Type|9|Unknown");
    EXPECT_EQ(rows[8].text, "Byte Order|0|Big Endian");
    EXPECT_EQ(rows[11].text, "Total Data Elements|0");
}

TEST(HeaderRows, SegmentRowsAreFlaggedAndCarryTimes)
{
    DataFileHeader h = periodicHeader();
    Segment segments[2];
    segments[0].startIndex = 10;
    segments[0].endIndex = 19;
    segments[1].startIndex = 40;
    segments[1].endIndex = 49;
    HeaderFacts facts;
    facts.header = &h;
    facts.segments = segments;
    facts.segmentCount = 2;
    auto rows = buildHeaderRows(facts);
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[12].text, "--MultiPeriodic Info--");
    EXPECT_FALSE(rows[12].markEdited);
    EXPECT_EQ(rows[13].text, "Start Index|End Index|Byte Offset");
    EXPECT_TRUE(rows[13].markEdited && rows[13].scrollTo);
    EXPECT_EQ(rows[14].text, "1000000000|1900000000|000:00:00:01.000|000:00:00:01.900");
    EXPECT_TRUE(rows[15].markEdited);
}

TEST(EditedRow, LabelsSetTheirFieldsFromValue1)
{
    DataFileHeader h = periodicHeader();
    EXPECT_TRUE(applyEditedRow("Tag Id|42", h));
    EXPECT_TRUE(applyEditedRow("sample rate|2.5|x", h));
    EXPECT_TRUE(applyEditedRow("Start Time|123|999|001:00:00:09.000", h));
    EXPECT_TRUE(applyEditedRow(" End Time|456", h));
    EXPECT_TRUE(applyEditedRow("Data Size(bytes)|abc", h));
    EXPECT_FALSE(applyEditedRow("Unable to Read Header", h));
    EXPECT_FALSE(applyEditedRow("--GeneralInfo--", h));
    EXPECT_EQ(h.tagId, 42);
    EXPECT_DOUBLE_EQ(h.sampleRate, 2.5);
    EXPECT_EQ(h.startTime, 123);
    EXPECT_EQ(h.endTime, 456);
    EXPECT_EQ(h.dataSize, 0);
}

TEST(EditedRow, VersionIsCutTo63Characters)
{
    DataFileHeader h = periodicHeader();
    std::string row = "Version|" + std::string(100, 'v');
    EXPECT_TRUE(applyEditedRow(row.c_str(), h));
    EXPECT_EQ(std::strlen(h.version), 63u);
}

TEST(Saturating, HoldsAtTheLimits)
{
    const int64_t big = std::numeric_limits<int64_t>::max();
    EXPECT_EQ(saturatingMultiply(big / 2, 3), big);
    EXPECT_EQ(saturatingMultiply(-(big / 2), 3), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(saturatingAdd(big, 1), big);
    EXPECT_EQ(saturatingAdd(-big, -5), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(saturatingMultiply(500, 100000000), 50000000000);
}

}  // namespace quor
