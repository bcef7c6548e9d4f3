// The real dialog with the real grids, driven through window messages in
// this process; the grids are read through IQuorGridControl.
#include <windows.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "DataViewerDialog.h"
#include "FileFaults.h"
#include "GridCalls.h"
#include "SampleDir.h"
#include "TestFiles.h"
#include "ViewerTestSupport.h"
#include "WindowDriver.h"
#include "resource.h"

namespace quor {

namespace {

// The icon a message box shows; null for none.
HICON messageBoxIcon(HWND box)
{
    HICON icon = nullptr;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM found) -> BOOL {
            char className[16] = {};
            GetClassNameA(child, className, sizeof className);
            if (lstrcmpiA(className, "Static") != 0 || (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
                return TRUE;
            *reinterpret_cast<HICON*>(found) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&icon));
    return icon;
}

std::string copyOf(const std::string& name, const std::string& copyName)
{
    std::string target = sampleDir() + "\\" + copyName;
    CopyFileA(samplePath(name.c_str()).c_str(), target.c_str(), FALSE);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return target;
}

// The Tag ID the file's header holds on disk, or -1 when it cannot be read.
int32_t savedTagId(const std::string& path)
{
    DataFile file;
    DataFileHeader header{};
    if (FAILED(file.open(path.c_str(), 1)) || FAILED(file.getHeader(&header)))
        return -1;
    return header.tagId;
}

void appendBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

template <typename T> std::string bytesOf(T value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

bool saveScreenIfAsked(HWND window, const std::string& name)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return saveScreenNamed(name);
}

// The grid control's own window, where the mouse works on the cells.
HWND gridWindow(IQuorGridControl* grid)
{
    Microsoft::WRL::ComPtr<IOleWindow> window;
    HWND handle = nullptr;
    if (SUCCEEDED(grid->QueryInterface(IID_PPV_ARGS(&window))))
        window->GetWindow(&handle);
    return handle;
}

class ViewerTest : public ViewerFixture {
protected:
    std::vector<std::string> header() { return gridRows(dialog->headerGrid()); }
    std::vector<std::string> data() { return gridRows(dialog->dataGrid()); }
    std::string gotoText() { return windowText(GetDlgItem(window, IDC_GOTO_TIME)); }
    // What File > Export > CSV File writes for the page shown.
    std::string exportedBytes()
    {
        const std::string target = sampleDir() + "\\page_export.csv";
        DeleteFileA(target.c_str());
        FileChoice save("Save Export File", target);
        DialogAnswerer done("Success !!", pressButton(IDOK));
        sendCommand(window, ID_EXPORT_CSV);
        EXPECT_TRUE(save.wait());
        EXPECT_TRUE(done.wait());
        return fileBytes(target);
    }
    void editHeaderCell(long row, const std::string& text)
    {
        IQuorGridControl* grid = dialog->headerGrid();
        std::string rowText = cell(grid, row, 0) + "|" + text;
        Bstr tag;
        grid->getTagText(row, tag.out());
        grid->updateRow(Bstr(rowText.c_str()).get(), tag.get(), VARIANT_TRUE, VARIANT_TRUE);
    }

    // The middle of a header grid cell (row counted from 1, as the grid's
    // cell calls count); the column header band is the first line and there
    // are no row buttons.
    LPARAM headerCellPoint(long row, long column)
    {
        IQuorGridControl* grid = dialog->headerGrid();
        int left = 0;
        SHORT width = 0;
        for (long c = 0; c < column; ++c) {
            grid->getColumnWidth(c, &width);
            left += width;
        }
        grid->getColumnWidth(column, &width);
        return MAKELPARAM(left + width / 2, kGridRowHeight * row + kGridRowHeight / 2);
    }
    HWND openHeaderCellEditor(long row, long column)
    {
        HWND grid = gridWindow(dialog->headerGrid());
        SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, headerCellPoint(row, column));
        HWND edit = FindWindowExA(grid, nullptr, "QuorEditBoxObj", nullptr);
        // The open box holds the mouse: the release is its own.
        if (edit)
            SendMessageA(edit, WM_LBUTTONUP, 0, 0);
        return edit;
    }

    static const int kGridRowHeight = 20;
};

}  // namespace

