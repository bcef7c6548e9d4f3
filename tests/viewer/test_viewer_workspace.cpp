// The plot workspace under Wine with the real grid: first its parts (the
// readout table as the hosted grid holds it, the Find and Shift dialogs,
// the merge export), then the real viewer and plot window with several
// lanes against what quordata prints for the same files, offsets and
// times, and workspace files saved, opened and named on the command line.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "DataViewerDialog.h"
#include "PlotFindDialog.h"
#include "PlotMergeExporter.h"
#include "PlotReadoutTable.h"
#include "PlotShiftDialog.h"
#include "PlotText.h"
#include "PlotWindow.h"
#include "WorkspaceFile.h"
#include "resource.h"
#include "SampleDir.h"
#include "ViewerTestSupport.h"
#include "WindowDriver.h"

namespace quor {

namespace {

const DWORD kWaitMs = 60000;
const UINT kDoneNote = WM_APP + 7;

// The viewer's dialog owns the parts as the plot window would.
class WorkspaceParts : public ViewerFixture {
protected:
    void SetUp() override
    {
        ViewerFixture::SetUp();
        start(samplePath("periodic_int.quorData"));
    }
};

LaneReadout readoutRow(const std::string& label, const std::string& valueA)
{
    LaneReadout row;
    row.label = label;
    row.valueA = valueA;
    row.timeA = "045:12:30:00.000";
    row.deltaValue = "-3";
    row.samples = "12";
    row.rms = "0.5";
    return row;
}

// A periodic float ramp at 1 kHz long enough that a merge of it takes a
// while.
std::string writeLongFile(const std::string& name, int64_t count)
{
    std::ifstream in(samplePath("periodic_float.quorData"), std::ios::binary);
    std::string header(1024, '\0');
    in.read(&header[0], 1024);
    const std::string path = sampleDir() + "\\" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(header.data(), 1024);
    std::vector<float> values(static_cast<size_t>(count));
    for (int64_t k = 0; k < count; ++k)
        values[static_cast<size_t>(k)] = static_cast<float>(k % 1000);
    out.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(count * 4));
    return path;
}

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

MergeResult runExport(PlotMergeExporter& exporter, HWND notify, int64_t* rows)
{
    pumpUntil([&] { return !exporter.running(); }, kWaitMs);
    MSG message;
    PeekMessageA(&message, notify, kDoneNote, kDoneNote, PM_REMOVE);
    return exporter.finish(rows);
}

}  // namespace

// What the grid holds is the rows given, after the heading row; fewer rows
// later leave no stale row behind, and an unchanged row keeps its selection.
TEST_F(WorkspaceParts, ReadoutTableHoldsTheHeadingAndOneRowPerLane)
{
    PlotReadoutTable table;
    ASSERT_EQ(table.create(window, 300), S_OK) << "QuorGrid is not registered";
    table.place(RECT{0, 200, 900, 360});
    EXPECT_TRUE(IsWindowVisible(table.window()));
    EXPECT_EQ(GetParent(table.window()), window);
    EXPECT_EQ(GetDlgCtrlID(table.window()), 300);

    table.show({readoutRow("a.quorData  Tag 1", "1.5"), readoutRow("b|c.quorData", ""),
                readoutRow("d.quorData  Tag 3 (linked)", "-7")},
               {0x0000FF, 0x00FF00});
    ASSERT_EQ(table.rowCount(), 4);
    for (int column = 0; column < PlotReadoutTable::kColumns; ++column)
        EXPECT_EQ(table.cellText(0, column), PlotReadoutTable::kCaptions[column]);
    EXPECT_EQ(table.cellText(1, 0), "a.quorData  Tag 1");
    EXPECT_EQ(table.cellText(1, 1), "1.5");
    EXPECT_EQ(table.cellText(1, 2), "045:12:30:00.000");
    EXPECT_EQ(table.cellText(1, 5), "-3");
    EXPECT_EQ(table.cellText(1, 6), "12");
    EXPECT_EQ(table.cellText(1, 10), "0.5");
    EXPECT_EQ(table.cellText(2, 0), "b/c.quorData");  // a '|' would split the cell
    EXPECT_EQ(table.cellText(3, 1), "-7");

    table.grid()->setRowSelect(2, Selected);
    table.show({readoutRow("a.quorData  Tag 1", "2.5"), readoutRow("b|c.quorData", "")});
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.cellText(1, 1), "2.5");
    EXPECT_EQ(table.cellText(2, 0), "b/c.quorData");
    LONG selected = 0;
    table.grid()->getNumberOfSelectedRows(&selected);
    EXPECT_EQ(selected, 1);

    // The grid's own menu copies the figures, captions and all.
    table.grid()->setRowSelectRange(1, table.rowCount(), Selected);
    HWND grid = GetWindow(table.window(), GW_CHILD);
    ASSERT_TRUE(grid);
    OpenClipboard(window);
    EmptyClipboard();
    CloseClipboard();
    {
        MenuChooser copy(grid, 25001);  // the cell menu's Copy
        SendMessageA(grid, WM_RBUTTONUP, 0, MAKELPARAM(30, 8));
        copy.wait();
        EXPECT_TRUE(copy.chose());
    }
    pumpUntil([] { return IsClipboardFormatAvailable(CF_TEXT) != FALSE; }, 3000);
    std::string copied;
    if (OpenClipboard(window)) {
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            copied = static_cast<const char*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    EXPECT_NE(copied.find("Value at A"), std::string::npos) << copied;
    EXPECT_NE(copied.find("2.5"), std::string::npos) << copied;
    table.show({});
    EXPECT_EQ(table.rowCount(), 1);
}

