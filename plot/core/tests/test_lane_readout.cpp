// A lane's readout row against what the tool prints for the same file and
// range: the table and `quordata` must never disagree.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

#include "LaneReadout.h"
#include "TestFiles.h"

namespace quor {

namespace {

const int64_t kSecond = 1000000000;

#ifdef QUOR_QUORDATA
// The tool's output lines, split into their fields.
std::vector<std::vector<std::string>> toolLines(const std::string& arguments)
{
    std::vector<std::vector<std::string>> rows;
    const std::string command = std::string("\"") + QUOR_QUORDATA + "\" " + arguments;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    char line[1024];
    while (pipe && std::fgets(line, sizeof line, pipe.get())) {
        std::vector<std::string> fields(1);
        for (const char* c = line; *c && *c != '\n' && *c != '\r'; ++c) {
            if (*c == ',')
                fields.emplace_back();
            else
                fields.back() += *c;
        }
        rows.push_back(fields);
    }
    return rows;
}

// Keyed by their first field.
std::map<std::string, std::vector<std::string>> toolRows(const std::string& arguments)
{
    std::map<std::string, std::vector<std::string>> rows;
    for (const auto& fields : toolLines(arguments))
        rows[fields[0]] = fields;
    return rows;
}

std::string ns(int64_t time) { return std::to_string(time); }

// The tool's statistics for the file times [from, to] equal the row's.
void expectStatsOfTool(const LaneReadout& row, const std::string& path, int64_t from, int64_t to)
{
    auto tool = toolRows("stats \"" + path + "\" --from " + ns(from) + " --to " + ns(to));
    ASSERT_EQ(tool["Samples"].size(), 2u);
    EXPECT_EQ(row.samples, tool["Samples"][1]);
    EXPECT_EQ(row.minimum, tool["Minimum"].at(1));
    EXPECT_EQ(row.maximum, tool["Maximum"].at(1));
    EXPECT_EQ(row.mean, tool["Mean"].at(1));
    EXPECT_EQ(row.rms, tool["RMS"].at(1));
}

// The value the row shows for a cursor is the export's text of the sample
// at its file time.
void expectExportValue(const std::string& value, const std::string& path, int64_t sampleTime)
{
    bool found = false, data = false;
    for (const auto& row : toolLines("export \"" + path + "\" --from " + ns(sampleTime) + " --count 1")) {
        if (data && row.size() == 3 && row[1] == ns(sampleTime)) {
            EXPECT_EQ(value, row[2]);
            found = true;
        }
        data = data || row[0] == "--Begin Data--";
    }
    EXPECT_TRUE(found) << "no export row at " << sampleTime;
}
#endif

class LaneReadoutTest : public ::testing::Test {
protected:
    void openLane(const std::string& path)
    {
        ASSERT_EQ(lane.open(path, nullptr), S_OK);
        // The summary is built on the lane's worker; the row is read once it is done.
        while (lane.reading())
            std::this_thread::yield();
        ASSERT_TRUE(lane.summarised());
    }