TEST_F(ViewerTest, EverySampleShowsItsHeaderAndFirstPage)
{
    struct Expect {
        const char* file;
        const char* formatRow;
        const char* firstValue;
    };
    const Expect expects[] = {
        {"periodic_int.quorData", "Data Format|0|int", nullptr},
        {"periodic_discrete.quorData", "Data Format|1|discrete", "0x"},
        {"periodic_ulong.quorData", "Data Format|4|ulong", nullptr},
        {"periodic_blob.quorData", "Data Format|7|blob", nullptr},
        {"periodic_ascii.quorData", "Data Format|6|ascii", nullptr},
        {"async_double.quorData", "Data Format|5|double", "101.325000"},
        {"multiperiodic_float.quorData", "Data Format|2|float", nullptr},
        {"legacy_big.ZIBdata", nullptr, nullptr},
        {"legacy_little.LittleEndianZIBdata", nullptr, nullptr},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.file);
        start(samplePath(e.file));
        auto rows = header();
        ASSERT_GE(rows.size(), 12u);
        EXPECT_EQ(rows[0].rfind("Version|", 0), 0u);
        if (e.formatRow) {
            EXPECT_EQ(rows[5], e.formatRow);
        }
        EXPECT_EQ(rows[9], "--GeneralInfo--");
        auto page = data();
        ASSERT_FALSE(page.empty());
        EXPECT_NE(page[0], "** No Data at this time||");
        EXPECT_NE(page.size(), 0u);
        if (e.firstValue) {
            EXPECT_EQ(cell(dialog->dataGrid(), 1, 2).rfind(e.firstValue, 0), 0u) << page[0];
        }
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_BY_SEGMENT)));
        EXPECT_EQ(windowText(window), "QUOR Data Viewer - " + samplePath(e.file));
        closeViewer();
    }
}

// ">>" goes on where the page ends: a periodic page with the sample after
// its last, an asynchronous one with its last sample again. So two pages of
// 100 are a page of 200 read at once.
TEST_F(ViewerTest, ForwardAndBackReturnToTheSamePage)
{
    struct Case {
        const char* name;
        size_t secondPageStart;  // in the page of 200
    };
    for (const Case c : {Case{"periodic_int.quorData", 100}, Case{"async_double.quorData", 99}}) {
        SCOPED_TRACE(c.name);
        start(samplePath(c.name));
        // The shown time text is cut to milliseconds: go by the exact start.
        const std::string startTime = cell(dialog->headerGrid(), 4, 1);
        typeText(window, IDC_PAGE_SIZE, "200");
        typeText(window, IDC_GOTO_TIME, startTime);
        clickButton(window, IDC_GOTO);
        const auto both = data();
        ASSERT_EQ(both.size(), 200u);
        typeText(window, IDC_PAGE_SIZE, "100");
        typeText(window, IDC_GOTO_TIME, startTime);
        clickButton(window, IDC_GOTO);
        auto first = data();
        ASSERT_EQ(first.size(), 100u);
        EXPECT_EQ(first, std::vector<std::string>(both.begin(), both.begin() + 100));
        const std::string firstTime = gotoText();
        clickButton(window, IDC_NEXT_PAGE);
        const size_t secondPageEnd = c.secondPageStart + 100;
        EXPECT_EQ(data(), std::vector<std::string>(both.begin() + c.secondPageStart, both.begin() + secondPageEnd));
        EXPECT_NE(gotoText(), firstTime);
        clickButton(window, IDC_PREVIOUS_PAGE);
        EXPECT_EQ(gotoText(), firstTime);
        EXPECT_EQ(data(), first);
        closeViewer();
    }
}

// The sample's three runs start at 045:12:30:00, :03 and :06.
const char* const kSegmentStarts[] = {"3933000000000000", "3933003000000000", "3933006000000000"};

TEST_F(ViewerTest, BySegmentPagesFromSegmentStartToSegmentStart)
{
    start(samplePath("multiperiodic_float.quorData"));
    auto rows = header();
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[12], "--MultiPeriodic Info--");
    EXPECT_EQ(rows[14].rfind(std::string(kSegmentStarts[0]) + "|3933001990000000|", 0), 0u) << rows[14];
    LONG edited = -1;
    dialog->headerGrid()->getNumberOfEditedRows(&edited);
    EXPECT_EQ(edited, 0);

    SendDlgItemMessageA(window, IDC_BY_SEGMENT, BM_SETCHECK, BST_CHECKED, 0);
    for (size_t press = 1; press <= 3; ++press) {
        clickButton(window, IDC_NEXT_PAGE);
        const size_t expected = press < 3 ? press : 2;
        auto page = data();
        ASSERT_GE(page.size(), 2u);
        EXPECT_EQ(page[0], "-Start Segment-||");
        EXPECT_NE(page[1].find(std::string("|") + kSegmentStarts[expected] + "|"), std::string::npos) << press;
    }
    clickButton(window, IDC_PREVIOUS_PAGE);
    EXPECT_NE(data()[1].find(std::string("|") + kSegmentStarts[1] + "|"), std::string::npos);
    EXPECT_TRUE(saveScreenIfAsked(window, "viewer-by-segment.bmp"));
}