// The seams go through the same checks as the dialogs' OK: a refused text
// is said and asked for again; the real dialogs show the choice and take
// what is typed into them.
TEST_F(WorkspaceParts, FindAndShiftTakeOnlyWhatTheyCanReadExactly)
{
    {
        std::vector<std::string> complaints, shown;
        LaneShiftAnswer answer([&](const std::string& text, const std::string& complaint, std::string& typed) {
            shown.push_back(text);
            complaints.push_back(complaint);
            const char* texts[] = {"1,5", "1.0000000001", " -9223372036.854775808 "};
            typed = texts[std::min<size_t>(complaints.size(), 3) - 1];
            return true;
        });
        int64_t offset = 1500000000;
        ASSERT_TRUE(askLaneShift(window, offset));
        EXPECT_EQ(offset, INT64_MIN);
        ASSERT_EQ(complaints.size(), 3u);
        EXPECT_EQ(shown[0], "1.5");
        EXPECT_EQ(shown[1], "1,5");
        EXPECT_EQ(complaints[0], "");
        EXPECT_NE(complaints[1].find("number of seconds"), std::string::npos) << complaints[1];
        EXPECT_NE(complaints[2].find("nanoseconds"), std::string::npos) << complaints[2];
    }
    {
        LaneShiftAnswer cancel([](const std::string&, const std::string&, std::string&) { return false; });
        int64_t offset = 7;
        EXPECT_FALSE(askLaneShift(window, offset));
        EXPECT_EQ(offset, 7);
    }
    {
        std::vector<std::string> complaints;
        PlotFindAnswer answer([&](const std::vector<std::string>& labels, const std::string& complaint,
                                  PlotFindChoice& choice) {
            EXPECT_EQ(labels.size(), 2u);
            complaints.push_back(complaint);
            choice.lane = 1;
            choice.condition = FindCondition::falling;
            choice.backward = true;
            choice.thresholdText = complaints.size() == 1 ? "inf" : "-9007199254740993";
            return true;
        });
        PlotFindChoice choice;
        ASSERT_TRUE(askPlotFind(window, {"a", "b"}, choice));
        ASSERT_EQ(complaints.size(), 2u);
        EXPECT_FALSE(complaints[1].empty());
        EXPECT_EQ(choice.lane, 1);
        EXPECT_EQ(choice.condition, FindCondition::falling);
        EXPECT_TRUE(choice.backward);
        EXPECT_EQ(choice.thresholdText, "-9007199254740993");
        EXPECT_TRUE(choice.threshold.integerFloor == -9007199254740993LL);  // beyond a double's integers
        EXPECT_FALSE(askPlotFind(window, {}, choice));
    }

    std::string shownOffset;
    DialogAnswerer shift(kShiftCaption, [&](HWND dialog) {
        shownOffset = windowText(GetDlgItem(dialog, kShiftSecondsEdit));
        typeText(dialog, kShiftSecondsEdit, "-0.000000001");
        clickButton(dialog, IDOK);
    });
    int64_t offset = -2500000000;
    EXPECT_TRUE(askLaneShift(window, offset));
    EXPECT_TRUE(shift.wait());
    EXPECT_EQ(shownOffset, "-2.5");
    EXPECT_EQ(offset, -1);

    std::string shownValue;
    int shownLane = -1;
    DialogAnswerer find(kFindCaption, [&](HWND dialog) {
        shownValue = windowText(GetDlgItem(dialog, kFindValueEdit));
        shownLane = static_cast<int>(SendDlgItemMessageA(dialog, kFindLaneList, CB_GETCURSEL, 0, 0));
        SendDlgItemMessageA(dialog, kFindLaneList, CB_SETCURSEL, 2, 0);
        SendDlgItemMessageA(dialog, kFindConditionList, CB_SETCURSEL, 2, 0);
        SendDlgItemMessageA(dialog, kFindDirectionList, CB_SETCURSEL, 1, 0);
        typeText(dialog, kFindValueEdit, "2.5e-1");
        clickButton(dialog, IDOK);
    });
    PlotFindChoice choice;
    choice.lane = 1;
    choice.thresholdText = "40";
    ASSERT_TRUE(askPlotFind(window, {"a", "b", "c"}, choice));
    EXPECT_TRUE(find.wait());
    EXPECT_EQ(shownValue, "40");
    EXPECT_EQ(shownLane, 1);
    EXPECT_EQ(choice.lane, 2);
    EXPECT_EQ(choice.condition, FindCondition::rising);
    EXPECT_TRUE(choice.backward);
    EXPECT_EQ(choice.threshold.realFloor, 0.25);
}

