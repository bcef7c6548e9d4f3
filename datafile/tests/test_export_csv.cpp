// The CSV export writer on cases the sample set does not reach: rates
// without a period, odd Data Sizes, other Data Types, the goto time text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CsvExport.h"
#include "ExportRows.h"
#include "GotoTime.h"
#include "TestFiles.h"
#include "Text.h"
#include "TimeText.h"

namespace quor {

namespace {

DataFileHeader makeHeader(double rate, int32_t format, int32_t size, int32_t type)
{
    DataFileHeader h = nativeHeader(format, size, rate, type);
    h.startTime = 3000000000;
    h.endTime = 5000000000;
    return h;
}

std::string exportOf(const DataFileHeader& h, int64_t fileSize, const Segment* segments = nullptr,
                     int32_t segmentCount = 0)
{
    ExportPage page;
    page.header = &h;
    page.fileSize = fileSize;
    page.segments = segments;
    page.segmentCount = segmentCount;
    page.currentTime = h.startTime;
    DataFile notOpen;
    BufferExportSink sink;
    EXPECT_EQ(writeCsvExport(page, notOpen, sink), S_OK);
    return sink.bytes();
}

// The export of the page at the start of the file, or at the page a typed
// Goto time gives.
std::string exportOfFile(const std::string& path, const char* gotoText = nullptr)
{
    DataFile file;
    EXPECT_EQ(file.open(path.c_str(), FileHandle::modeRead), S_OK);
    DataFileHeader h;
    std::memset(&h, 0, sizeof h);
    file.getHeader(&h);
    ExportPage page;
    page.header = &h;
    page.fileSize = file.getFileSize();
    page.segments = file.getSegments(&page.segmentCount);
    page.currentTime = gotoText ? gotoPageStart(parseGotoTime(gotoText), h.dataType, h.sampleRate) : h.startTime;
    BufferExportSink sink;
    EXPECT_EQ(writeCsvExport(page, file, sink), S_OK);
    return sink.bytes();
}

std::string dataLines(const std::string& text)
{
    const std::string heading = "--Begin Data--\r\n";
    return text.substr(text.find(heading) + heading.size());
}

// A periodic file read as one run counts its row times from the page's own
// start, one period apart, even where that start is off the sample grid.
TEST(ExportCsv, RowsOfASingleRunCountFromTheTimeOfThePage)
{
    TempDir dir;
    const std::string path = dir.path("offgrid.quorData");
    ASSERT_TRUE(writeOffGridInts(path));
    const std::string offGrid = exportOfFile(path);
    EXPECT_NE(offGrid.find("Start Time,-2500000000,-2,000:00:00:-2.-500\r\n"), std::string::npos) << offGrid;
    EXPECT_EQ(dataLines(offGrid),
              "000:00:00:-2.-500,-2500000000,10\r\n"
              "000:00:00:-1.-500,-1500000000,11\r\n"
              "000:00:00:00.-500,-500000000,12\r\n"
              "000:00:00:00.500,500000000,13\r\n");

    // Goto leaves a negative time off the grid; the page starts right there.
    const DataFileHeader h = nativeHeader(formatInt, 4, 1.0);
    ASSERT_TRUE(writeNative(path, h, Bytes().put<int32_t>(20).put<int32_t>(21)));
    EXPECT_EQ(dataLines(exportOfFile(path, "-5")),
              "000:00:00:00.000,-5,20\r\n"
              "000:00:00:00.999,999999995,21\r\n");

    // A text index with one segment changes nothing: still one run.
    ASSERT_TRUE(writeSegmentIndex(dir.path("offgrid.quorIndex"), "0 5000000000 1024\n"));
    EXPECT_EQ(dataLines(exportOfFile(path, "-5")),
              "000:00:00:00.000,-5,20\r\n"
              "000:00:00:00.999,999999995,21\r\n");
}

// A line feed inside an ascii value ends up as CR LF like every line end; a
// carriage return of its own is left as it is.
TEST(ExportCsv, LineFeedInsideAnAsciiValueIsWrittenAsCrLf)
{
    TempDir dir;
    const std::string path = dir.path("text.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatAscii, 6, 1.0), Bytes().putRaw("ab\ncd\n\r\n\0\0\0\0", 12)));
    EXPECT_EQ(dataLines(exportOfFile(path)),
              "000:00:00:00.000,0,ab\r\ncd\r\n\r\n"
              "000:00:00:01.000,1000000000,\r\r\n\r\n");
}

TEST(ExportCsv, UnreadablePageWritesHeaderAndNoDataLineWithCrLf)
{
    DataFileHeader h = makeHeader(10.0, formatInt, 4, typePeriodic);
    EXPECT_EQ(exportOf(h, 1064),
              "Version,QuorDataFileVersion1.0\r\n"
              "Tag Id,42\r\n"
              "Sample Rate,10.000000\r\n"
              "Start Time,3000000000,30,000:00:00:03.000\r\n"
              "End Time,5000000000,50,000:00:00:05.000\r\n"
              "Data Format,0,int\r\n"
              "Data Size(bytes),4\r\n"
              "Data Type,0,Periodic\r\n"
              "Byte Order,1,Little Endian\r\n"
              "File Size(bytes),1064\r\n"
              "Total Data Elements,266\r\n"
              "\r\n\r\n--Begin Data--\r\n"
              "\r\n\r\n**No Data at this time,000:00:00:03.000\r\n");
}

// A rate above 10^9 per second gives no period: index figures are 0, not a
// division fault; a Data Size of 0 gives no element count.
TEST(ExportCsv, NoPeriodAndNoDataSizeYieldZero)
{
    DataFileHeader h = makeHeader(2e9, 99, 0, 5);
    Segment segment;
    segment.startIndex = 4;
    segment.endIndex = 9;
    std::string text = exportOf(h, 5000000000LL, &segment, 1);
    EXPECT_NE(text.find("Start Time,3000000000,0,"), std::string::npos);
    EXPECT_NE(text.find("End Time,5000000000,0,"), std::string::npos);
    EXPECT_NE(text.find("Data Format,99,none\r\n"), std::string::npos);
    EXPECT_NE(text.find("Data Type,5,Unknown\r\n"), std::string::npos);
    EXPECT_NE(text.find("File Size(bytes),5000000000\r\nTotal Data Elements,0\r\n"), std::string::npos);
    EXPECT_EQ(text.find("MultiPeriodic"), std::string::npos);  // only periodic files have segments
}

TEST(ExportCsv, SegmentBlockShowsTimesOfTheSegmentIndices)
{
    DataFileHeader h = makeHeader(1.0, formatFloat, 4, typePeriodic);
    Segment segments[2];
    segments[0].startIndex = 0;
    segments[0].endIndex = 9;
    segments[1].startIndex = 20;
    segments[1].endIndex = 29;
    std::string text = exportOf(h, 1104, segments, 2);
    EXPECT_NE(text.find("--MultiPeriodic Info--\r\nStart Index,End Index,Byte Offset\r\n"
                        "0,9000000000,000:00:00:00.000,000:00:00:09.000\r\n"
                        "20000000000,29000000000,000:00:00:20.000,000:00:00:29.000\r\n\r\n\r\n--Begin Data--"),
              std::string::npos);
}

// Segment times far outside the range of nanoseconds are held at the int64
// limits instead of overflowing, as in the header grid.
TEST(ExportCsv, SegmentTimesBeyondTheRangeAreHeldAtItsLimits)
{
    DataFileHeader h = makeHeader(1.0, formatFloat, 4, typePeriodic);
    Segment segment;
    segment.startIndex = -4000000000000000000LL;
    segment.endIndex = 4000000000000000000LL;
    std::string text = exportOf(h, 1104, &segment, 1);
    EXPECT_NE(text.find("Start Index,End Index,Byte Offset\r\n-9223372036854775808,9223372036854775807,"),
              std::string::npos)
        << text;
}

// A Version that fills its 64 bytes has no NUL: it is cut there.
TEST(ExportCsv, VersionWithoutTerminatorStopsAtItsField)
{
    DataFileHeader h = makeHeader(10.0, formatInt, 4, typePeriodic);
    std::memset(h.version, 'V', sizeof h.version);
    std::string text = exportOf(h, 0);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "Version," + std::string(64, 'V'));
}

// A Data Size far beyond the file's length must not size the page: the page
// holds what the file holds (nothing here), and the export is the same on
// every platform instead of an allocation failure on some.
TEST(ExportCsv, HugeDataSizeInAShortFileExportsAnEmptyPage)
{
    TempDir dir;
    const std::string path = dir.path("huge.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatBlob, 0x7fffffff, 1.0), Bytes().putText("few")));
    const std::string plain = exportOfFile(path);
    EXPECT_NE(plain.find("Total Data Elements,0\r\n\r\n\r\n--Begin Data--\r\n"), std::string::npos) << plain;
    EXPECT_EQ(plain.substr(plain.size() - 16), "--Begin Data--\r\n");

    ASSERT_TRUE(writeSegmentIndex(dir.path("huge.quorIndex"), "0 1000000000 1024\n3000000000 4000000000 1024\n"));
    const std::string multi = exportOfFile(path);
    EXPECT_NE(multi.find("--MultiPeriodic Info--"), std::string::npos);
    EXPECT_EQ(multi.substr(multi.rfind("--Begin Data--")), "--Begin Data--\r\n") << multi;
}

// Takes the first bytes it is given, then refuses every write.
class FullSink final : public ExportSink {
public:
    explicit FullSink(size_t room) : room_(room) {}
    bool write(const char*, size_t count) override
    {
        ++writes;
        if (count > room_)
            return false;
        room_ -= count;
        return true;
    }
    int writes = 0;

private:
    size_t room_;
};

TEST(ExportCsv, AWriteTheSinkRefusesFailsTheExportAndEndsIt)
{
    TempDir dir;
    const std::string path = dir.path("ten.quorData");
    Bytes values;
    for (int32_t i = 0; i < 10; ++i)
        values.put<int32_t>(i);
    ASSERT_TRUE(writeNative(path, nativeHeader(formatInt, 4, 1.0), values));
    DataFile file;
    ASSERT_EQ(file.open(path.c_str(), FileHandle::modeRead), S_OK);
    DataFileHeader h;
    file.getHeader(&h);
    ExportPage page;
    page.header = &h;
    page.fileSize = file.getFileSize();
    FullSink full(100);
    EXPECT_EQ(writeCsvExport(page, file, full), E_FAIL);
    EXPECT_LE(full.writes, 30);  // the refused write was the last one tried
    FullSink roomy(100000);
    EXPECT_EQ(writeCsvExport(page, file, roomy), S_OK);
    EXPECT_GT(roomy.writes, 15);  // the header lines one by one, the rows in one block
    FullSink none(0);
    EXPECT_EQ(writeExportHeader(page, none), E_FAIL);
    EXPECT_EQ(none.writes, 1);
}

#ifndef _WIN32
// A full disk: the stream takes the bytes into its buffer and refuses them
// only when it flushes, so the export must look at the flush as well.
TEST(ExportCsv, AFullDeviceFailsTheExport)
{
    DataFileHeader h = makeHeader(10.0, formatInt, 4, typePeriodic);
    ExportPage page;
    page.header = &h;
    DataFile notOpen;
    FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_TRUE(full);
    FileExportSink sink(full);
    EXPECT_EQ(writeCsvExport(page, notOpen, sink), E_FAIL);
    std::fclose(full);
}
#endif

TEST(GotoTime, TextForms)
{
    EXPECT_EQ(parseGotoTime("001:01:01:01.5"), 90061500000000LL);
    EXPECT_EQ(parseGotoTime("1.55"), 1550000000LL);
    EXPECT_EQ(parseGotoTime("1234"), 1234);
    EXPECT_EQ(parseGotoTime("abc"), 0);
    EXPECT_EQ(parseGotoTime("1e300."), INT64_MAX);  // saturates instead of overflowing
    EXPECT_EQ(gotoPageStart(1550000000LL, typePeriodic, 10.0), 1500000000LL);
    EXPECT_EQ(gotoPageStart(1550000000LL, typeAsynchronous, 10.0), 1550000000LL);
}

}  // namespace

// The rows' time text is composed without printf; it must be formatTime's.
TEST(ExportCsv, RowTimeTextIsFormatTimesForEveryKindOfTime)
{
    std::vector<int64_t> times = {0, 1, -1, 999999999, -999999999, 90061123456789LL, -90061123456789LL,
                                  INT64_MAX, INT64_MIN, 86400000000000LL * 1000, -2500000000LL};
    uint64_t x = 88172645463325252ULL;
    for (int k = 0; k < 20000; ++k) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        times.push_back(static_cast<int64_t>(x) >> (k % 40));
    }
    for (int64_t t : times) {
        Text expected;
        formatTime(t, 3, true, expected);
        char text[64];
        const char* end = putExportTime(text, t);
        ASSERT_EQ(std::string(text, static_cast<size_t>(end - text)), expected.str()) << t;
    }
}

}  // namespace quor