// An Open that fails, of every kind, leaves the file shown open and in
// charge: its title, its page, ">>", "Goto:", the export, Validate Index
// File and its plot go on with it; "<<" and ">>" page by its segments.
TEST_F(ViewerTest, AfterAFailedOpenTheFileShownIsStillTheOneWorkedOn)
{
    const std::string broken = sampleDir() + "\\broken_open.quorData";
    { std::ofstream(broken, std::ios::binary) << "not a data file"; }
    const std::string empty = sampleDir() + "\\empty_open.quorData";
    { std::ofstream(empty, std::ios::binary); }
    const std::string lonely = copyOf("async_double.quorData", "lonely_open.quorData");  // no index beside it
    const std::string negative = sampleDir() + "\\negative_open.LittleEndianZIBdata";
    {
        std::ofstream(negative, std::ios::binary)
            << bytesOf(int32_t(7)) << bytesOf(10.0) << bytesOf(int64_t(-1)) << bytesOf(int64_t(0));
    }
    const std::string shown = samplePath("async_double.quorData");
    start(shown);
    typeText(window, IDC_PAGE_SIZE, "50");
    typeText(window, IDC_GOTO_TIME, cell(dialog->headerGrid(), 4, 1));  // the exact Start Time
    clickButton(window, IDC_GOTO);
    const auto page = data();
    clickButton(window, IDC_NEXT_PAGE);
    const auto next = data();
    ASSERT_NE(next, page);
    clickButton(window, IDC_PREVIOUS_PAGE);
    const std::string exported = exportedBytes();
    ASSERT_FALSE(exported.empty());
    sendCommand(window, ID_TOOLS_PLOT);
    ASSERT_TRUE(dialog->plotWindow());

    // The first through File > Open, the others dropped (which opens as File
    // > Open does), sparing a file dialog each.
    for (const std::string& path : {broken, empty, lonely, negative}) {
        SCOPED_TRACE(path);
        {
            DialogAnswerer failed("Open QUOR Data File", pressButton(IDOK), 2);
            if (path == broken) {
                FileChoice open("Select QUOR Data File", path);
                sendCommand(window, ID_FILE_OPEN);
                EXPECT_TRUE(open.wait());
            } else {
                SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({path})), 0);
            }
            EXPECT_TRUE(failed.wait());
        }
        EXPECT_EQ(windowText(window), "QUOR Data Viewer - " + shown);
        ASSERT_TRUE(dialog->plotWindow());
        EXPECT_EQ(dialog->plotWindow()->path(), shown);
        EXPECT_EQ(data(), page);
        clickButton(window, IDC_NEXT_PAGE);
        EXPECT_EQ(data(), next);
        typeText(window, IDC_GOTO_TIME, cell(dialog->headerGrid(), 4, 1));
        clickButton(window, IDC_GOTO);
        EXPECT_EQ(data(), page);
    }
    // A failed open that lost the file could not give it back to a later one.
    EXPECT_EQ(exportedBytes(), exported);
    {
        DialogAnswerer report("Validate Index", pressButton(IDOK));
        sendCommand(window, ID_TOOLS_VALIDATE_INDEX);
        EXPECT_NE(report.text().find("Match the Data File Header: YES !"), std::string::npos) << report.text();
    }
    closeViewer();

    start(samplePath("multiperiodic_float.quorData"));
    {
        FileChoice open("Select QUOR Data File", broken);
        DialogAnswerer failed("Open QUOR Data File", pressButton(IDOK), 2);
        sendCommand(window, ID_FILE_OPEN);
        EXPECT_TRUE(failed.wait());
    }
    SendDlgItemMessageA(window, IDC_BY_SEGMENT, BM_SETCHECK, BST_CHECKED, 0);
    clickButton(window, IDC_NEXT_PAGE);
    EXPECT_EQ(gotoText(), "045:12:30:03.000");
    clickButton(window, IDC_NEXT_PAGE);
    clickButton(window, IDC_PREVIOUS_PAGE);
    EXPECT_EQ(gotoText(), "045:12:30:03.000");
    {
        DialogAnswerer report("Validate Index", pressButton(IDOK));
        sendCommand(window, ID_TOOLS_VALIDATE_INDEX);
        EXPECT_NE(report.text().find("Periodic files do not have an index file"), std::string::npos);
    }
}