// The export writes quordata merge's bytes for the same files, offsets and
// range, and counts its rows; a cancelled or failed one leaves the target
// as it was.
TEST_F(WorkspaceParts, ExportAToBIsTheMergeAndLeavesTheTargetWhenItStopsShort)
{
    const std::string target = sampleDir() + "\\workspace_export.csv";
    MergeRequest request;
    request.files = {{samplePath("periodic_int.quorData"), 0},
                     {samplePath("multiperiodic_float.quorData"), -250000000},
                     {samplePath("async_double.quorData"), 1500000000}};
    request.hasFrom = request.hasTo = true;
    request.from = 3933001000000000;
    request.to = 3933004000000000;
    PlotMergeExporter exporter;
    ASSERT_TRUE(exporter.start(request, target, window, kDoneNote));
    EXPECT_FALSE(exporter.start(request, target, window, kDoneNote));
    int64_t rows = 0;
    ASSERT_EQ(runExport(exporter, window, &rows), MergeResult::ok);
    const std::string merged = fileBytes(target);
    EXPECT_EQ(merged, quordataOutput("merge \"" + request.files[0].path + "\" \"" + request.files[1].path +
                                     "\" \"" + request.files[2].path +
                                     "\" --offset 2=-0.25 --offset 3=1.5 --from 3933001000000000"
                                     " --to 3933004000000000"));
    EXPECT_EQ(rows, static_cast<int64_t>(std::count(merged.begin(), merged.end(), '\n')) - 1);
    EXPECT_GT(rows, 100);

    writeText(target, "before");
    MergeRequest longOne;
    longOne.files = {{writeLongFile("workspace_long.quorData", 4000000), 0}};
    ASSERT_TRUE(exporter.start(longOne, target, window, kDoneNote));
    exporter.cancel();
    EXPECT_EQ(runExport(exporter, window, &rows), MergeResult::cancelled);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(fileBytes(target), "before");

    request.files[1].path = samplePath("missing.quorData");
    ASSERT_TRUE(exporter.start(request, target, window, kDoneNote));
    EXPECT_EQ(runExport(exporter, window, &rows), MergeResult::unableToOpen);
    EXPECT_EQ(exporter.failedPath(), request.files[1].path);
    EXPECT_EQ(fileBytes(target), "before");
}


