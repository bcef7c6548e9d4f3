// The plot workspace's parts under Wine with the real grid: the readout
// table as the hosted grid holds it, the Find and Shift dialogs (real and
// through their seams), and Export A-B against what quordata merges.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "PlotFindDialog.h"
#include "PlotMergeExporter.h"
#include "PlotReadoutTable.h"
#include "PlotShiftDialog.h"
#include "SampleDir.h"
#include "ViewerTestSupport.h"
#include "WindowDriver.h"

namespace quor {

namespace {

const DWORD kWaitMs = 60000;
const UINT kDoneNote = WM_APP + 7;

// A plain top-level window to own the table and the dialogs.
class OwnerWindow {
public:
    OwnerWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QuorWorkspaceTestOwner";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, "owner", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 900,
                                  400, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(window_, SW_SHOW);
    }
    ~OwnerWindow() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_;
};

class WorkspaceParts : public ::testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
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
    MSG message;
    const DWORD start = GetTickCount();
    while (exporter.running() && GetTickCount() - start < kWaitMs)
        Sleep(5);
    PeekMessageA(&message, notify, kDoneNote, kDoneNote, PM_REMOVE);
    return exporter.finish(rows);
}

}  // namespace

// What the grid holds is the rows given, after the heading row; fewer rows
// later leave no stale row behind, and an unchanged row keeps its selection.
TEST_F(WorkspaceParts, ReadoutTableHoldsTheHeadingAndOneRowPerLane)
{
    OwnerWindow owner;
    PlotReadoutTable table;
    ASSERT_EQ(table.create(owner.get(), 300), S_OK) << "QuorGrid is not registered";
    table.place(RECT{0, 200, 900, 360});
    EXPECT_TRUE(IsWindowVisible(table.window()));
    EXPECT_EQ(GetParent(table.window()), owner.get());
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
    table.show({});
    EXPECT_EQ(table.rowCount(), 1);
}

// The seams go through the same checks as the dialogs' OK: a refused text
// is said and asked for again; the real dialogs show the choice and take
// what is typed into them.
TEST_F(WorkspaceParts, FindAndShiftTakeOnlyWhatTheyCanReadExactly)
{
    OwnerWindow owner;
    {
        std::vector<std::string> complaints, shown;
        LaneShiftAnswer answer([&](const std::string& text, const std::string& complaint, std::string& typed) {
            shown.push_back(text);
            complaints.push_back(complaint);
            typed = complaints.size() == 1 ? "1,5" : complaints.size() == 2 ? "1.0000000001" : " -9223372036.854775808 ";
            return true;
        });
        int64_t offset = 1500000000;
        ASSERT_TRUE(askLaneShift(owner.get(), offset));
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
        EXPECT_FALSE(askLaneShift(owner.get(), offset));
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
        ASSERT_TRUE(askPlotFind(owner.get(), {"a", "b"}, choice));
        ASSERT_EQ(complaints.size(), 2u);
        EXPECT_FALSE(complaints[1].empty());
        EXPECT_EQ(choice.lane, 1);
        EXPECT_EQ(choice.condition, FindCondition::falling);
        EXPECT_TRUE(choice.backward);
        EXPECT_EQ(choice.thresholdText, "-9007199254740993");
        EXPECT_TRUE(choice.threshold.integerFloor == -9007199254740993LL);  // beyond a double's integers
        EXPECT_FALSE(askPlotFind(owner.get(), {}, choice));
    }

    std::string shownOffset;
    DialogAnswerer shift(kShiftCaption, [&](HWND dialog) {
        shownOffset = windowText(GetDlgItem(dialog, kShiftSecondsEdit));
        typeText(dialog, kShiftSecondsEdit, "-0.000000001");
        clickButton(dialog, IDOK);
    });
    int64_t offset = -2500000000;
    EXPECT_TRUE(askLaneShift(owner.get(), offset));
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
    ASSERT_TRUE(askPlotFind(owner.get(), {"a", "b", "c"}, choice));
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
    OwnerWindow owner;
    const std::string target = sampleDir() + "\\workspace_export.csv";
    MergeRequest request;
    request.files = {{samplePath("periodic_int.quorData"), 0},
                     {samplePath("multiperiodic_float.quorData"), -250000000},
                     {samplePath("async_double.quorData"), 1500000000}};
    request.hasFrom = request.hasTo = true;
    request.from = 3933001000000000;
    request.to = 3933004000000000;
    PlotMergeExporter exporter;
    ASSERT_TRUE(exporter.start(request, target, owner.get(), kDoneNote));
    EXPECT_FALSE(exporter.start(request, target, owner.get(), kDoneNote));
    int64_t rows = 0;
    ASSERT_EQ(runExport(exporter, owner.get(), &rows), MergeResult::ok);
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
    ASSERT_TRUE(exporter.start(longOne, target, owner.get(), kDoneNote));
    exporter.cancel();
    EXPECT_EQ(runExport(exporter, owner.get(), &rows), MergeResult::cancelled);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(fileBytes(target), "before");

    request.files[1].path = samplePath("missing.quorData");
    ASSERT_TRUE(exporter.start(request, target, owner.get(), kDoneNote));
    EXPECT_EQ(runExport(exporter, owner.get(), &rows), MergeResult::unableToOpen);
    EXPECT_EQ(exporter.failedPath(), request.files[1].path);
    EXPECT_EQ(fileBytes(target), "before");
}

}  // namespace quor