// A saved Sample Rate takes effect at once, where the page stands: the
// End Time row is that of the new rate, and paging from the start meets
// every sample once, in order, without a gap.
TEST_F(ViewerTest, ASavedSampleRateIsTheOnePagedBy)
{
    const std::string path = copyOf("periodic_int.quorData", "rate.quorData");  // 1000 samples at 50 Hz
    const int64_t start0 = 3933000000000000LL;
    start(path);
    typeText(window, IDC_GOTO_TIME, "045:12:30:01.000");
    clickButton(window, IDC_GOTO);
    editHeaderCell(3, "100");
    {
        DialogAnswerer yes("", pressButton(IDYES));
        sendCommand(window, ID_FILE_SAVE);
        EXPECT_TRUE(yes.wait());
    }
    EXPECT_EQ(gotoText(), "045:12:30:01.000");
    EXPECT_EQ(cell(dialog->dataGrid(), 1, 1), "3933001000000000");
    EXPECT_EQ(cell(dialog->headerGrid(), 3, 1), "100.000000");
    EXPECT_EQ(cell(dialog->headerGrid(), 5, 1), std::to_string(start0 + 999 * 10000000LL));

    typeText(window, IDC_PAGE_SIZE, "3");
    typeText(window, IDC_GOTO_TIME, "045:12:30:00.000");
    clickButton(window, IDC_GOTO);
    std::vector<int64_t> times;
    for (int turn = 0; turn < 400; ++turn) {
        const auto rows = data();
        if (rows.empty())
            break;
        for (const std::string& row : rows)
            times.push_back(std::stoll(row.substr(row.find('|') + 1)));
        clickButton(window, IDC_NEXT_PAGE);
    }
    ASSERT_EQ(times.size(), 1000u);
    for (size_t i = 0; i < times.size(); ++i)
        ASSERT_EQ(times[i], start0 + int64_t(i) * 10000000LL) << i;
}

TEST_F(ViewerTest, GotoTakesColonTimesSecondsNanosecondsAndAPageSize)
{
    start(samplePath("periodic_int.quorData"));  // 50 samples per second from 045:12:30:00
    typeText(window, IDC_GOTO_TIME, "045:12:30:01.000");
    clickButton(window, IDC_GOTO);
    EXPECT_EQ(cell(dialog->dataGrid(), 1, 1), "3933001000000000");
    typeText(window, IDC_GOTO_TIME, "3933002.011");
    clickButton(window, IDC_GOTO);
    EXPECT_EQ(cell(dialog->dataGrid(), 1, 1), "3933002000000000");
    EXPECT_EQ(gotoText(), "045:12:30:02.000");
    typeText(window, IDC_GOTO_TIME, "3933003030000000");
    typeText(window, IDC_PAGE_SIZE, "10");
    clickButton(window, IDC_GOTO);
    EXPECT_EQ(cell(dialog->dataGrid(), 1, 1), "3933003020000000");
    EXPECT_EQ(data().size(), 10u);
    EXPECT_EQ(windowText(GetDlgItem(window, IDC_PAGE_SIZE)), "10");

    typeText(window, IDC_PAGE_SIZE, "0");
    clickButton(window, IDC_GOTO);
    EXPECT_EQ(windowText(GetDlgItem(window, IDC_PAGE_SIZE)), "10");
    EXPECT_EQ(data().size(), 10u);
}

TEST_F(ViewerTest, HeaderEditIsSavedAfterYesAndLeftAloneAfterNo)
{
    const std::string path = copyOf("periodic_int.quorData", "edited.quorData");
    start(path);
    editHeaderCell(2, "4242");
    {
        DialogAnswerer no("", pressButton(IDNO));
        sendCommand(window, ID_FILE_SAVE);
        EXPECT_NE(no.text().find("Save Header Changes ?"), std::string::npos);
    }
    EXPECT_EQ(savedTagId(path), 101);
    {
        DialogAnswerer yes("", pressButton(IDYES));
        sendCommand(window, ID_FILE_SAVE);
        EXPECT_TRUE(yes.wait());
    }
    EXPECT_EQ(savedTagId(path), 4242);
    LONG edited = -1;
    dialog->headerGrid()->getNumberOfEditedRows(&edited);
    EXPECT_EQ(edited, 0);
}