namespace {

// The times the lanes' tests put their cursors at: A on a sample of the
// periodic file, B in the multi-periodic file's gap between its second
// and third segments (045:12:30:04.490 to 06.000).
const int64_t kTimeA = 3933001200000000;
const int64_t kTimeB = 3933005000000003;
const int64_t kAsyncShift = -500000000;  // "-0.5" seconds

std::string quoted(const std::string& path) { return " \"" + path + "\""; }
std::string ns(int64_t time) { return std::to_string(time); }

// The rows of quordata's CSV output without its heading, as cells.
std::vector<std::vector<std::string>> csvRows(const std::string& text, bool heading)
{
    std::vector<std::vector<std::string>> rows;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        std::vector<std::string> cells(1);
        for (size_t k = at; k < end; ++k) {
            if (text[k] == ',')
                cells.emplace_back();
            else
                cells.back() += text[k];
        }
        rows.push_back(cells);
        at = end + 2;
    }
    if (heading && !rows.empty())
        rows.erase(rows.begin());
    return rows;
}

// The first hit quordata find prints: its time in nanoseconds.
int64_t foundTime(const std::string& arguments)
{
    const auto rows = csvRows(quordataOutput("find" + arguments), false);
    return rows.empty() || rows[0].size() < 2 ? INT64_MIN : std::stoll(rows[0][1]);
}

class WorkspaceTest : public ViewerFixture {
protected:
    // The viewer on the first file, Tools > Plot, the other files added;
    // every lane summarised.
    PlotWindow* openLanes(const std::vector<std::string>& paths)
    {
        start(paths.front());
        sendCommand(window, ID_TOOLS_PLOT);
        PlotWindow* plot = dialog->plotWindow();
        if (!plot)
            return nullptr;
        for (size_t k = 1; k < paths.size(); ++k)
            EXPECT_TRUE(plot->addRecording(paths[k])) << paths[k];
        waitForLanes(*plot);
        return plot;
    }
    static void waitForLanes(PlotWindow& plot)
    {
        EXPECT_TRUE(waitUntil([&plot] { return plot.summarised() && plot.pictureComplete(); }));
    }
    static bool waitUntil(const std::function<bool()>& condition)
    {
        return pumpUntil(condition, kWaitMs);
    }
    static void command(PlotWindow& plot, WORD id) { SendMessageA(plot.window(), WM_COMMAND, id, 0); }
    // Lane > Shift... on the lane, answered with the seconds.
    static void shiftLane(PlotWindow& plot, int lane, const std::string& seconds)
    {
        LaneShiftAnswer answer([&](const std::string&, const std::string&, std::string& typed) {
            typed = seconds;
            return true;
        });
        plot.selectLane(lane);
        command(plot, PlotCommand::shift);
    }
    // The three lanes of the range tests, the asynchronous one shifted.
    PlotWindow* openThreeLanes()
    {
        PlotWindow* plot = openLanes({samplePath("periodic_int.quorData"), samplePath("multiperiodic_float.quorData"),
                                      samplePath("async_double.quorData")});
        if (plot) {
            shiftLane(*plot, 2, "-0.5");
            waitForLanes(*plot);
        }
        return plot;
    }
    static void exportTo(PlotWindow& plot, const std::string& target)
    {
        DeleteFileA(target.c_str());
        FileChoice save("Save Export File", target);
        command(plot, PlotCommand::exportAB);
        EXPECT_TRUE(save.wait());
        EXPECT_TRUE(waitUntil([&plot] { return !plot.exportRunning(); }));
        pumpMessages();
    }
};

}  // namespace

