// Files beyond 4 GiB, made sparse: only the header and the samples far out
// are written, so the test needs little disk space.
#include <gtest/gtest.h>

#include "DataFile.h"
#include "TestFiles.h"

namespace quor {

namespace {

const int64_t kFarOffset = (int64_t(5) << 30) + 1024;  // 5 GiB into the data file
const int64_t kSecond = 1000000000LL;

}  // namespace

TEST(LargeFiles, SegmentAboveFourGiBIsReadAndSized)
{
    TempDir dir;
    const std::string path = dir.path("big.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatInt, 4, 1.0), Bytes()));
    Bytes farValues;
    for (int32_t i = 100; i < 110; ++i)
        farValues.put<int32_t>(i);
    ASSERT_TRUE(writeAt(path, kFarOffset, farValues.data().data(), farValues.data().size()));
    const int64_t size = kFarOffset + 40;
    ASSERT_TRUE(writeSegmentIndex(dir.path("big.quorIndex"),
                                  "0 0 1024\n100000000000 109000000000 " + std::to_string(kFarOffset) + "\n"));

    DataFile file;
    ASSERT_EQ(file.open(path.c_str(), 1), S_OK);
    EXPECT_EQ(file.getFileSize(), size);
    EXPECT_EQ(file.getEndTime(), ((size - 1024) / 4 - 1) * kSecond);
    int32_t count = 0;
    const Segment* segments = file.getSegments(&count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(segments[1].byteOffset, kFarOffset);
    EXPECT_EQ(segments[1].lastOffset, kFarOffset + 36);

    int32_t values[12] = {};
    int64_t times[12] = {};
    int32_t n = 0;
    ASSERT_EQ(file.readSamples(98 * kSecond, 12, values, &n, times), S_OK);
    ASSERT_EQ(n, 12);
    EXPECT_EQ(values[0], 0);  // the gap repeats the first segment's only value
    EXPECT_EQ(values[2], 100);
    EXPECT_EQ(values[11], 109);
    EXPECT_EQ(times[11], 109 * kSecond);
}

TEST(LargeFiles, AsynchronousSamplesAboveFourGiBAreFound)
{
    TempDir dir;
    const std::string path = dir.path("async.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatLong, 8, 1.0, typeAsynchronous), Bytes()));
    // The index holds one time per sample, 5 GiB / 8 of them: the data file's
    // values far out are the ones the index times at its end belong to.
    const int64_t samples = (kFarOffset - 1024) / 8 + 4;
    const std::string index = dir.path("async.quorIndex");
    ASSERT_TRUE(writeTimeIndex(index, {0}));
    Bytes stamps;
    Bytes values;
    for (int64_t k = samples - 4; k < samples; ++k) {
        stamps.put<int64_t>(k * 10);
        values.put<int64_t>(k);
    }
    ASSERT_TRUE(writeAt(index, 1024 + 8 * (samples - 4), stamps.data().data(), stamps.data().size()));
    ASSERT_TRUE(writeAt(path, kFarOffset, values.data().data(), values.data().size()));

    DataFile file;
    ASSERT_EQ(file.open(path.c_str(), 1), S_OK);
    int64_t dataPos = 0;
    int64_t indexPos = 0;
    const int64_t k = samples - 3;
    ASSERT_EQ(file.gotoTime(k * 10 + 5, &dataPos, &indexPos), S_OK);
    EXPECT_EQ(dataPos, 1024 + 8 * k);
    EXPECT_EQ(indexPos, 1024 + 8 * k);
    int64_t read[4] = {};
    int64_t times[4] = {};
    int32_t n = 0;
    ASSERT_EQ(file.readSamples(k * 10, 4, read, &n, times), S_OK);
    ASSERT_EQ(n, 3);
    EXPECT_EQ(read[0], k);
    EXPECT_EQ(times[2], (samples - 1) * 10);
}

}  // namespace quor