TEST_F(ViewerTest, ReadOnlyAndLegacyFilesGraySaveAndAFailedSaveSaysSo)
{
    const std::string path = copyOf("periodic_int.quorData", "readonly.quorData");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    start(path);
    HMENU menu = GetMenu(window);
    EXPECT_TRUE(GetMenuState(menu, ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED);
    editHeaderCell(2, "7");
    {
        DialogAnswerer yes("", pressButton(IDYES));
        DialogAnswerer failed("Save Header", pressButton(IDOK));
        sendCommand(window, ID_FILE_SAVE);
        EXPECT_TRUE(yes.wait());
        EXPECT_NE(failed.text().find("Unable to Save Header Changes: " + path), std::string::npos);
    }
    closeViewer();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    start(samplePath("legacy_little.LittleEndianZIBdata"));
    EXPECT_TRUE(GetMenuState(GetMenu(window), ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED);
    closeViewer();
    start(samplePath("periodic_int.quorData"));
    EXPECT_FALSE(GetMenuState(GetMenu(window), ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED);
}

// A file that is not marked read-only but refuses writers opens for reading
// with Save grayed: one another program holds against writing, and one on
// a read-only mount (made by the test script where it can be).
TEST_F(ViewerTest, AFileThatRefusesWritersOpensReadOnlyWithSaveGrayed)
{
    const std::string held = copyOf("periodic_int.quorData", "held.quorData");
    {
        std::unique_ptr<void, decltype(&CloseHandle)> holder(
            CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr), &CloseHandle);
        ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
        start(held);
        EXPECT_EQ(windowText(window), "QUOR Data Viewer - " + held);
        EXPECT_EQ(data().size(), 500u);
        EXPECT_TRUE(GetMenuState(GetMenu(window), ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED);
        closeViewer();
    }
    char media[MAX_PATH] = "", source[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("QUOR_READONLY_DIR", media, MAX_PATH) ||
        !GetEnvironmentVariableA("QUOR_READONLY_SOURCE", source, MAX_PATH))
        GTEST_SKIP() << "no read-only mount here";
    const std::string written = std::string(source) + "\\media.quorData";
    ASSERT_TRUE(CopyFileA(samplePath("periodic_int.quorData").c_str(), written.c_str(), FALSE));
    const std::string onMedia = std::string(media) + "\\media.quorData";
    std::unique_ptr<void, decltype(&CloseHandle)> writer(
        CreateFileA(onMedia.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr),
        &CloseHandle);
    if (writer.get() != INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "the mount takes writes";
    writer.release();
    EXPECT_FALSE(GetFileAttributesA(onMedia.c_str()) & FILE_ATTRIBUTE_READONLY);
    start(onMedia);
    EXPECT_EQ(windowText(window), "QUOR Data Viewer - " + onMedia);
    EXPECT_EQ(data().size(), 500u);
    EXPECT_TRUE(GetMenuState(GetMenu(window), ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED);
    closeViewer();
    DeleteFileA(written.c_str());
}

TEST_F(ViewerTest, AFileThatCannotBeOpenedShowsBothMessages)
{
    const std::string path = sampleDir() + "\\broken.quorData";
    { std::ofstream(path, std::ios::binary) << "not a data file"; }
    DialogAnswerer boxes("Open QUOR Data File", pressButton(IDOK), 2);
    start(path);
    EXPECT_TRUE(boxes.wait());
    EXPECT_NE(boxes.text().find("Unable to Open: " + path + "\n"), std::string::npos) << boxes.text();
    EXPECT_NE(boxes.text().find("Unable to Open File: " + path), std::string::npos);
    EXPECT_EQ(windowText(window), "QUOR Data Viewer");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_BY_SEGMENT)));
}

TEST_F(ViewerTest, AHeaderWithAHugeDataSizeCannotBeAllocated)
{
    // A copy of a sample whose header claims 134217728 bytes per value.
    const std::string huge = samplePath("huge_data_size.quorData");
    ASSERT_TRUE(CopyFileA(samplePath("periodic_double.quorData").c_str(), huge.c_str(), FALSE));
    {
        std::fstream file(huge, std::ios::in | std::ios::out | std::ios::binary);
        const int32_t dataSize = 134217728;
        file.seekp(96);
        file.write(reinterpret_cast<const char*>(&dataSize), sizeof dataSize);
    }
    DialogAnswerer box("Open QUOR Data File", pressButton(IDOK));
    start(huge);
    EXPECT_NE(box.text().find("Unable to Open File: "), std::string::npos);
    auto rows = header();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), "Unable to Allocate Memory");
    // The row counts as an edit: leaving asks, and No leaves the file alone.
    DialogAnswerer ask("", pressButton(IDNO));
    clickButton(window, IDCANCEL);
    EXPECT_NE(ask.text().find("Save Header Changes ?"), std::string::npos);
}