// Every lane's row: the figures are what quordata stats prints for the
// lane's file between the cursors less its offset, and the value and time
// at each cursor are those of the last row quordata merge writes up to the
// cursor for the file with its offset, in a gap too. The export of A-B is
// quordata merge of all lanes with the same offset and range, and of one
// lane from its first to its last sample that of the file alone.
TEST_F(WorkspaceTest, ReadoutRowsAndExportOfShiftedAndGappedLanesAreQuordatas)
{
    PlotWindow* plot = openThreeLanes();
    ASSERT_TRUE(plot);
    ASSERT_EQ(plot->laneCount(), 3);
    EXPECT_EQ(plot->lanes().at(2).settings.offset, kAsyncShift);
    plot->setCursor(false, kTimeA);
    plot->setCursor(true, kTimeB);
    pumpMessages();
    const PlotReadout& readout = plot->readout();
    ASSERT_EQ(readout.rows.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const LaneSettings& lane = plot->lanes().at(k).settings;
        const LaneReadout& row = readout.rows[static_cast<size_t>(k)];
        SCOPED_TRACE(lane.path);
        const std::string stats = quordataOutput("stats" + quoted(lane.path) + " --from " + ns(kTimeA - lane.offset) +
                                                 " --to " + ns(kTimeB - lane.offset));
        EXPECT_EQ(stats.find("Samples," + row.samples + "\r\n"), 0u) << stats;
        EXPECT_NE(stats.find("Minimum," + row.minimum + ","), std::string::npos) << stats;
        EXPECT_NE(stats.find("Maximum," + row.maximum + ","), std::string::npos) << stats;
        EXPECT_NE(stats.find("Mean," + row.mean + "\r\nRMS," + row.rms + "\r\n"), std::string::npos) << stats;
        for (bool b : {false, true}) {
            const auto merged = csvRows(quordataOutput("merge" + quoted(lane.path) + " --offset 1=" + ns(lane.offset) +
                                                       " --to " + ns(b ? kTimeB : kTimeA)),
                                        true);
            ASSERT_FALSE(merged.empty());
            const std::vector<std::string>& last = merged.back();
            ASSERT_EQ(last.size(), 3u);
            EXPECT_EQ(b ? row.valueB : row.valueA, last[2]) << b;
            EXPECT_EQ(b ? row.timeB : row.timeA, plotTimeText(std::stoll(last[1]), 9)) << b;
        }
    }
    EXPECT_EQ(readout.rows[1].timeB, plotTimeText(3933004490000000, 9));  // the gap's cursor: segment 2's last
    // The table under the lanes is the hosted grid, holding these rows.
    const PlotReadoutTable& table = plot->table();
    ASSERT_EQ(table.rowCount(), 4);
    for (int k = 0; k < 3; ++k) {
        const LaneReadout& row = readout.rows[static_cast<size_t>(k)];
        const std::vector<const std::string*> cells = {&row.label, &row.valueA, &row.timeA, &row.valueB,
                                                       &row.timeB, &row.deltaValue, &row.samples, &row.minimum,
                                                       &row.maximum, &row.mean, &row.rms};
        for (int column = 0; column < PlotReadoutTable::kColumns; ++column) {
            EXPECT_EQ(table.cellText(k + 1, column), *cells[static_cast<size_t>(column)]) << k << "," << column;
        }
    }

    const std::string target = sampleDir() + "\\workspace-three.csv";
    exportTo(*plot, target);
    const std::string merged = fileBytes(target);
    EXPECT_EQ(merged, quordataOutput("merge" + quoted(plot->lanes().at(0).settings.path) +
                                     quoted(plot->lanes().at(1).settings.path) +
                                     quoted(plot->lanes().at(2).settings.path) + " --offset 3=-0.5 --from " +
                                     ns(kTimeA) + " --to " + ns(kTimeB)));
    const long long rows = std::count(merged.begin(), merged.end(), '\n') - 1;
    EXPECT_GT(rows, 200);
    EXPECT_EQ(plot->notice(), "Wrote " + std::to_string(rows) + " rows to " + target);

    for (int lane = 2; lane >= 1; --lane) {
        plot->selectLane(lane);
        command(*plot, PlotCommand::remove);
    }
    ASSERT_EQ(plot->laneCount(), 1);
    plot->setCursor(false, 3933019980000000);  // the last sample, and B on the first
    plot->setCursor(true, 3933000000000000);
    exportTo(*plot, target);
    EXPECT_EQ(fileBytes(target), quordataOutput("merge" + quoted(samplePath("periodic_int.quorData"))));
}