    TempDir dir;
    LaneRecording lane;
    PlotCursors cursors;
};

}  // namespace

// A float lane shifted by +1.5 s: cursors at shown times read the file at
// those times less the offset; the sample times shown are shifted back.
// Until both cursors have a sample there is no difference.
TEST_F(LaneReadoutTest, ShiftedFloatLaneMatchesTheTool)
{
    Bytes values;
    for (int k = 0; k < 200; ++k)
        values.put<float>(float(std::sin(k * 0.37) * 1000.0 + k / 7.0));
    const std::string path = dir.path("shifted.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatFloat, 4, 10.0), values));
    openLane(path);
    LaneSettings settings;
    settings.path = path;
    settings.offset = 1500000000;

    cursors.place(false, 1 * kSecond);  // before the lane's first (shifted) sample
    cursors.place(true, 9 * kSecond + 340000000);
    LaneReadout row = laneReadout(lane, settings, cursors, true);
    EXPECT_EQ(row.label, "shifted.quorData  Tag 42 +1.5 s (linked)");
    EXPECT_EQ(row.valueA, "");
    EXPECT_EQ(row.timeA, "");
    EXPECT_EQ(row.deltaValue, "");
    EXPECT_EQ(row.timeB, "000:00:00:09.300000000");  // file sample 78 at 7.8 s, shown at 9.3 s

    cursors.place(false, 2 * kSecond + 50000000);
    row = laneReadout(lane, settings, cursors, false);
    EXPECT_EQ(row.timeA, "000:00:00:02.000000000");
    EXPECT_EQ(row.label.find(kLinkedMark), std::string::npos);
    LaneSample a, b;
    ASSERT_TRUE(lane.sampleAtOrBefore(550000000, a));
    ASSERT_TRUE(lane.sampleAtOrBefore(7840000000, b));
    char delta[40];
    std::snprintf(delta, sizeof delta, "%.9g", b.value - a.value);
    EXPECT_EQ(row.deltaValue, delta);
#ifdef QUOR_QUORDATA
    expectStatsOfTool(row, path, 550000000, 7840000000);
    expectExportValue(row.valueA, path, 500000000);
    expectExportValue(row.valueB, path, 7800000000);
#endif
}

// Segments [0, 9 s] and [20 s, 29 s] at 1 Hz: A in the gap reads the last
// sample before it (9 s), and the range holds only the samples inside the
// segments, not the gap rows a page read fills in.
TEST_F(LaneReadoutTest, MultiPeriodicGapUnderACursorMatchesTheTool)
{
    Bytes values;
    for (int32_t i = 0; i < 10; ++i)
        values.put<int32_t>(i * i - 40);
    for (int32_t i = 20; i < 30; ++i)
        values.put<int32_t>(1000 - i);
    const std::string path = dir.path("segments.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatInt, 4, 1.0), values));
    ASSERT_TRUE(writeSegmentIndex(dir.path("segments.quorIndex"), "0 9000000000 1024\n20000000000 29000000000 1064\n"));
    openLane(path);
    LaneSettings settings;
    settings.path = path;
    settings.offset = -3 * kSecond;
    cursors.place(true, 11 * kSecond + 500000000);  // file time 14.5 s, in the gap
    cursors.place(false, 22 * kSecond + 200000000);  // file time 25.2 s; B before A
    const LaneReadout row = laneReadout(lane, settings, cursors, false);
    EXPECT_EQ(row.valueB, "41");
    EXPECT_EQ(row.timeB, "000:00:00:06.000000000");
    EXPECT_EQ(row.valueA, "975");
    EXPECT_EQ(row.deltaValue, "-934");
    EXPECT_EQ(row.samples, "6");
#ifdef QUOR_QUORDATA
    expectStatsOfTool(row, path, 14500000000, 25200000000);
    expectExportValue(row.valueB, path, 9 * kSecond);
    expectExportValue(row.valueA, path, 25 * kSecond);
#endif
}

// 64-bit integers near 2^63 lose their low bits in a double: the difference
// of two ulong samples is taken whole, and a time before zero is signed once.
TEST_F(LaneReadoutTest, UlongDifferenceIsExactNearTwoToThe63)
{
    Bytes values;
    const uint64_t high = uint64_t(1) << 63;
    for (uint64_t k = 0; k < 8; ++k)
        values.put<uint64_t>(high + k * 1953);
    const std::string path = dir.path("ulong.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatUlong, 8, 1.0), values));
    openLane(path);
    LaneSettings settings;
    settings.path = path;
    settings.offset = -4800000000;
    cursors.place(false, -4800000000);
    cursors.place(true, -2800000000);
    const LaneReadout row = laneReadout(lane, settings, cursors, false);
    EXPECT_EQ(row.deltaValue, "3906");
    EXPECT_EQ(row.valueB, "9223372036854779714");
    EXPECT_EQ(row.timeA, "-000:00:00:04.800000000");
    EXPECT_EQ(row.samples, "3");
}

// Every recording made lowers the others' share of the one budget; a lane
// still being read when its share drops goes on to the end.
TEST(LaneRecordingBudget, LanesShareOneBudgetAndAReadingLaneGoesOn)
{
    TempDir dir;
    Bytes values;
    const int count = 2500000;  // more than one step of the worker: still reading when the others come
    for (int k = 0; k < count; ++k)
        values.put<float>(float(k % 1000));
    const std::string path = dir.path("long.quorData");
    ASSERT_TRUE(writeNative(path, nativeHeader(formatFloat, 4, 1000.0), values));
    LaneRecording first;
    EXPECT_EQ(first.maxBlocks(), int32_t(SignalSummary::kMaxBlocks));
    ASSERT_EQ(first.open(path, nullptr), S_OK);
    std::vector<std::unique_ptr<LaneRecording>> others;
    for (int k = 1; k < LaneList::kMostLanes; ++k)
        others.emplace_back(new LaneRecording);
    const int32_t share = LaneRecording::kWorkspaceBlocks / LaneList::kMostLanes;
    EXPECT_EQ(first.maxBlocks(), share);
    for (const auto& other : others)
        EXPECT_EQ(other->maxBlocks(), share);
    while (first.reading())
        std::this_thread::yield();
    LaneStats stats;
    ASSERT_TRUE(first.summarised());
    ASSERT_TRUE(first.stats(INT64_MIN, INT64_MAX, stats));
    EXPECT_EQ(stats.count, count);
    EXPECT_EQ(stats.maximum, "999.000000");
    others.clear();
    // Blocks never split again: a lane keeps the share it came down to.
    LaneRecording second;
    EXPECT_EQ(second.maxBlocks(), int32_t(SignalSummary::kMaxBlocks));
    EXPECT_EQ(first.maxBlocks(), share);
}

}  // namespace quor
