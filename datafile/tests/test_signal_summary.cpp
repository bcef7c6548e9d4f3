#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <thread>

#include "DataFile.h"
#include "SignalSummary.h"
#include "SummaryReference.h"
#include "TestFiles.h"
#include "Text.h"

namespace quor {

namespace {

struct NumericFormat {
    int32_t code;
    int32_t size;
};

const NumericFormat kNumericFormats[] = {{formatInt, 4},   {formatDiscrete, 4}, {formatFloat, 4},
                                         {formatLong, 8},  {formatUlong, 4},    {formatUlong, 8},
                                         {formatDouble, 8}, {formatLong8, 8}};

// Random values of one format, their stored bytes and what they must read as.
class ValueMaker {
public:
    ValueMaker(NumericFormat format, bool bigEndian, uint64_t seed)
        : format_(format), bigEndian_(bigEndian), rng_(seed)
    {
    }

    ReferenceSample append(Bytes& stored)
    {
        ReferenceSample s;
        const uint64_t r = rng_();
        const int pick = static_cast<int>(r % 16);
        switch (format_.code) {
        case formatInt:
        case formatDiscrete: {
            const int32_t v = pick == 0 ? INT32_MIN : pick == 1 ? INT32_MAX : pick < 8 ? int32_t(r >> 40) % 50
                                                                                      : int32_t(r >> 32);
            put(stored, v);
            s.value.exact = v;
            s.value.real = v;
            break;
        }
        case formatFloat: {
            const float v = static_cast<float>(realValue(pick, r));
            put(stored, v);
            s.value.real = v;
            break;
        }
        case formatDouble: {
            const double v = realValue(pick, r);
            put(stored, v);
            s.value.real = v;
            break;
        }
        case formatUlong: {
            uint64_t v = pick == 0 ? 0 : pick == 1 ? UINT64_MAX : pick < 8 ? (r >> 40) % 50 : r;
            if (format_.size == 4) {
                v = static_cast<uint32_t>(v);
                put(stored, static_cast<uint32_t>(v));
            } else {
                put(stored, v);
            }
            s.value.exact = static_cast<int64_t>(v);
            s.value.real = static_cast<double>(v);
            break;
        }
        default: {
            const int64_t v = pick == 0 ? INT64_MIN : pick == 1 ? INT64_MAX : pick < 8 ? int64_t(r >> 40) % 50
                                                                                      : int64_t(r);
            put(stored, v);
            s.value.exact = v;
            s.value.real = static_cast<double>(v);
            break;
        }
        }
        s.nan = std::isnan(s.value.real);
        return s;
    }

private:
    template <class T>
    void put(Bytes& stored, T v)
    {
        if (bigEndian_)
            stored.putBigEndian(v);
        else
            stored.put(v);
    }

    static double realValue(int pick, uint64_t r)
    {
        switch (pick) {
        case 0:
            return std::numeric_limits<double>::quiet_NaN();
        case 1:
            return HUGE_VAL;
        case 2:
            return -HUGE_VAL;
        case 3:
            return -0.0;
        case 4:
            return 0.0;
        case 5:
        case 6:
        case 7:
            return static_cast<double>(int64_t(r >> 40) % 50) / 4;
        default:
            return static_cast<double>(int64_t(r >> 11)) / 1e6;
        }
    }