// Find puts A on the sample quordata find gives from just after A (or
// just before it, backward), in the lane's shifted times; F3 and Shift+F3
// go on from there; a rising crossing between two segments is found
// across their gap; a miss says so in a box.
TEST_F(WorkspaceTest, FindLandsAOnWhatQuordataFindPrints)
{
    PlotWindow* plot = openThreeLanes();
    ASSERT_TRUE(plot);
    const std::string gapped = quoted(plot->lanes().at(1).settings.path);
    const std::string shifted = quoted(plot->lanes().at(2).settings.path);
    auto find = [&](int lane, FindCondition condition, const char* value, bool backward) {
        PlotFindAnswer answer([&](const std::vector<std::string>& labels, const std::string&, PlotFindChoice& choice) {
            EXPECT_EQ(labels.size(), 3u);
            choice.lane = lane;
            choice.condition = condition;
            choice.thresholdText = value;
            choice.backward = backward;
            return true;
        });
        command(*plot, PlotCommand::find);
    };
    auto a = [plot] { return plot->cursors().a().time; };

    plot->setCursor(false, 3933004200000000);
    find(1, FindCondition::rising, "27.3", false);
    int64_t expected = foundTime(gapped + " --rising 27.3 --from 3933004200000001");
    EXPECT_EQ(expected, 3933006000000000);  // the first sample after the gap
    EXPECT_EQ(a(), expected);
    command(*plot, PlotCommand::findNext);
    expected = foundTime(gapped + " --rising 27.3 --from " + ns(expected + 1));
    EXPECT_EQ(a(), expected);
    command(*plot, PlotCommand::findPrevious);
    EXPECT_EQ(a(), 3933006000000000);

    const int64_t before = a();
    find(2, FindCondition::above, "103", true);
    expected = foundTime(shifted + " --above 103 --last --to " + ns(before - kAsyncShift - 1));
    ASSERT_NE(expected, INT64_MIN);
    EXPECT_EQ(a(), expected + kAsyncShift);
    command(*plot, PlotCommand::findPrevious);
    expected = foundTime(shifted + " --above 103 --last --to " + ns(expected - 1));
    EXPECT_EQ(a(), expected + kAsyncShift);
    command(*plot, PlotCommand::findNext);
    expected = foundTime(shifted + " --above 103 --from " + ns(expected + 1));
    EXPECT_EQ(a(), expected + kAsyncShift);

    const int64_t kept = a();
    DialogAnswerer box(kFindCaption, pressButton(IDOK));
    find(0, FindCondition::below, "-1e9", false);
    EXPECT_TRUE(box.wait());
    EXPECT_NE(box.text().find("Not found"), std::string::npos) << box.text();
    EXPECT_EQ(a(), kept);
}