TEST_F(ViewerTest, OpenDialogChoosesAnotherFileAndCloseEmptiesTheGrids)
{
    start(samplePath("periodic_int.quorData"));
    {
        FileChoice open("Select QUOR Data File", samplePath("async_double.quorData"));
        sendCommand(window, ID_FILE_OPEN);
        EXPECT_TRUE(open.wait());
    }
    EXPECT_EQ(header()[7], "Data Type|1|Asynchronous");
    sendCommand(window, ID_FILE_CLOSE);
    EXPECT_TRUE(header().empty());
    EXPECT_TRUE(data().empty());
    EXPECT_EQ(windowText(window), "QUOR Data Viewer");
    clickButton(window, IDC_NEXT_PAGE);  // no file: the no-data row
    EXPECT_EQ(data(), std::vector<std::string>{"** No Data at this time||"});
}

// The page that quordata's golden file holds (Goto 045:12:30:01.95, 110
// samples across a gap of the multi-periodic sample): the same bytes.
TEST_F(ViewerTest, ExportWritesTheGoldenBytesOfItsPage)
{
    start(samplePath("multiperiodic_float.quorData"));
    typeText(window, IDC_PAGE_SIZE, "110");
    typeText(window, IDC_GOTO_TIME, "045:12:30:01.95");
    clickButton(window, IDC_GOTO);
    const std::string target = sampleDir() + "\\export.csv";
    DeleteFileA(target.c_str());
    {
        FileChoice save("Save Export File", target);
        DialogAnswerer done("Success !!", pressButton(IDOK));
        sendCommand(window, ID_EXPORT_CSV);
        EXPECT_TRUE(save.wait());
        EXPECT_NE(done.text().find("File is: "), std::string::npos);
    }
    const std::string expected = fileBytes(std::string(QUOR_GOLDEN_DIR) + "/multi_across_gap.csv");
    ASSERT_NE(expected.find("-End Segment-"), std::string::npos);
    EXPECT_EQ(fileBytes(target), expected);
}

TEST_F(ViewerTest, ValidationReportsAGoodAndABadIndex)
{
    start(samplePath("async_double.quorData"));
    {
        DialogAnswerer report("Validate Index", pressButton(IDOK));
        sendCommand(window, ID_TOOLS_VALIDATE_INDEX);
        EXPECT_NE(report.text().find("Match the Data File Header: YES !"), std::string::npos) << report.text();
        EXPECT_NE(report.text().find("Increasing in Value: YES !"), std::string::npos);
    }
    closeViewer();

    // An index whose last two times are equal.
    const std::string data = copyOf("async_double.quorData", "badindex.quorData");
    const std::string index = copyOf("async_double.quorIndex", "badindex.quorIndex");
    std::string bytes = fileBytes(index);
    bytes.replace(bytes.size() - 16, 8, bytes.substr(bytes.size() - 8));
    { std::ofstream(index, std::ios::binary) << bytes; }
    start(data);
    DialogAnswerer report("Validate Index", pressButton(IDOK));
    sendCommand(window, ID_TOOLS_VALIDATE_INDEX);
    EXPECT_NE(report.text().find("Increasing in Value: NO !"), std::string::npos) << report.text();
    closeViewer();

    start(samplePath("periodic_int.quorData"));
    DialogAnswerer periodic("Validate Index", pressButton(IDOK));
    sendCommand(window, ID_TOOLS_VALIDATE_INDEX);
    EXPECT_NE(periodic.text().find("Periodic files do not have an index file"), std::string::npos);
}

TEST_F(ViewerTest, ALaterShowingDoesNotReloadTheFile)
{
    start(samplePath("periodic_int.quorData"));
    clickButton(window, IDC_NEXT_PAGE);
    const std::string time = gotoText();
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, SW_SHOW);
    EXPECT_EQ(gotoText(), time);
}

TEST_F(ViewerTest, AHeaderCellTypedInPlaceIsSaved)
{
    const std::string path = copyOf("periodic_int.quorData", "typed.quorData");
    start(path);
    ASSERT_EQ(cell(dialog->headerGrid(), 2, 1), "101");
    HWND edit = openHeaderCellEditor(2, 1);
    ASSERT_TRUE(edit);
    EXPECT_EQ(windowText(edit), "101");
    SetWindowTextA(edit, "4343");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    pumpMessages();
    EXPECT_EQ(cell(dialog->headerGrid(), 2, 1), "4343");
    {
        DialogAnswerer yes("", pressButton(IDYES));
        sendCommand(window, ID_FILE_SAVE);
        EXPECT_TRUE(yes.wait());
    }
    EXPECT_EQ(savedTagId(path), 4343);
}