    NumericFormat format_;
    bool bigEndian_;
    std::mt19937_64 rng_;
};

const int64_t kMs = 1000000;

// The first time of column k of [0, last] in width columns.
int64_t columnStart(int64_t k, int64_t width, int64_t last)
{
    __extension__ typedef __int128 Wide;
    return static_cast<int64_t>(Wide(k) * (Wide(last) + 1) / width);
}

// Thresholds around the samples' own values: ties, their neighbours, zero
// and 2^62, where a long compared as a double would be wrong.
std::vector<std::string> findThresholds(const SummaryReference& reference, std::mt19937_64& rng)
{
    std::vector<std::string> texts = {"0", "4611686018427387904", "-1e400"};
    const auto& samples = reference.samples();
    for (int k = 0; k < 2 && !samples.empty(); ++k) {
        const ReferenceSample& s = samples[rng() % samples.size()];
        char text[64];
        if (reference.kind() == SummaryReference::real)
            std::snprintf(text, sizeof text, "%.17g", s.value.real);
        else if (reference.kind() == SummaryReference::signedInt)
            std::snprintf(text, sizeof text, "%lld", static_cast<long long>(s.value.exact));
        else
            std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(s.value.exact));
        if (std::isfinite(s.value.real)) {
            texts.push_back(text);
            texts.push_back(std::string(text) + (std::strchr(text, '.') || std::strchr(text, 'e') ? "" : ".5"));
        }
    }
    return texts;
}

// find, every condition, first and last hits, against the scan.
void checkFind(const SignalSummary& summary, const SummaryReference& reference,
               const std::vector<std::pair<int64_t, int64_t>>& ranges, std::mt19937_64& rng)
{
    for (const std::string& text : findThresholds(reference, rng)) {
        FindRequest request;
        ASSERT_TRUE(parseFindThreshold(text.c_str(), &request.threshold)) << text;
        for (FindCondition condition : {FindCondition::above, FindCondition::below, FindCondition::rising,
                                        FindCondition::falling}) {
            request.condition = condition;
            for (size_t r = 0; r < ranges.size() && r < 9; ++r) {
                request.from = ranges[r].first;
                request.to = ranges[r].second;
                request.count = INT32_MAX;
                request.last = false;
                const auto every = reference.find(request);
                for (int32_t count : {1, 5}) {
                    for (bool last : {false, true}) {
                        request.count = count;
                        request.last = last;
                        const size_t keep = std::min<size_t>(every.size(), count);
                        const std::vector<ReferenceSample> expected(last ? every.end() - keep : every.begin(),
                                                                    last ? every.end() : every.begin() + keep);
                        std::vector<FoundSample> hits;
                        ASSERT_EQ(summary.find(request, &hits), expected.empty() ? S_FALSE : S_OK);
                        ASSERT_EQ(reference.compareHits(expected, hits), "")
                            << "X " << text << " condition " << static_cast<int>(condition) << " range ["
                            << request.from << ", " << request.to << "] count " << count << " last " << last;
                    }
                }
            }
        }
    }
}

// Compares every query with the brute-force scan over many ranges and widths.
void checkAgainstReference(const SignalSummary& summary, const SummaryReference& reference, uint64_t seed,
                           int rounds = 12)
{
    std::mt19937_64 rng(seed);
    const auto& samples = reference.samples();
    const int64_t first = samples.empty() ? 0 : samples.front().time;
    const int64_t last = samples.empty() ? 1000 : samples.back().time;
    const int64_t length = last - first + 1;
    const int32_t n = static_cast<int32_t>(samples.size());
    std::vector<std::pair<int64_t, int64_t>> ranges = {
        {first, last}, {first - length, last + length}, {first, first}, {last, last},
        {last + 1, last + length}, {first - length, first - 1}, {INT64_MIN, INT64_MAX}};
    for (int r = 0; r < rounds; ++r) {
        const int64_t a = first - length / 4 + static_cast<int64_t>(rng() % uint64_t(length + length / 2));
        const int64_t b = a + static_cast<int64_t>(rng() % uint64_t(length / (1 + rng() % 20) + 1));
        ranges.push_back({a, b});
    }
    checkFind(summary, reference, ranges, rng);
    const int32_t widths[] = {1, 2, 3, 7, 100, std::max(1, n / 2), n + 1, n + 13};
    for (const auto& range : ranges) {
        RangeStats stats;
        ASSERT_EQ(summary.stats(range.first, range.second, &stats), S_OK);
        const std::string statsDiffer =
            reference.compareStats(reference.stats(range.first, range.second), stats, range.first, range.second);
        ASSERT_EQ(statsDiffer, "");
        for (int32_t width : widths) {
            std::vector<EnvelopeColumn> columns;
            ASSERT_EQ(summary.envelope(range.first, range.second, width, &columns), S_OK);
            const std::string differ =
                reference.compareColumns(reference.envelope(range.first, range.second, width), columns);
            ASSERT_EQ(differ, "") << "range [" << range.first << ", " << range.second << "] width " << width;
        }
    }
    for (int r = 0; r < 40 && n > 0; ++r) {
        const ReferenceSample& s = samples[rng() % samples.size()];
        for (int64_t t : {s.time - 1, s.time, s.time + 1, first - 5, last + 5}) {
            ReferenceSample expected;
            int64_t time = 0;
            SampleValue value;
            const HRESULT hr = summary.sampleAtOrBefore(t, &time, &value);
            if (!reference.atOrBefore(t, &expected)) {
                ASSERT_EQ(hr, S_FALSE) << t;
                continue;
            }
            ASSERT_EQ(hr, S_OK);
            ASSERT_EQ(time, expected.time);
            ASSERT_TRUE(expected.nan ? std::isnan(value.real) : reference.sameValue(expected.value, value));
        }
    }
}

class SignalSummaryFiles : public ::testing::Test {
protected:
    SummaryReference openAndBuild(const std::string& path, int32_t dataFormat,
                                  std::vector<ReferenceSample> samples)
    {
        EXPECT_EQ(summary.open(path.c_str()), S_OK);
        EXPECT_TRUE(summary.hasNumericValues());
        EXPECT_EQ(summary.build(), S_OK);
        return SummaryReference(SummaryReference::kindOf(dataFormat), std::move(samples));
    }

