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
#include "GridCalls.h"
#include "SampleDir.h"
#include "WindowDriver.h"
#include "resource.h"

namespace {

std::vector<std::string> gridRows(IQuorGridControl* grid)
{
    std::vector<std::string> rows;
    LONG count = 0;
    grid->getNumberOfRows(&count);
    grid->resetToFirstRow();
    for (LONG i = 0; i < count; ++i) {
        Bstr row;
        if (grid->getNextRow(row.out()) != S_OK)
            break;
        rows.push_back(row.text().str());
    }
    return rows;
}

std::string cell(IQuorGridControl* grid, long row, long column)
{
    Bstr text;
    grid->getCellText(row, column, text.out());
    return text.text().str();
}

std::string copyOf(const std::string& name, const std::string& copyName)
{
    std::string target = sampleDir() + "\\" + copyName;
    CopyFileA(samplePath(name.c_str()).c_str(), target.c_str(), FALSE);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return target;
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
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

// What `quordata` (beside this test program) writes to its standard output
// for the arguments.
std::string quordataOutput(const std::string& arguments)
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder(program);
    folder.resize(folder.find_last_of('\\'));
    const std::string outPath = sampleDir() + "\\quordata.out";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return std::string();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + folder + "\\quordata.exe\" " + arguments;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    return fileBytes(outPath);
}

// With QUOR_SCREENSHOT_DIR set, the screen is saved there under the name;
// false only when asked and not saved.
bool saveScreenNamed(const std::string& name)
{
    char folder[MAX_PATH] = "";
    if (GetEnvironmentVariableA("QUOR_SCREENSHOT_DIR", folder, MAX_PATH) == 0)
        return true;
    return saveScreen(std::string(folder) + "\\" + name);
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

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override
    {
        closeViewer();
        CoUninitialize();
    }

    void start(const std::string& path)
    {
        dialog.reset(new DataViewerDialog(GetModuleHandleA(nullptr)));
        dialog->setFileNameFromCommandLine(("\"viewer.exe\" \"" + path + "\"").c_str());
        window = dialog->createModeless(nullptr);
        ASSERT_TRUE(window);
        ShowWindow(window, SW_SHOW);
        ASSERT_TRUE(dialog->headerGrid() && dialog->dataGrid()) << "QuorGrid is not registered";
    }
    void closeViewer()
    {
        if (dialog && dialog->window()) {
            LONG edited = 0;
            dialog->headerGrid()->getNumberOfEditedRows(&edited);
            if (edited > 0) {
                DialogAnswerer no("", pressButton(IDNO));
                clickButton(window, IDCANCEL);
            } else {
                clickButton(window, IDCANCEL);
            }
        }
        dialog.reset();
    }
    std::vector<std::string> header() { return gridRows(dialog->headerGrid()); }
    std::vector<std::string> data() { return gridRows(dialog->dataGrid()); }
    std::string gotoText() { return windowText(GetDlgItem(window, IDC_GOTO_TIME)); }
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
    std::unique_ptr<DataViewerDialog> dialog;
    HWND window = nullptr;
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

TEST_F(ViewerTest, ForwardAndBackReturnToTheSamePage)
{
    for (const char* name : {"periodic_int.quorData", "async_double.quorData"}) {
        SCOPED_TRACE(name);
        start(samplePath(name));
        typeText(window, IDC_PAGE_SIZE, "100");
        // The shown time text is cut to milliseconds: go by the exact start.
        typeText(window, IDC_GOTO_TIME, cell(dialog->headerGrid(), 4, 1));
        clickButton(window, IDC_GOTO);
        auto first = data();
        ASSERT_EQ(first.size(), 100u);
        const std::string firstTime = gotoText();
        clickButton(window, IDC_NEXT_PAGE);
        EXPECT_NE(data(), first);
        EXPECT_NE(gotoText(), firstTime);
        clickButton(window, IDC_PREVIOUS_PAGE);
        EXPECT_EQ(gotoText(), firstTime);
        EXPECT_EQ(data(), first);
        closeViewer();
    }
}

TEST_F(ViewerTest, BySegmentPagesFromSegmentStartToSegmentStart)
{
    start(samplePath("multiperiodic_float.quorData"));
    auto rows = header();
    ASSERT_GE(rows.size(), 16u);
    EXPECT_EQ(rows[12], "--MultiPeriodic Info--");
    LONG edited = -1;
    dialog->headerGrid()->getNumberOfEditedRows(&edited);
    EXPECT_EQ(edited, 0);
    std::vector<std::string> segmentStarts;
    for (size_t i = 14; i < rows.size(); ++i)
        segmentStarts.push_back(rows[i].substr(0, rows[i].find('|')));

    SendDlgItemMessageA(window, IDC_BY_SEGMENT, BM_SETCHECK, BST_CHECKED, 0);
    for (size_t press = 1; press <= segmentStarts.size(); ++press) {
        clickButton(window, IDC_NEXT_PAGE);
        const size_t expected = press < segmentStarts.size() ? press : segmentStarts.size() - 1;
        auto page = data();
        ASSERT_GE(page.size(), 2u);
        EXPECT_EQ(page[0], "-Start Segment-||");
        EXPECT_NE(page[1].find("|" + segmentStarts[expected] + "|"), std::string::npos) << press;
    }
    clickButton(window, IDC_PREVIOUS_PAGE);
    EXPECT_NE(data()[1].find("|" + segmentStarts[segmentStarts.size() - 2] + "|"), std::string::npos);
    EXPECT_TRUE(saveScreenIfAsked(window, "viewer-by-segment.bmp"));
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
        DialogAnswerer open("Select QUOR Data File", chooseFile(samplePath("async_double.quorData")));
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

TEST_F(ViewerTest, ExportWritesTheSameBytesAsQuordataForTheSamePage)
{
    const std::string source = samplePath("multiperiodic_float.quorData");
    start(source);
    typeText(window, IDC_PAGE_SIZE, "40");
    typeText(window, IDC_GOTO_TIME, "045:12:30:01.900");
    clickButton(window, IDC_GOTO);
    const std::string target = sampleDir() + "\\export.csv";
    DeleteFileA(target.c_str());
    {
        DialogAnswerer save("Save Export File", chooseFile(target));
        DialogAnswerer done("Success !!", pressButton(IDOK));
        sendCommand(window, ID_EXPORT_CSV);
        EXPECT_TRUE(save.wait());
        EXPECT_NE(done.text().find("File is: "), std::string::npos);
    }
    const std::string expected = quordataOutput("export \"" + source + "\" --from 045:12:30:01.900 --count 40");
    EXPECT_NE(expected.find("-End Segment-"), std::string::npos);
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
        DialogAnswerer open("Select QUOR Data File", chooseFile(path));
        sendCommand(window, ID_FILE_OPEN);
        EXPECT_TRUE(open.wait());
    }
    editHeaderCell(2, "6262");
    {
        DialogAnswerer no("", pressButton(IDNO));
        DialogAnswerer open("Select QUOR Data File", chooseFile(samplePath("async_double.quorData")));
        sendCommand(window, ID_FILE_OPEN);
        EXPECT_TRUE(no.wait());
        EXPECT_TRUE(open.wait());
    }
    EXPECT_EQ(header()[7], "Data Type|1|Asynchronous");
    EXPECT_EQ(savedTagId(path), 5151);
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
        DialogAnswerer open("Select QUOR Data File", chooseFile(samplePath("async_double.quorData")));
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