// A recording in progress: samples appended to both files after the open
// become reachable by paging.
TEST_F(ViewerTest, AGrowingRecordingIsPagedIntoAsItGrows)
{
    const std::string path = copyOf("async_double.quorData", "growing.quorData");
    const std::string index = copyOf("async_double.quorIndex", "growing.quorIndex");
    start(path);
    clickButton(window, IDC_NEXT_PAGE);
    clickButton(window, IDC_NEXT_PAGE);
    const std::string lastPageStart = cell(dialog->dataGrid(), 0, 1);
    ASSERT_EQ(data().size(), 2u);  // samples 998 and 999 of 1000

    // More than the 8000 bytes of index growth after which a seek looks again.
    const std::string indexBytes = fileBytes(index);
    int64_t time = 0;
    std::memcpy(&time, indexBytes.data() + indexBytes.size() - 8, 8);
    std::string values, times;
    for (int k = 0; k < 1200; ++k) {
        time += 7000000;
        values += bytesOf(static_cast<double>(k));
        times += bytesOf(time);
    }
    appendBytes(path, values);
    appendBytes(index, times);

    clickButton(window, IDC_NEXT_PAGE);  // the short page stays, read again
    EXPECT_EQ(cell(dialog->dataGrid(), 0, 1), lastPageStart);
    auto grown = data();
    ASSERT_EQ(grown.size(), 500u);
    clickButton(window, IDC_NEXT_PAGE);
    EXPECT_EQ(data().front(), grown.back());
    EXPECT_EQ(data().size(), 500u);
    clickButton(window, IDC_PREVIOUS_PAGE);
    EXPECT_EQ(data(), grown);
}

// The header grid as a user edits it: a cell open in its edit box with the
// typed text, and the cell menu opened over the grid beside it. With
// QUOR_SCREENSHOT_DIR set, the screen is saved there while the menu is open.
TEST_F(ViewerTest, TheHeaderGridKeepsItsEditorOpenUnderTheCellMenu)
{
    start(copyOf("periodic_int.quorData", "menu.quorData"));
    const std::string before = cell(dialog->headerGrid(), 1, 1);
    HWND edit = openHeaderCellEditor(1, 1);
    ASSERT_TRUE(edit);
    SetWindowTextA(edit, "QUOR test header");
    SendMessageA(edit, EM_SETSEL, 0, -1);
    bool saved = false;
    {
        // Taken while the menu is open, without a repaint under it.
        MenuChooser look(gridWindow(dialog->headerGrid()), 0,
                         [&](HMENU) { saved = saveScreenNamed("header-edit-menu.bmp"); });
        SendMessageA(gridWindow(dialog->headerGrid()), WM_RBUTTONUP, 0, headerCellPoint(3, 2));
        look.wait();
        EXPECT_TRUE(look.chose());
        EXPECT_EQ(look.items(), 7);
    }
    EXPECT_TRUE(saved);
    EXPECT_EQ(windowText(edit), "QUOR test header");
    SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    pumpMessages();
    EXPECT_EQ(cell(dialog->headerGrid(), 1, 1), before);
}

// Close and Open replace the shown header: its edits are offered first.
TEST_F(ViewerTest, CloseAndOpenAskAboutHeaderEditsFirst)
{
    const std::string path = copyOf("periodic_int.quorData", "closing.quorData");
    start(path);
    editHeaderCell(2, "5151");
    {
        DialogAnswerer yes("", pressButton(IDYES));
        sendCommand(window, ID_FILE_CLOSE);
        EXPECT_NE(yes.text().find("Save Header Changes ?"), std::string::npos);
    }
    EXPECT_TRUE(header().empty());
    EXPECT_EQ(savedTagId(path), 5151);

    {
        FileChoice open("Select QUOR Data File", path);
        sendCommand(window, ID_FILE_OPEN);
        EXPECT_TRUE(open.wait());
    }
    editHeaderCell(2, "6262");
    {
        DialogAnswerer no("", pressButton(IDNO));
        FileChoice open("Select QUOR Data File", samplePath("async_double.quorData"));
        sendCommand(window, ID_FILE_OPEN);
        EXPECT_TRUE(no.wait());
        EXPECT_TRUE(open.wait());
    }
    EXPECT_EQ(header()[7], "Data Type|1|Asynchronous");
    EXPECT_EQ(savedTagId(path), 5151);
}