    // A periodic file of count values at 1000 samples per second from 5 s on.
    std::vector<ReferenceSample> writePeriodic(const std::string& path, NumericFormat format, bool bigEndian,
                                               int32_t count, uint64_t seed)
    {
        DataFileHeader header = nativeHeader(format.code, format.size, 1000.0);
        header.byteOrder = bigEndian ? 0 : 1;
        header.startTime = 5000 * kMs;
        ValueMaker maker(format, bigEndian, seed);
        Bytes stored;
        std::vector<ReferenceSample> samples;
        for (int32_t k = 0; k < count; ++k) {
            samples.push_back(maker.append(stored));
            samples.back().time = (5000 + k) * kMs;
        }
        EXPECT_TRUE(writeNative(path, header, stored));
        return samples;
    }

    // Irregular steps, runs of equal times and one time that goes back (it
    // counts as the time before it); the data file holds 3 values more than
    // the index has times.
    std::vector<ReferenceSample> writeAsynchronous(const std::string& path, int32_t count)
    {
        const NumericFormat format{formatInt, 4};
        ValueMaker maker(format, true, 3);
        std::mt19937_64 rng(9);
        Bytes stored;
        std::vector<ReferenceSample> samples;
        std::vector<int64_t> times;
        int64_t t = -50 * kMs;
        for (int32_t k = 0; k < count; ++k) {
            const int64_t before = t;
            t += static_cast<int64_t>(rng() % 4) * kMs + static_cast<int64_t>(rng() % 3);
            const bool back = k == 7777;
            times.push_back(back ? t - 900 * kMs : t);
            samples.push_back(maker.append(stored));
            samples.back().time = back ? before : t;
            if (back)
                t = before;
        }
        for (int k = 0; k < 3; ++k)
            maker.append(stored);
        DataFileHeader header = nativeHeader(format.code, format.size, 1.0, typeAsynchronous);
        header.byteOrder = 0;
        EXPECT_TRUE(writeNative(path, header, stored));
        Text indexPath;
        makeIndexPath(path.c_str(), indexPath);
        EXPECT_TRUE(writeTimeIndex(indexPath.str(), times));
        return samples;
    }

    TempDir dir;
    SignalSummary summary;
};

}  // namespace

