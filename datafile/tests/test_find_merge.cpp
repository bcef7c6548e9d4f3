// find and merge against scans of the recorded samples, the exact
// threshold, crossings at the edges where skipping could lose them, and the
// value text against printf.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include "CsvExport.h"
#include "DataFile.h"
#include "ExportRows.h"
#include "MergeExport.h"
#include "SignalSummary.h"
#include "SummaryReference.h"
#include "TestFiles.h"
#include "Text.h"
#include "ValueText.h"

namespace quor {

namespace {

const int64_t kMs = 1000000;

std::vector<FoundSample> findAll(const SignalSummary& summary, FindCondition condition, const char* x,
                                 int64_t from = INT64_MIN, int64_t to = INT64_MAX)
{
    FindRequest request;
    request.condition = condition;
    EXPECT_TRUE(parseFindThreshold(x, &request.threshold)) << x;
    request.from = from;
    request.to = to;
    request.count = 1000;
    std::vector<FoundSample> hits;
    summary.find(request, &hits);
    return hits;
}

std::vector<int64_t> timesOf(const std::vector<FoundSample>& hits)
{
    std::vector<int64_t> times;
    for (const FoundSample& hit : hits)
        times.push_back(hit.time);
    return times;
}

}  // namespace

TEST(FindThreshold, ReadsDecimalsExactlyAndRefusesTheRest)
{
    FindThreshold x;
    ASSERT_TRUE(parseFindThreshold("4611686018427387904", &x));  // 2^62
    EXPECT_TRUE(x.integerFloor == (Wide(1) << 62) && x.integerCeil == (Wide(1) << 62));
    ASSERT_TRUE(parseFindThreshold("-2.5e1", &x));
    EXPECT_TRUE(x.integerFloor == -25 && x.integerCeil == -25);
    ASSERT_TRUE(parseFindThreshold("-0.001", &x));
    EXPECT_TRUE(x.integerFloor == -1 && x.integerCeil == 0);
    ASSERT_TRUE(parseFindThreshold("0.1", &x));  // between two doubles
    EXPECT_LT(x.realFloor, x.realCeil);
    EXPECT_EQ(std::nextafter(x.realFloor, 1.0), x.realCeil);
    EXPECT_TRUE(x.realFloor == 0.1 || x.realCeil == 0.1);
    ASSERT_TRUE(parseFindThreshold("9007199254740993", &x));  // 2^53 + 1: no double
    EXPECT_EQ(x.realFloor, 9007199254740992.0);
    EXPECT_EQ(x.realCeil, 9007199254740994.0);
    ASSERT_TRUE(parseFindThreshold("1e400", &x));
    EXPECT_EQ(x.realFloor, std::numeric_limits<double>::max());
    EXPECT_TRUE(std::isinf(x.realCeil));
    EXPECT_TRUE(x.integerFloor > Wide(UINT64_MAX));
    ASSERT_TRUE(parseFindThreshold(".5", &x));
    EXPECT_EQ(x.realFloor, 0.5);
    for (const char* bad : {"", "-", ".", "1e", "1.2.3", "inf", "nan", "0x10", "--1", "1 ", "e5"})
        EXPECT_FALSE(parseFindThreshold(bad, &x)) << bad;
}

class FindMergeFiles : public ::testing::Test {
protected:
    // A periodic long file at 1000 samples per second from time 0.
    std::string writeLongs(const std::string& name, const std::vector<int64_t>& values)
    {
        Bytes stored;
        for (int64_t v : values)
            stored.put(v);
        const std::string path = dir.path(name);
        EXPECT_TRUE(writeNative(path, nativeHeader(formatLong, 8, 1000.0), stored));
        return path;
    }