// A periodic file read as one run: the grid and the export count their row
// times from the page's start, off the sample grid and before 0 too.
TEST_F(ViewerTest, RowsOfASingleRunCountFromTheTimeOfThePage)
{
    const std::string path = sampleDir() + "\\offgrid.quorData";
    ASSERT_TRUE(writeOffGridInts(path));
    start(path);
    EXPECT_EQ(data(), (std::vector<std::string>{"000:00:00:-2.-500|-2500000000|10", "000:00:00:-1.-500|-1500000000|11",
                                                "000:00:00:00.-500|-500000000|12", "000:00:00:00.500|500000000|13"}));
    typeText(window, IDC_GOTO_TIME, "-5");
    clickButton(window, IDC_GOTO);
    EXPECT_EQ(data(), (std::vector<std::string>{"000:00:00:00.000|-5|12", "000:00:00:00.999|999999995|13"}));

    const std::string target = sampleDir() + "\\offgrid.csv";
    {
        FileChoice save("Save Export File", target);
        DialogAnswerer done("Success !!", pressButton(IDOK));
        sendCommand(window, ID_EXPORT_CSV);
        EXPECT_TRUE(done.wait());
    }
    const std::string bytes = fileBytes(target);
    EXPECT_EQ(bytes.substr(bytes.find("--Begin Data--")),
              "--Begin Data--\r\n000:00:00:00.000,-5,12\r\n000:00:00:00.999,999999995,13\r\n");
}

// The export replaces its target only once it is whole: a disk that fills
// up midway or a read-only file leaves the old file byte for byte.
TEST_F(ViewerTest, AFailedExportIsReportedAndLeavesTheOldFile)
{
    start(samplePath("periodic_int.quorData"));
    const std::string target = sampleDir() + "\\full.csv";
    const std::string old = "an earlier export\r\n";
    { std::ofstream(target, std::ios::binary) << old; }
    auto exportFailsWith = [&](const std::string& message) {
        HICON icon = nullptr;
        FileChoice save("Save Export File", target);
        DialogAnswerer failed("Create Export File", [&icon](HWND box) {
            icon = messageBoxIcon(box);
            pressButton(IDOK)(box);
        });
        sendCommand(window, ID_EXPORT_CSV);
        EXPECT_TRUE(save.wait());
        EXPECT_EQ(failed.text().rfind(message, 0), 0u) << failed.text();
        return icon;
    };
    {
        FileFaults full;
        full.failingWrite = 1;
        full.failingWriteKeeps = 200;
        ScopedFileFaults scope(full);
        EXPECT_EQ(exportFailsWith("Unable To Write File: " + target), LoadIcon(nullptr, IDI_HAND));
    }
    EXPECT_EQ(fileBytes(target), old);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(exportFailsWith("Unable To Open File"), nullptr);
    EXPECT_EQ(fileBytes(target), old);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    WIN32_FIND_DATAA found{};
    HANDLE stray = FindFirstFileA((target + ".*.tmp").c_str(), &found);
    EXPECT_EQ(stray, INVALID_HANDLE_VALUE);
    if (stray != INVALID_HANDLE_VALUE)
        FindClose(stray);
}

// Text typed into a header cell and left open when another file is opened
// is offered for the first file's save, and never reaches the new file's rows.
TEST_F(ViewerTest, AnOpenHeaderEditGoesToTheFirstFileOnOpen)
{
    const std::string path = copyOf("periodic_int.quorData", "openedit.quorData");
    start(path);
    HWND edit = openHeaderCellEditor(2, 1);
    ASSERT_TRUE(edit);
    SetWindowTextA(edit, "4848");
    {
        DialogAnswerer yes("", pressButton(IDYES));
        FileChoice open("Select QUOR Data File", samplePath("async_double.quorData"));
        sendCommand(window, ID_FILE_OPEN);
        EXPECT_NE(yes.text().find("Save Header Changes ?"), std::string::npos);
        EXPECT_TRUE(open.wait());
    }
    EXPECT_EQ(savedTagId(path), 4848);
    EXPECT_EQ(header()[7], "Data Type|1|Asynchronous");
    dialog->headerGrid()->CompleteEdit();
    for (const std::string& row : header())
        EXPECT_EQ(row.find("4848"), std::string::npos) << row;
    LONG edited = -1;
    dialog->headerGrid()->getNumberOfEditedRows(&edited);
    EXPECT_EQ(edited, 0);
}

}  // namespace quor
