// Headers and index files whose times put sample indices at the ends of the
// 64-bit range: reads give an answer, never an overflow (the native tests run
// under UndefinedBehaviorSanitizer, which stops at one).
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "DataFile.h"
#include "TestFiles.h"

namespace quor {

namespace {

const int64_t kMax = std::numeric_limits<int64_t>::max();
const double kNanosecondRate = 1e9;  // a period of 1 ns: indices equal times

class IndexLimits : public ::testing::Test {
protected:
    void write(int64_t startTime, const std::string& indexLines = std::string())
    {
        DataFileHeader h = nativeHeader(formatInt, 4, kNanosecondRate);
        h.startTime = startTime;
        ASSERT_TRUE(writeNative(path, h, Bytes().put<int32_t>(1).put<int32_t>(2).put<int32_t>(3)));
        if (!indexLines.empty()) {
            ASSERT_TRUE(writeSegmentIndex(dir.path("x.quorIndex"), indexLines));
        }
        ASSERT_EQ(file.open(path.c_str(), FileHandle::modeRead), S_OK);
    }
    HRESULT read(int64_t time, int32_t count)
    {
        return file.readSamples(time, count, values, &n, times);
    }

    TempDir dir;
    const std::string path = dir.path("x.quorData");
    DataFile file;
    int32_t values[8] = {};
    int64_t times[8] = {};
    int32_t n = -1;
};

}  // namespace

// The fuzz input that found it: Start Index -501588407396335616, a read at
// INT64_MAX. The distance does not fit in 64 bits; it is past the end.
TEST_F(IndexLimits, AReadFarBeyondAVeryNegativeStartIsPastTheEnd)
{
    write(-501588407396335616LL);
    EXPECT_EQ(read(kMax, 4), S_OK);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(read(-501588407396335616LL + 1, 4), S_OK);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(values[0], 2);
}

// Samples at the last indices there are: their times wrap, as every time
// derived from a header does, instead of overflowing.
TEST_F(IndexLimits, SamplesAtTheLastIndicesAreRead)
{
    write(kMax - 1);
    EXPECT_EQ(read(kMax - 1, 4), S_OK);
    ASSERT_EQ(n, 3);
    EXPECT_EQ(values[2], 3);
    EXPECT_EQ(times[1], kMax);
    EXPECT_EQ(times[2], std::numeric_limits<int64_t>::min());
}

// A segment that ends at INT64_MAX: the index after it is not computed by
// overflowing.
TEST_F(IndexLimits, ASegmentEndingAtTheLastIndexIsRead)
{
    write(0, "0 1 1024\n5 9223372036854775807 1028\n");
    int32_t count = 0;
    file.getSegments(&count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(read(0, 7), S_OK);
    ASSERT_EQ(n, 7);
    EXPECT_EQ(values[2], 2);  // the gap repeats the last value of [0, 1]
    EXPECT_EQ(values[5], 2);  // index 5 is the second value stored
    EXPECT_EQ(values[6], 3);
}

}  // namespace quor