    TempDir dir;
};

TEST_F(FindMergeFiles, LongValuesCompareWithTheirThresholdExactly)
{
    const int64_t big = int64_t(1) << 62;
    const std::string path = writeLongs("l.quorData", {big, big + 1, big - 1, INT64_MAX, INT64_MIN});
    SignalSummary summary;
    ASSERT_EQ(summary.open(path.c_str()), S_OK);
    ASSERT_EQ(summary.build(), S_OK);
    EXPECT_EQ(timesOf(findAll(summary, FindCondition::above, "4611686018427387904")),
              (std::vector<int64_t>{1 * kMs, 3 * kMs}));
    EXPECT_EQ(timesOf(findAll(summary, FindCondition::below, "4611686018427387904.5")),
              (std::vector<int64_t>{0, 2 * kMs, 4 * kMs}));
    EXPECT_EQ(timesOf(findAll(summary, FindCondition::rising, "4611686018427387904")),
              (std::vector<int64_t>{3 * kMs}));
    EXPECT_EQ(timesOf(findAll(summary, FindCondition::falling, "-1e30")), (std::vector<int64_t>{}));
}

// Crossing pairs whose two samples lie in different blocks, on either side
// of a segment gap, and on either side of --from.
TEST_F(FindMergeFiles, CrossingsStraddleBlockEdgesGapsAndTheStartOfTheRange)
{
    const int32_t block = SignalSummary::kBlockSamples;
    // Segment A: indices 0 .. 4*block-1; segment B from 6*block on, 2*block samples.
    std::vector<int64_t> values;
    for (int32_t k = 0; k < 6 * block; ++k) {
        const bool aHigh = k >= block && k < 3 * block;  // rises at block 1's first sample, falls at block 3's
        values.push_back(k < 4 * block ? (aHigh ? 50 : 10) : 60);  // B starts high after A ended low
    }
    Bytes stored;
    for (int64_t v : values)
        stored.put(v);
    const std::string path = dir.path("m.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatLong, 8, 1000.0), stored));
    const int64_t ms = kMs;
    ASSERT_TRUE(writeSegmentIndex(dir.path("m.quorIndex"),
                                  "0 " + std::to_string((4 * block - 1) * ms) + " 1024\n" +
                                      std::to_string(6 * block * ms) + " " + std::to_string((8 * block - 1) * ms) +
                                      " " + std::to_string(1024 + 4 * block * 8) + "\n"));
    for (int32_t maxBlocks : {SignalSummary::kMaxBlocks, 2}) {
        SignalSummary summary(maxBlocks);
        ASSERT_EQ(summary.open(path.c_str()), S_OK);
        ASSERT_EQ(summary.build(), S_OK);
        const std::vector<int64_t> rises = {block * ms, 6 * block * ms};
        EXPECT_EQ(timesOf(findAll(summary, FindCondition::rising, "40")), rises);
        EXPECT_EQ(timesOf(findAll(summary, FindCondition::falling, "40")), (std::vector<int64_t>{3 * block * ms}));
        // From the rising sample itself: its previous sample lies before the range.
        EXPECT_EQ(timesOf(findAll(summary, FindCondition::rising, "40", block * ms)), rises);
        EXPECT_EQ(timesOf(findAll(summary, FindCondition::rising, "40", block * ms + 1)),
                  (std::vector<int64_t>{6 * block * ms}));
        EXPECT_EQ(timesOf(findAll(summary, FindCondition::rising, "40", 4 * block * ms, 6 * block * ms)),
                  (std::vector<int64_t>{6 * block * ms}));
        FindRequest last;
        ASSERT_TRUE(parseFindThreshold("40", &last.threshold));
        last.condition = FindCondition::rising;
        last.from = 0;
        last.to = INT64_MAX;
        last.last = true;
        std::vector<FoundSample> hits;
        ASSERT_EQ(summary.find(last, &hits), S_OK);
        EXPECT_EQ(timesOf(hits), (std::vector<int64_t>{6 * block * ms}));
    }
}

namespace {

// The merge as the rule says it, sample by sample: every distinct shifted
// time; a file's cell holds its latest sample at or before the time while
// the time is not later than the last sample of that sample's run.
std::string referenceMerge(const std::vector<std::string>& paths, const std::vector<int64_t>& shifts,
                           int64_t from, int64_t to)
{
    struct File {
        std::vector<ReferenceSample> samples;
        std::vector<int64_t> runEnds;
        int32_t format = 0, size = 0;
    };
    std::vector<File> files(paths.size());
    std::vector<int64_t> times;
    std::string out = "Time,Nanoseconds";
    for (size_t k = 0; k < paths.size(); ++k) {
        SummaryReference::Kind kind;
        EXPECT_TRUE(readReferenceSamples(paths[k].c_str(), &kind, &files[k].samples, 1 << 20));
        DataFile file;
        EXPECT_EQ(file.open(paths[k].c_str(), FileHandle::modeRead), S_OK);
        DataFileHeader header;
        file.getHeader(&header);
        files[k].format = header.dataFormat;
        files[k].size = file.getDataSize();
        for (ReferenceSample& s : files[k].samples) {
            s.time += shifts[k];
            times.push_back(s.time);
            files[k].runEnds.resize(static_cast<size_t>(s.run) + 1, INT64_MIN);
            files[k].runEnds[static_cast<size_t>(s.run)] = std::max(files[k].runEnds[static_cast<size_t>(s.run)], s.time);
        }
        out += "," + mergeLabel(paths[k]);
    }
    out += "\r\n";
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    for (int64_t t : times) {
        if (t < from || t > to)
            continue;
        char text[64];
        out.append(text, static_cast<size_t>(putExportTime(text, t) - text));
        out += "," + std::to_string(t);
        for (const File& f : files) {
            out += ",";
            const ReferenceSample* latest = nullptr;
            for (const ReferenceSample& s : f.samples)
                if (s.time <= t)
                    latest = &s;
            if (!latest || (latest->time != t && t > f.runEnds[static_cast<size_t>(latest->run)]))
                continue;
            char value[kNumericTextMax];
            uint8_t stored[8];
            if (f.format == formatFloat) {
                const float v = static_cast<float>(latest->value.real);
                std::memcpy(stored, &v, 4);
            } else if (f.format == formatDouble) {
                std::memcpy(stored, &latest->value.real, 8);
            } else {
                std::memcpy(stored, &latest->value.exact, static_cast<size_t>(f.size));
            }
            out.append(value, static_cast<size_t>(putNumericValue(value, stored, f.size, f.format) - value));
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace

TEST_F(FindMergeFiles, MergeAgreesWithAScanOfEveryKindOfFile)
{
    std::mt19937_64 rng(5);
    // Periodic float with NaN and infinities, big-endian, at 100 Hz from 1 s.
    DataFileHeader header = nativeHeader(formatFloat, 4, 100.0);
    header.byteOrder = 0;
    header.startTime = 1000 * kMs;
    Bytes floats;
    for (int k = 0; k < 700; ++k) {
        const float v = k % 97 == 0 ? std::numeric_limits<float>::quiet_NaN()
                        : k % 89 == 0 ? -std::numeric_limits<float>::infinity()
                                      : static_cast<float>(static_cast<int64_t>(rng() % 20000) - 10000) / 7.0f;
        floats.putBigEndian(v);
    }
    const std::string periodic = dir.path("p,q.quorData");
    ASSERT_TRUE(writeNative(periodic, header, floats));
    // Multi-periodic ints with a gap and overlapping segments, at 50 Hz.
    Bytes ints;
    for (int k = 0; k < 600; ++k)
        ints.put<int32_t>(k % 5 == 0 ? INT32_MIN : static_cast<int32_t>(rng()));
    const std::string multi = dir.path("multi.quorData");
    ASSERT_TRUE(writeNative(multi, nativeHeader(formatInt, 4, 50.0), ints));
    ASSERT_TRUE(writeSegmentIndex(dir.path("multi.quorIndex"),
                                  "2000000000 5980000000 1024\n5000000000 9980000000 1824\n"
                                  "14000000000 17980000000 1624\n"));
    // Asynchronous ulong with equal times and a time that goes back.
    Bytes ulongs;
    std::vector<int64_t> stamps;
    int64_t t = 500 * kMs;
    for (int k = 0; k < 400; ++k) {
        ulongs.put<uint64_t>(k % 7 == 0 ? UINT64_MAX : rng());
        t += static_cast<int64_t>(rng() % 3) * 7 * kMs;
        stamps.push_back(k == 200 ? t - 300 * kMs : t);
    }
    const std::string async = dir.path("async.quorData");
    ASSERT_TRUE(writeNative(async, nativeHeader(formatUlong, 8, 1.0, typeAsynchronous), ulongs));
    ASSERT_TRUE(writeTimeIndex(dir.path("async.quorIndex"), stamps));
    // Legacy little-endian doubles, long after the others.
    Bytes legacy;
    legacy.put<int32_t>(7).put(10.0).put<int64_t>(100000).put<int64_t>(0);
    for (int k = 0; k < 50; ++k)
        legacy.put(k == 3 ? -std::numeric_limits<double>::quiet_NaN() : static_cast<double>(rng() % 1000) / 8);
    const std::string old = dir.path("old.LittleEndianZIBdata");
    ASSERT_TRUE(writeFile(old, legacy));

    const std::vector<std::string> paths = {periodic, multi, async, old};
    const std::vector<std::vector<int64_t>> shiftSets = {
        {0, 0, 0, 0}, {-1500 * kMs, 2000 * kMs + 3, 0, -9990 * 1000 * kMs}};
    const std::vector<std::pair<int64_t, int64_t>> ranges = {
        {INT64_MIN, INT64_MAX}, {3000 * kMs, 7000 * kMs}, {5990 * kMs, 6010 * kMs}, {20000000 * kMs, INT64_MAX}};
    for (const auto& shifts : shiftSets) {
        for (const auto& range : ranges) {
            MergeRequest request;
            for (size_t k = 0; k < paths.size(); ++k)
                request.files.push_back(MergeFile{paths[k], shifts[k]});
            request.hasFrom = request.hasTo = true;
            request.from = range.first;
            request.to = range.second;
            BufferExportSink sink;
            std::string failed;
            ASSERT_EQ(mergeRecordings(request, sink, &failed), MergeResult::ok);
            EXPECT_EQ(sink.bytes(), referenceMerge(paths, shifts, range.first, range.second))
                << "shift " << shifts[0] << " range " << range.first;
            if (range.first == INT64_MIN) {  // every sample of every file has its row
                EXPECT_GT(std::count(sink.bytes().begin(), sink.bytes().end(), '\n'), 1000);
            }
        }
    }
    EXPECT_EQ(mergeLabel(periodic), "\"p,q\"");
    EXPECT_EQ(mergeLabel("runs/a\"b.c.quorData"), "\"a\"\"b.c\"");
    EXPECT_EQ(mergeLabel("runs/pressure.quorData"), "pressure");
    MergeRequest missing;
    missing.files = {MergeFile{periodic, 0}, MergeFile{dir.path("none.quorData"), 0}};
    BufferExportSink sink;
    std::string failed;
    EXPECT_EQ(mergeRecordings(missing, sink, &failed), MergeResult::unableToOpen);
    EXPECT_EQ(failed, dir.path("none.quorData"));
    EXPECT_EQ(sink.bytes(), "");
}

// The export's float text is printf's "%f", ties and huge values included;
// NaN is spelled by its sign bit, the same in every build.
TEST(ValueTextFormatter, FixedSixIsPrintfsPercentF)
{
    std::mt19937_64 rng(17);
    std::vector<double> values = {0.0, -0.0, 0.5e-6, 1.5e-6, 2.5e-6, 0.0078125, 0.0234375, 1e300, -1.7976931348623157e308,
                                  4.9e-324, 123456789.0000005, 9007199254740993.0};
    for (int m = 1; m < 2000; m += 2)
        values.push_back(m / 128.0 + static_cast<double>(rng() % 100000));  // exact ties at the sixth decimal
    for (int k = 0; k < 200000; ++k) {
        const uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, 8);
        float f;
        const uint32_t low = static_cast<uint32_t>(bits);
        std::memcpy(&f, &low, 4);
        values.push_back(d);
        values.push_back(f);
        values.push_back(static_cast<double>(static_cast<int64_t>(bits % 2000000000) - 1000000000) / 1024.0);
    }
    char expected[512], actual[kNumericTextMax];
    for (double v : values) {
        if (std::isnan(v) || std::isinf(v))
            continue;
        std::snprintf(expected, sizeof expected, "%f", v);
        const std::string text(actual, static_cast<size_t>(putFixedSix(actual, v) - actual));
        ASSERT_EQ(text, expected) << std::hexfloat << v;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& c : {std::make_pair(nan, "nan"), std::make_pair(-nan, "-nan"),
                          std::make_pair(HUGE_VAL, "inf"), std::make_pair(-HUGE_VAL, "-inf")})
        EXPECT_EQ(std::string(actual, static_cast<size_t>(putFixedSix(actual, c.first) - actual)), c.second);
    const float negativeNaN = -std::numeric_limits<float>::quiet_NaN();
    Text text;
    appendValueText(text, &negativeNaN, 4, formatFloat, ValueStyle::exportCsv);
    EXPECT_EQ(text.str(), "-nan");
}

}  // namespace quor