TEST_F(SignalSummaryFiles, EveryNumericFormatInBothByteOrdersAgreesWithAScan)
{
    uint64_t seed = 1;
    for (const NumericFormat& format : kNumericFormats) {
        for (bool bigEndian : {false, true}) {
            SCOPED_TRACE(testing::Message() << "format " << format.code << " size " << format.size
                                            << (bigEndian ? " big" : " little"));
            const std::string path = dir.path("f" + std::to_string(seed) + ".quorData");
            auto samples = writePeriodic(path, format, bigEndian, 9000 + static_cast<int32_t>(seed) * 7, seed);
            SummaryReference reference = openAndBuild(path, format.code, std::move(samples));
            checkAgainstReference(summary, reference, seed++);
        }
    }
}

TEST_F(SignalSummaryFiles, MultiPeriodicFileHoldsOnlyTheSamplesInsideItsSegments)
{
    // 100 samples per second. A: indices 100..2099; B: 3000..5999 stored,
    // but C starts at 5500, so B ends at 5499; C: 5500..9999, of which the
    // file holds 4000 values. The lines come out of order.
    const NumericFormat format{formatDouble, 8};
    ValueMaker maker(format, false, 77);
    Bytes stored;
    std::vector<ReferenceSample> samples;
    auto add = [&](int64_t firstIndex, int32_t count, int32_t recorded) {
        for (int32_t k = 0; k < count; ++k) {
            ReferenceSample s = maker.append(stored);
            s.time = (firstIndex + k) * 10 * kMs;
            if (k < recorded)
                samples.push_back(s);
        }
    };
    add(100, 2000, 2000);
    add(3000, 3000, 2500);
    add(5500, 4000, 4000);
    const std::string path = dir.path("m.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(format.code, format.size, 100.0), stored));
    ASSERT_TRUE(writeSegmentIndex(dir.path("m.quorIndex"),
                                  "55000000000 99990000000 41024\n"
                                  "1000000000 20990000000 1024\n"
                                  "30000000000 59990000000 17024\n"));
    SummaryReference reference = openAndBuild(path, format.code, std::move(samples));
    checkAgainstReference(summary, reference, 5, 40);
    const std::vector<SegmentSpan> spans = summary.segmentTimes();
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[1].startTime, 30000000000);
    EXPECT_EQ(spans[1].endTime, 59990000000);
    int64_t last = 0;
    ASSERT_TRUE(summary.lastTime(&last));
    EXPECT_EQ(last, 9499 * 10 * kMs);
}

TEST_F(SignalSummaryFiles, AsynchronousFileTakesEachSampleAtItsIndexTime)
{
    const std::string path = dir.path("a.quorData");
    auto samples = writeAsynchronous(path, 20000);
    SummaryReference reference = openAndBuild(path, formatInt, std::move(samples));
    checkAgainstReference(summary, reference, 11, 40);
}

TEST_F(SignalSummaryFiles, BlocksDoubleAtTheirLimitAndAnswerAlike)
{
    const std::string async = dir.path("a.quorData");
    const std::string periodic = dir.path("p.quorData");
    const std::vector<std::pair<std::string, std::vector<ReferenceSample>>> files = {
        {async, writeAsynchronous(async, 30000)},
        {periodic, writePeriodic(periodic, {formatDouble, 8}, false, 30001, 12)}};
    for (const auto& file : files) {
        SignalSummary small(6);
        ASSERT_EQ(small.open(file.first.c_str()), S_OK);
        while (small.buildStep(3000) == S_FALSE) {
        }
        // Six blocks become three at 3072, 6144, 12288 and 24576 samples.
        EXPECT_EQ(small.blockSamples(), 16 * SignalSummary::kBlockSamples);
        const int32_t format = file.first == async ? formatInt : formatDouble;
        checkAgainstReference(small, SummaryReference(SummaryReference::kindOf(format), file.second), 13, 20);
    }
}

