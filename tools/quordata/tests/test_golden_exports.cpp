// The golden exports were written by the tool itself. Here a few of them are
// checked against expectations worked out by hand from the way the sample
// set is made: header lines, segment block and no-data line written out
// literally, sample lines from the samples' own formulas, times as plain
// arithmetic on nanoseconds. Nothing of the export code is used.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace quor {

namespace {

const long long kRecordingStart = 3933000000000000LL;  // 045:12:30:00.000

std::string golden(const char* name)
{
    std::ifstream in(std::string(QUOR_GOLDEN_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every time of these pages lies within the minute after 045:12:30:00.
std::string timeText(long long ns)
{
    const long long sinceStart = ns - kRecordingStart;
    char text[32];
    std::snprintf(text, sizeof text, "045:12:30:%02lld.%03lld", sinceStart / 1000000000LL,
                  sinceStart % 1000000000LL / 1000000LL);
    return text;
}

std::string line(long long ns, const char* valueFormat, double value)
{
    char text[96];
    const int n = std::snprintf(text, sizeof text, "%s,%lld,", timeText(ns).c_str(), ns);
    std::snprintf(text + n, sizeof text - n, valueFormat, value);
    return std::string(text) + "\r\n";
}

const char kDataHeading[] = "\r\n\r\n--Begin Data--\r\n";

// periodic_int: 1000 ints at 50 per second from 045:12:30:00.
const char kPeriodicIntHeader[] =
    "Version,QuorDataFileVersion1.0\r\n"
    "Tag Id,101\r\n"
    "Sample Rate,50.000000\r\n"
    "Start Time,3933000000000000,196650000,045:12:30:00.000\r\n"
    "End Time,3933019980000000,196650999,045:12:30:19.980\r\n"
    "Data Format,0,int\r\n"
    "Data Size(bytes),4\r\n"
    "Data Type,0,Periodic\r\n"
    "Byte Order,1,Little Endian\r\n"
    "File Size(bytes),5024\r\n"
    "Total Data Elements,1256\r\n";

}  // namespace

// periodic_int: 50 samples per second, value k - 100; the page holds 500.
TEST(GoldenExports, PeriodicIntMatchesTheHandWorkedFile)
{
    std::string expected = kPeriodicIntHeader;
    expected += kDataHeading;
    for (int k = 0; k < 500; ++k) {
        const long long ns = kRecordingStart + 20000000LL * k;
        expected += timeText(ns) + "," + std::to_string(ns) + "," + std::to_string(k - 100) + "\r\n";
    }
    EXPECT_EQ(golden("periodic_int.export.csv"), expected);
}

// multiperiodic_float: 100 per second, runs [0, 199], [300, 449] and
// [600, 799] stored back to back, value 20 + 0.25 * (stored % 40). A gap
// repeats the last value of the run before it.
TEST(GoldenExports, MultiPeriodicFloatMatchesTheHandWorkedFile)
{
    std::string expected =
        "Version,QuorDataFileVersion1.0\r\n"
        "Tag Id,110\r\n"
        "Sample Rate,100.000000\r\n"
        "Start Time,3933000000000000,393300000,045:12:30:00.000\r\n"
        "End Time,3933005490000000,393300549,045:12:30:05.490\r\n"
        "Data Format,2,float\r\n"
        "Data Size(bytes),4\r\n"
        "Data Type,0,Periodic\r\n"
        "Byte Order,1,Little Endian\r\n"
        "File Size(bytes),3224\r\n"
        "Total Data Elements,806\r\n"
        "--MultiPeriodic Info--\r\n"
        "Start Index,End Index,Byte Offset\r\n"
        "3933000000000000,3933001990000000,045:12:30:00.000,045:12:30:01.990\r\n"
        "3933003000000000,3933004490000000,045:12:30:03.000,045:12:30:04.490\r\n"
        "3933006000000000,3933007990000000,045:12:30:06.000,045:12:30:07.990\r\n";
    expected += kDataHeading;
    for (int i = 0; i < 500; ++i) {
        int stored = i < 200 ? i : i < 300 ? 199 : i < 450 ? i - 100 : 349;
        expected += line(kRecordingStart + 10000000LL * i, "%f", 20.0 + 0.25 * (stored % 40));
        if (i == 199 || i == 449)
            expected += "-End Segment-\r\n";
    }
    EXPECT_EQ(golden("multiperiodic_float.export.csv"), expected);
}

// async_double: times from 1234567 ns after the start, 5 to 17 ms apart by
// the set's own rule; value 101.325 + 0.125 * (k % 17).
TEST(GoldenExports, AsynchronousDoubleMatchesTheHandWorkedFile)
{
    std::string expected =
        "Version,QuorDataFileVersion1.0\r\n"
        "Tag Id,111\r\n"
        "Sample Rate,100.000000\r\n"
        "Start Time,3933000001234567,393300000,045:12:30:00.001\r\n"
        "End Time,3933010982733098,393301098,045:12:30:10.982\r\n"
        "Data Format,5,double\r\n"
        "Data Size(bytes),8\r\n"
        "Data Type,1,Asynchronous\r\n"
        "Byte Order,1,Little Endian\r\n"
        "File Size(bytes),9024\r\n"
        "Total Data Elements,1128\r\n";
    expected += kDataHeading;
    long long ns = kRecordingStart + 1234567;
    for (int k = 0; k < 500; ++k) {
        expected += line(ns, "%f", 101.325 + 0.125 * (k % 17));
        ns += 5000000 + (k * 7919 % 13) * 1000000LL + (k * 31 % 1000);
    }
    EXPECT_EQ(golden("async_double.export.csv"), expected);
}

// A page a minute before the recording: the data heading, then the no-data
// line with the page's time.
TEST(GoldenExports, APageBeforeTheStartEndsWithTheNoDataLine)
{
    const std::string expected = std::string(kPeriodicIntHeader) +
        "\r\n\r\n--Begin Data--\r\n"
        "\r\n\r\n**No Data at this time,045:12:29:00.000\r\n";
    EXPECT_EQ(golden("int_before_start.csv"), expected);
}

}  // namespace quor
