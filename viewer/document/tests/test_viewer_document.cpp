#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "SampleDir.h"
#include "TestFiles.h"
#include "ViewerDocument.h"

namespace quor {

namespace {

class RowTexts final : public RowSink {
public:
    void appendRow(const Text& text, bool) override { rows.push_back(text.str()); }
    std::vector<std::string> rows;
};

std::vector<std::string> pageOf(ViewerDocument& document)
{
    RowTexts rows;
    EXPECT_TRUE(document.fillPage(rows));
    return rows.rows;
}

std::string exportOf(ViewerDocument& document)
{
    BufferExportSink sink;
    EXPECT_EQ(document.exportPage(sink), S_OK);
    return sink.bytes();
}

int64_t rowTime(const std::string& row)
{
    const size_t bar = row.find('|');
    return std::stoll(row.substr(bar + 1, row.find('|', bar + 1) - bar - 1));
}

std::string headerRowStartingWith(const ViewerDocument& document, const std::string& label)
{
    std::string found;
    document.visitHeaderRows([&](const HeaderRow& row) {
        if (row.text.str().rfind(label, 0) == 0)
            found = row.text.str();
    });
    return found;
}

std::string copyOfSample(const TempDir& dir, const char* sample, const char* name)
{
    const std::string path = dir.path(name);
    std::filesystem::copy_file(samplePath(sample), path);
    return path;
}

const int64_t kStart = 3933000000000000LL;  // the samples' 045:12:30:00

}  // namespace

// Each kind of file that fails to open leaves the file open before it as it
// was: its header, its page, its export, its index check and its paging.
TEST(ViewerDocument, AFailedOpenKeepsTheFileOpenBeforeIt)
{
    TempDir dir;
    const std::string empty = dir.path("empty.quorData");
    const std::string text = dir.path("text.quorData");
    const std::string negative = dir.path("negative.LittleEndianZIBdata");
    ASSERT_TRUE(writeFile(empty, std::string()));
    ASSERT_TRUE(writeFile(text, std::string("not a data file\r\n")));
    ASSERT_TRUE(writeFile(negative, Bytes().put(int32_t(7)).put(10.0).put(int64_t(-1)).put(int64_t(0))));
    const std::string lonely = copyOfSample(dir, "async_double.quorData", "lonely.quorData");
    const std::string huge = copyOfSample(dir, "periodic_double.quorData", "huge.quorData");
    const int32_t hugeDataSize = 134217728;
    ASSERT_TRUE(writeAt(huge, 96, &hugeDataSize, sizeof hugeDataSize));

    ViewerDocument document;
    const std::string shown = samplePath("async_double.quorData");
    ASSERT_EQ(document.open(shown.c_str()), OpenFailure::none);
    ASSERT_EQ(document.pager().setPageSize(50), S_OK);
    const std::vector<std::string> page = pageOf(document);
    const std::string exported = exportOf(document);
    Text report;
    ASSERT_EQ(document.validateIndex(&report), IndexReportStatus::ok);
    const Text shownReport = report;

    const struct {
        std::string path;
        OpenFailure failure;
    } failing[] = {
        {empty, OpenFailure::unopenable},    {text, OpenFailure::unopenable},
        {lonely, OpenFailure::unopenable},   {negative, OpenFailure::unopenable},
        {huge, OpenFailure::noMemory},       {dir.path("missing.quorData"), OpenFailure::notFound},
    };
    for (const auto& attempt : failing) {
        SCOPED_TRACE(attempt.path);
        EXPECT_EQ(document.open(attempt.path.c_str()), attempt.failure);
        EXPECT_TRUE(document.isOpen());
        EXPECT_EQ(document.path(), shown);
        EXPECT_EQ(document.header().dataType, typeAsynchronous);
        EXPECT_EQ(pageOf(document), page);
        EXPECT_EQ(exportOf(document), exported);
        EXPECT_EQ(document.validateIndex(&report), IndexReportStatus::ok);
        EXPECT_EQ(report.str(), shownReport.str());
    }
    document.pager().pageForward(false);
    const std::vector<std::string> next = pageOf(document);
    ASSERT_EQ(next.size(), 50u);
    EXPECT_EQ(next[0], page[49]);
    document.pager().goTo(rowTime(page[10]));
    EXPECT_EQ(pageOf(document)[0], page[10]);
}

// After a saved Sample Rate the rows, the End Time and the page step all
// follow the new rate: paging from the start meets every sample once, in
// order. The time shown stays; a save that fails changes nothing.
TEST(ViewerDocument, ASavedHeaderIsDerivedAgainWhereThePageStands)
{
    TempDir dir;
    const std::string path = copyOfSample(dir, "periodic_int.quorData", "rate.quorData");  // 1000 at 50 Hz
    ViewerDocument document;
    ASSERT_EQ(document.open(path.c_str()), OpenFailure::none);
    ASSERT_TRUE(document.canSave());
    document.pager().goTo(kStart + 1000000000);
    ASSERT_EQ(document.saveEditedRows({Text("Sample Rate|100")}), S_OK);
    EXPECT_EQ(document.pager().currentTime(), kStart + 1000000000);
    EXPECT_EQ(document.header().sampleRate, 100.0);
    const int64_t end = kStart + 999 * 10000000LL;
    EXPECT_EQ(headerRowStartingWith(document, " End Time|").rfind(" End Time|" + std::to_string(end) + "|", 0), 0u)
        << headerRowStartingWith(document, " End Time|");

    document.pager().goTo(kStart);
    ASSERT_EQ(document.pager().setPageSize(3), S_OK);
    std::vector<int64_t> times;
    for (int turn = 0; turn < 400; ++turn) {
        const std::vector<std::string> rows = pageOf(document);
        if (rows.empty())
            break;
        for (const std::string& row : rows)
            times.push_back(rowTime(row));
        document.pager().pageForward(false);
    }
    ASSERT_EQ(times.size(), 1000u);
    for (size_t i = 0; i < times.size(); ++i)
        ASSERT_EQ(times[i], kStart + int64_t(i) * 10000000LL) << i;

    ViewerDocument legacy;
    ASSERT_EQ(legacy.open(samplePath("legacy_little.LittleEndianZIBdata").c_str()), OpenFailure::none);
    EXPECT_FALSE(legacy.canSave());
    const DataFileHeader before = legacy.header();
    const std::vector<std::string> page = pageOf(legacy);
    EXPECT_EQ(legacy.saveEditedRows({Text("Sample Rate|100")}), E_FAIL);
    EXPECT_EQ(legacy.header().sampleRate, before.sampleRate);
    EXPECT_EQ(pageOf(legacy), page);
}

}  // namespace quor