// A limit lowered once a file is summarised, with an odd block left over and
// a block half filled: the blocks merge at once and answer as a scan does,
// and the summary goes on at the new size when the file grows.
TEST_F(SignalSummaryFiles, LoweredLimitMergesBlocksAndAnswersAlike)
{
    const std::string async = dir.path("a.quorData");
    const std::string periodic = dir.path("p.quorData");
    const int32_t count = 7 * SignalSummary::kBlockSamples + 300;
    for (const std::string& path : {async, periodic}) {
        const bool isAsync = path == async;
        const SummaryReference::Kind kind = isAsync ? SummaryReference::signedInt : SummaryReference::real;
        const NumericFormat format{formatFloat, 4};
        auto samples = isAsync ? writeAsynchronous(path, count) : writePeriodic(path, format, false, count, 14);
        SignalSummary shared(16);
        ASSERT_EQ(shared.open(path.c_str()), S_OK);
        ASSERT_EQ(shared.build(), S_OK);
        shared.limitBlocks(2);
        // 7 blocks and a part: 3 of 1024 samples and a part, then 1 of 2048 and a part.
        EXPECT_EQ(shared.blockSamples(), 4 * SignalSummary::kBlockSamples);
        checkAgainstReference(shared, SummaryReference(kind, samples), 15, 6);

        auto grown = isAsync ? writeAsynchronous(path, 3 * count) : writePeriodic(path, format, false, 3 * count, 14);
        ASSERT_EQ(shared.refresh(), S_OK);
        ASSERT_EQ(shared.build(), S_OK);
        EXPECT_EQ(shared.blockSamples(), 16 * SignalSummary::kBlockSamples);
        checkAgainstReference(shared, SummaryReference(kind, grown), 16, 6);

        // Lowered from another thread while a worker builds: the worker merges.
        SignalSummary busy(64);
        ASSERT_EQ(busy.open(path.c_str()), S_OK);
        std::thread worker([&busy] { EXPECT_EQ(busy.build(), S_OK); });
        busy.limitBlocks(2);
        worker.join();
        EXPECT_EQ(busy.blockSamples(), 16 * SignalSummary::kBlockSamples);
        checkAgainstReference(busy, SummaryReference(kind, grown), 17, 6);
    }
}

TEST_F(SignalSummaryFiles, LegacyFilesInBothByteOrders)
{
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big" : "little");
        ValueMaker maker({formatFloat, 4}, bigEndian, 21);
        Bytes file;
        const int64_t startIndex = 400;
        if (bigEndian)
            file.putBigEndian<int32_t>(7).putBigEndian(50.0).putBigEndian(startIndex);
        else
            file.put<int32_t>(7).put(50.0).put(startIndex);
        file.put<int64_t>(0);
        std::vector<ReferenceSample> samples;
        for (int32_t k = 0; k < 6000; ++k) {
            samples.push_back(maker.append(file));
            samples.back().time = (startIndex + k) * 20 * kMs;
        }
        const std::string path = dir.path(bigEndian ? "l.ZIBdata" : "l.LittleEndianZIBdata");
        ASSERT_TRUE(writeFile(path, file));
        SummaryReference reference = openAndBuild(path, formatFloat, std::move(samples));
        checkAgainstReference(summary, reference, 31);
    }
}

TEST_F(SignalSummaryFiles, ValueTextIsTheExportsAndNonNumericFilesHaveNone)
{
    const std::string path = dir.path("u.quorData");
    Bytes stored;
    stored.put<uint64_t>(UINT64_MAX).put<uint64_t>(3);
    ASSERT_TRUE(writeNative(path, nativeHeader(formatUlong, 8, 1.0), stored));
    ASSERT_EQ(summary.open(path.c_str()), S_OK);
    ASSERT_EQ(summary.build(), S_OK);
    RangeStats stats;
    ASSERT_EQ(summary.stats(INT64_MIN, INT64_MAX, &stats), S_OK);
    Text text;
    summary.formatValue(stats.maximum, text);
    text.append(',');
    summary.formatValue(stats.minimum, text);
    EXPECT_EQ(text, "18446744073709551615,3");

    const std::pair<int32_t, int32_t> noNumbers[] = {{formatAscii, 4}, {formatBlob, 8}, {formatInt, 8},
                                                     {formatDouble, 4}, {9, 4}};
    for (const auto& format : noNumbers) {
        ASSERT_TRUE(writeNative(path, nativeHeader(format.first, format.second, 1.0), stored));
        ASSERT_EQ(summary.open(path.c_str()), S_OK);
        EXPECT_FALSE(summary.hasNumericValues());
        EXPECT_EQ(summary.build(), S_OK);
        int64_t time = 0;
        EXPECT_FALSE(summary.firstTime(&time));
    }
    EXPECT_EQ(summary.open(dir.path("missing.quorData").c_str()), E_FAIL);
}