// A workspace saved and opened in a fresh viewer has the same lanes in
// the same order with their overlay, style, colour and offset, the same
// view and cursors, and the dialog on its first lane's file. A lane whose
// file is gone keeps its place and says so; the others open. Named on the
// viewer's command line, a workspace opens in the plot.
TEST_F(WorkspaceTest, SavedWorkspaceOpensAgainAsItWasAndFromTheCommandLine)
{
    const std::string folder = sampleDir() + "\\workspace";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> paths;
    for (const char* name : {"periodic_int.quorData", "periodic_double.quorData", "async_double.quorData"}) {
        paths.push_back(folder + "\\" + name);
        CopyFileA(samplePath(name).c_str(), paths.back().c_str(), FALSE);
    }
    CopyFileA(samplePath("async_double.quorIndex").c_str(), (folder + "\\async_double.quorIndex").c_str(), FALSE);
    PlotWindow* plot = openLanes(paths);
    ASSERT_TRUE(plot);
    plot->selectLane(1);
    command(*plot, PlotCommand::overlay);
    shiftLane(*plot, 2, "1.25");
    command(*plot, PlotCommand::steps);
    const RECT area = plot->plotArea();
    POINT middle{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    ClientToScreen(plot->window(), &middle);
    SendMessageA(plot->window(), WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), MAKELPARAM(middle.x, middle.y));
    plot->setCursor(false, 3933000500000000);
    plot->setCursor(true, 3933001250000001);
    const LaneList saved = plot->lanes();
    const TimeSpan view = plot->view().span();
    const std::string workspace = folder + "\\run.quorWorkspace";
    {
        FileChoice save("Save Workspace", workspace);
        command(*plot, PlotCommand::saveWorkspace);
        EXPECT_TRUE(save.wait());
    }
    closeViewer();

    start(samplePath("periodic_float.quorData"));
    ASSERT_TRUE(dialog->openWorkspace(workspace));
    plot = dialog->plotWindow();
    ASSERT_TRUE(plot);
    waitForLanes(*plot);
    EXPECT_EQ(windowText(window), "QUOR Data Viewer - " + paths[0]);
    ASSERT_EQ(plot->laneCount(), 3);
    for (int k = 0; k < 3; ++k) {
        const LaneSettings& was = saved.at(k).settings;
        const LaneSettings& is = plot->lanes().at(k).settings;
        EXPECT_EQ(is.path, was.path);
        EXPECT_EQ(is.overlaid, was.overlaid) << k;
        EXPECT_EQ(is.style, was.style) << k;
        EXPECT_EQ(is.colour, was.colour) << k;
        EXPECT_EQ(is.offset, was.offset) << k;
    }
    EXPECT_TRUE(plot->lanes().at(1).settings.overlaid);
    EXPECT_EQ(plot->lanes().at(2).settings.offset, 1250000000);
    EXPECT_EQ(plot->lanes().at(2).settings.style, LaneStyle::steps);
    EXPECT_EQ(plot->view().span().from, view.from);
    EXPECT_EQ(plot->view().span().to, view.to);
    EXPECT_EQ(plot->cursors().a().time, 3933000500000000);
    EXPECT_EQ(plot->cursors().b().time, 3933001250000001);
    EXPECT_TRUE(plot->cursors().a().placed && plot->cursors().b().placed);

    closeViewer();

    ASSERT_TRUE(DeleteFileA(paths[1].c_str()));
    start(samplePath("periodic_float.quorData"));
    ASSERT_TRUE(dialog->openWorkspace(workspace));
    plot = dialog->plotWindow();
    ASSERT_TRUE(plot);
    waitForLanes(*plot);
    ASSERT_EQ(plot->laneCount(), 3);
    EXPECT_EQ(plot->lanes().at(1).settings.path, paths[1]);
    ASSERT_EQ(plot->readout().rows.size(), 3u);
    EXPECT_NE(plot->readout().rows[1].label.find(PlotWindow::kFileNotFound), std::string::npos);
    EXPECT_FALSE(plot->readout().rows[2].samples.empty());
    closeViewer();

    ViewerProcess viewer(quoted(workspace));
    ASSERT_TRUE(viewer.started());
    HWND shown = waitForViewer(viewer, "QUOR Data Viewer - " + paths[0]);
    ASSERT_TRUE(shown);
    HWND plotWindow = nullptr;
    for (int i = 0; i < 300 && !plotWindow; ++i, Sleep(50)) {
        struct Search {
            DWORD process;
            HWND found;
        } search{viewer.id(), nullptr};
        EnumWindows(
            [](HWND candidate, LPARAM param) {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD process = 0;
                GetWindowThreadProcessId(candidate, &process);
                if (process == s->process && IsWindowVisible(candidate) &&
                    windowText(candidate).rfind("QUOR Data Plot - ", 0) == 0)
                    s->found = candidate;
                return s->found ? FALSE : TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        plotWindow = search.found;
    }
    EXPECT_TRUE(plotWindow) << "no plot window";
    PostMessageA(shown, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(viewer.waitForExit(15000), 0u);

    // A file of that name that holds no workspace is said to be none.
    const std::string notOne = folder + "\\notes.quorWorkspace";
    writeText(notOne, "lane\tlines\n");
    ViewerProcess refused(quoted(notOne));
    ASSERT_TRUE(refused.started());
    HWND box = waitForViewer(refused, "Open Workspace");
    ASSERT_TRUE(box);
    std::string said;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM text) {
            reinterpret_cast<std::string*>(text)->append(windowText(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&said));
    EXPECT_NE(said.find("Not a Workspace File: " + notOne), std::string::npos) << said;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND empty = waitForViewer(refused, "QUOR Data Viewer");
    ASSERT_TRUE(empty);
    PostMessageA(empty, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(refused.waitForExit(15000), 0u);
}

}  // namespace quor