// A column's extremes come from its whole blocks and the parts of the blocks
// at its edges: a single sample far out at either side is found in its
// column only, whether or not the edge's block is read.
TEST_F(SignalSummaryFiles, SingleSampleSpikeAndDipAreTheExtremesOfTheirColumnsAtEveryWidth)
{
    const int32_t count = 10000000;
    const int32_t spikeAt = 6543210;
    const int32_t dipAt = 3456789;
    std::vector<float> values(count);
    for (int32_t k = 0; k < count; ++k)
        values[k] = static_cast<float>(k % 1000) / 1000.0f;
    values[spikeAt] = 5.0f;
    values[dipAt] = -5.0f;
    Bytes stored;
    stored.putRaw(values.data(), values.size() * sizeof(float));
    const std::string path = dir.path("spike.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatFloat, 4, 1000.0), stored));
    ASSERT_EQ(summary.open(path.c_str()), S_OK);
    ASSERT_EQ(summary.build(), S_OK);
    const int64_t last = int64_t(count - 1) * kMs;
    std::vector<EnvelopeColumn> columns;
    for (int32_t width = 1; width <= 4000; width += width < 100 ? 1 : 37) {
        ASSERT_EQ(summary.envelope(0, last, width, &columns), S_OK);
        const int64_t spikeTime = int64_t(spikeAt) * kMs;
        for (int32_t k = 0; k < width; ++k) {
            const bool holdsSpike = columnStart(k, width, last) <= spikeTime &&
                                    spikeTime < columnStart(k + 1, width, last);
            ASSERT_EQ(columns[k].maximum.real == 5.0, holdsSpike) << "width " << width << " column " << k;
            const int64_t dipTime = int64_t(dipAt) * kMs;
            const bool holdsDip =
                columnStart(k, width, last) <= dipTime && dipTime < columnStart(k + 1, width, last);
            ASSERT_EQ(columns[k].minimum.real == -5.0, holdsDip) << "width " << width << " column " << k;
        }
    }
}

// Pictures panned by whole columns and zoomed by two share most column
// edges with the pictures before; what is kept of those edges, over more
// pictures than are kept, answers as a scan does.
TEST_F(SignalSummaryFiles, PannedAndZoomedPicturesAgreeWithAScan)
{
    const std::string path = dir.path("pans.quorData");
    const int32_t count = 600000;
    const SummaryReference reference =
        openAndBuild(path, formatDouble, writePeriodic(path, {formatDouble, 8}, false, count, 21));
    const int32_t width = 400;
    int64_t length = int64_t(width) * 600 * kMs;  // 600 samples a column: edges split blocks
    int64_t from = (5000 + count / 4) * kMs;
    for (int step = 0; step < 90; ++step) {
        std::vector<EnvelopeColumn> columns;
        const int64_t to = from + length - 1;
        ASSERT_EQ(summary.envelope(from, to, width, &columns), S_OK);
        ASSERT_EQ(reference.compareColumns(reference.envelope(from, to, width), columns), "") << "step " << step;
        const int64_t column = length / width;
        if (step % 10 == 9) {
            const bool in = step % 20 == 9;  // in to 300 samples a column (read whole), and out again
            from += in ? length / 4 : -length / 2;
            length = in ? length / 2 : length * 2;
        } else if (step % 4 == 3) {
            from += column / 2 + kMs;  // every edge new
        } else {
            from += ((step / 10) % 2 ? -1 : 1) * (step % 3 == 2 ? 7 : 11) * column;
        }
    }
    // Zoomed in past a sample a column, every other column empty, panned
    // by whole columns and by a sample.
    length = int64_t(width) / 2 * kMs;
    for (int step = 0; step < 12; ++step) {
        std::vector<EnvelopeColumn> columns;
        const int64_t to = from + length - 1;
        ASSERT_EQ(summary.envelope(from, to, width, &columns), S_OK);
        ASSERT_EQ(reference.compareColumns(reference.envelope(from, to, width), columns), "") << "close, step " << step;
        from += step % 4 == 3 ? kMs : (step % 2 ? -6 : 10) * (length / width);
    }
}

TEST_F(SignalSummaryFiles, GrowingFileIsSummarisedFurtherAfterARefresh)
{
    const NumericFormat format{formatLong, 8};
    const std::string path = dir.path("g.quorData");
    auto samples = writePeriodic(path, format, false, 5000, 41);
    SummaryReference before = openAndBuild(path, format.code, samples);
    checkAgainstReference(summary, before, 1, 4);

    auto grown = writePeriodic(path, format, false, 12345, 41);  // the same first 5000 values
    ASSERT_EQ(summary.refresh(), S_OK);
    EXPECT_EQ(summary.progress().total.load(), 12345);
    EXPECT_EQ(summary.progress().done.load(), 5000);
    checkAgainstReference(summary, before, 2, 4);  // nothing new until it is built
    ASSERT_EQ(summary.build(), S_OK);
    checkAgainstReference(summary, SummaryReference(SummaryReference::signedInt, grown), 3, 8);

    auto shrunk = writePeriodic(path, format, false, 700, 99);  // another recording
    ASSERT_EQ(summary.refresh(), S_OK);
    ASSERT_EQ(summary.build(), S_OK);
    checkAgainstReference(summary, SummaryReference(SummaryReference::signedInt, shrunk), 4, 4);
}

TEST_F(SignalSummaryFiles, CancelledBuildAnswersForWhatItSummarisedAndGoesOn)
{
    const NumericFormat format{formatFloat, 4};
    const std::string path = dir.path("c.quorData");
    auto samples = writePeriodic(path, format, true, 100000, 5);
    ASSERT_EQ(summary.open(path.c_str()), S_OK);
    ASSERT_EQ(summary.buildStep(1), S_FALSE);
    summary.requestCancel();
    EXPECT_EQ(summary.buildStep(1000000), E_ABORT);
    const int64_t done = summary.progress().done.load();
    ASSERT_GT(done, 0);
    ASSERT_LT(done, 100000);
    std::vector<ReferenceSample> part(samples.begin(), samples.begin() + done);
    checkAgainstReference(summary, SummaryReference(SummaryReference::real, part), 6, 4);

    summary.progress().cancel = false;
    ASSERT_EQ(summary.build(), S_OK);
    EXPECT_EQ(summary.progress().done.load(), 100000);
    checkAgainstReference(summary, SummaryReference(SummaryReference::real, samples), 7, 4);
}

TEST_F(SignalSummaryFiles, QueriesRunWhileAWorkerBuilds)
{
    const NumericFormat format{formatInt, 4};
    const std::string path = dir.path("t.quorData");
    auto samples = writePeriodic(path, format, false, 150000, 8);
    SummaryReference reference(SummaryReference::signedInt, samples);
    ASSERT_EQ(summary.open(path.c_str()), S_OK);
    std::thread worker([this] {
        while (summary.buildStep(4096) == S_FALSE) {
        }
    });
    int64_t seen = 0;
    bool failed = false;
    while (seen < 150000 && !failed) {
        RangeStats stats;
        std::vector<EnvelopeColumn> columns;
        int64_t last = 0;
        failed = summary.stats(INT64_MIN, INT64_MAX, &stats) != S_OK || stats.count < seen ||
                 (summary.lastTime(&last) && summary.envelope(5000 * kMs, last, 64, &columns) != S_OK);
        seen = stats.count;  // never fewer than before
    }
    summary.requestCancel();
    worker.join();
    ASSERT_FALSE(failed);
    summary.progress().cancel = false;
    ASSERT_EQ(summary.build(), S_OK);
    checkAgainstReference(summary, reference, 9, 4);
}

}  // namespace quor
