// Import, Append and Export of CSV files, through the cell menu commands
// and the real file dialogs and confirmation box.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include <memory>

#include "CellMenuCommands.h"
#include "CsvFile.h"
#include "FileFaults.h"
#include "InteractionTestSupport.h"
#include "ScratchFile.h"

namespace quor {

namespace {

// A file prompt that answers with a fixed path and records the request.
class FixedFileDialog final : public FileDialog {
public:
    explicit FixedFileDialog(std::string path) : path_(std::move(path)) {}
    bool askOpen(HWND, const FileDialogRequest& request, std::string& path) override { return answer(request, path); }
    bool askSave(HWND, const FileDialogRequest& request, std::string& path) override { return answer(request, path); }
    std::string lastTitle;

private:
    bool answer(const FileDialogRequest& request, std::string& path)
    {
        lastTitle = request.title;
        path = path_;
        return !path_.empty();
    }
    std::string path_;
};

}  // namespace

TEST(CsvFiles, ImportReplacesRowsWithEditedUntaggedOnes)
{
    const test::ScratchFile scratch("import.csv");
    const std::string& path = scratch.path();
    writeFile(path, "A,B,C\r\nx,\"y,z\",w\r\n\r\n   \r\na|b\r\n1,2,3,4\r\n");
    TestGrid grid;
    fillGrid(grid, "A|B|C", {"old1||", "old2||"});
    ASSERT_EQ(S_OK, readCsvFile(grid, path, CsvReadMode::Replace));
    EXPECT_EQ((std::vector<std::string>{"x|y,z|w", "a-b||", "1|2|3"}), rowTexts(grid));
    EXPECT_EQ((std::vector<std::string>{"old1||", "old2||"}), deletedTexts(grid));
    EXPECT_EQ(3, grid.rows().countEdited());
    for (GridRow* row : grid.rows().snapshot())
        EXPECT_EQ("", row->tagText);
}

TEST(CsvFiles, AppendKeepsRowsAndReadsVeryLongLines)
{
    const test::ScratchFile scratch("append.csv");
    const std::string& path = scratch.path();
    const std::string longCell(100000, 'q');
    writeFile(path, "A,B\n" + longCell + ",end\n");
    TestGrid grid;
    fillGrid(grid, "A|B", {"keep|1"});
    ASSERT_EQ(S_OK, readCsvFile(grid, path, CsvReadMode::Append));
    EXPECT_EQ((std::vector<std::string>{"keep|1", longCell + "|end"}), rowTexts(grid));
    EXPECT_TRUE(deletedTexts(grid).empty());
}

TEST(CsvFiles, ImportIntoAGridWithoutColumnsAddsEmptyUneditedRows)
{
    const test::ScratchFile scratch("nocolumns.csv");
    const std::string& path = scratch.path();
    writeFile(path, "heading\nfirst\n\nsecond\n");
    TestGrid grid;
    ASSERT_EQ(S_OK, readCsvFile(grid, path, CsvReadMode::Append));
    EXPECT_EQ((std::vector<std::string>{"", ""}), rowTexts(grid));
    EXPECT_EQ(0, grid.rows().countEdited());
}

TEST(CsvFiles, AMissingFileLeavesTheRowsAlone)
{
    TestGrid grid;
    fillGrid(grid, "A", {"x"});
    EXPECT_EQ(S_FALSE, readCsvFile(grid, test::scratchPath("no_such_file.csv"), CsvReadMode::Replace));
    EXPECT_EQ(1, grid.rows().rowCount());
    EXPECT_TRUE(deletedTexts(grid).empty());
}

TEST(CsvFiles, ExportWritesSelectedRowsOrAllRowsInTextMode)
{
    const test::ScratchFile scratch("export.csv");
    const std::string& path = scratch.path();
    TestGrid grid;
    fillGrid(grid, "A|B|C", {"a|b,c|d\"e", "2||", "3|x|y"});
    ASSERT_EQ(S_OK, writeCsvFile(grid, path));
    EXPECT_EQ("A,B,C\r\na,\"b,c\",d\"\"e\r\n2,,\r\n3,x,y\r\n", readFile(path));
    rowNumber(grid, 3).selected = true;
    ASSERT_EQ(S_OK, writeCsvFile(grid, path));
    EXPECT_EQ("A,B,C\r\n3,x,y\r\n", readFile(path));
}

TEST(CsvFiles, ExportThenImportGivesTheSameRows)
{
    const test::ScratchFile scratch("roundtrip.csv");
    const std::string& path = scratch.path();
    const std::vector<std::string> rows = {"a|b,c|d\"e", "q\"|,|x", "||z", "1|2|3"};
    TestGrid source;
    fillGrid(source, "A|B|C", rows);
    ASSERT_EQ(S_OK, writeCsvFile(source, path));
    TestGrid target;
    target.setColumnHeadings("A|B|C");
    ASSERT_EQ(S_OK, readCsvFile(target, path, CsvReadMode::Replace));
    EXPECT_EQ(rows, rowTexts(target));
}

// Every line of the file is a row: a NUL never joins two, a Ctrl-Z never
// ends the file, and a carriage return alone ends a line.
TEST(CsvFiles, ImportKeepsEveryLineWithNulCtrlZAndLoneCarriageReturns)
{
    const test::ScratchFile scratch("bytes.csv");
    const std::string& path = scratch.path();
    const struct {
        std::string content;
        std::vector<std::string> rows;
    } cases[] = {
        {std::string("A,B\n1,a\0b\n2,x\n3,y\n4,z\n5,w\n", 26), {"1|a b", "2|x", "3|y", "4|z", "5|w"}},
        {"A,B\r\n1,x\r\n2,\x1a\r\n3,y\r\n4,z\r\n", {"1|x", "2|\x1a", "3|y", "4|z"}},
        {"A,B\r1,x\r2,y\r\r3,z", {"1|x", "2|y", "3|z"}},
    };
    for (const auto& c : cases) {
        writeFile(path, c.content);
        TestGrid grid;
        grid.setColumnHeadings("A|B");
        ASSERT_EQ(S_OK, readCsvFile(grid, path, CsvReadMode::Replace));
        EXPECT_EQ(c.rows, rowTexts(grid));
    }
    DeleteFileA(path.c_str());
}

// The export replaces the file only once it is whole: a full disk or a
// read-only file leaves the old one byte for byte.
TEST(CsvFiles, AFailedExportLeavesTheOldFileAsItWas)
{
    const test::ScratchFile scratch("kept.csv");
    const std::string& path = scratch.path();
    writeFile(path, "old,content\r\n");
    TestGrid grid;
    fillGrid(grid, "A", {std::string(100000, 'r'), "s"});
    {
        FileFaults full;
        full.failingWrite = 1;
        full.failingWriteKeeps = 100;
        ScopedFileFaults scope(full);
        EXPECT_EQ(E_FAIL, writeCsvFile(grid, path));
    }
    EXPECT_TRUE(readFile(path) == "old,content\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(E_FAIL, writeCsvFile(grid, path));
    EXPECT_TRUE(readFile(path) == "old,content\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(S_OK, writeCsvFile(grid, path));
    EXPECT_TRUE(readFile(path) == "A\r\n" + std::string(100000, 'r') + "\r\ns\r\n");
    DeleteFileA(path.c_str());
}

TEST(CsvFiles, AFailedWriteIsReportedToTheUser)
{
    HWND window = sharedTestWindow();
    TestGrid grid;
    fillGrid(grid, "A", {"x"});
    // A folder cannot be opened as a file.
    CellMenuCommands commands(grid, std::make_unique<FixedFileDialog>(test::temporaryFolder()));
    commands.attach(window);
    std::string shown;
    WindowAnswerer answerer("Save As Excel CSV File", [&](HWND box) {
        char text[512] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        shown = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(E_FAIL, commands.exportCsv());
    EXPECT_TRUE(answerer.found());
    EXPECT_NE(std::string::npos, shown.find("could not be written")) << shown;
}

TEST(CsvFiles, ImportNeedsTheConfirmationAndAnEditableGrid)
{
    HWND window = sharedTestWindow();
    const test::ScratchFile scratch("confirm.csv");
    const std::string& path = scratch.path();
    writeFile(path, "A\nnew\n");
    TestGrid grid;
    fillGrid(grid, "A", {"old"});
    auto dialog = std::make_unique<FixedFileDialog>(path);
    FixedFileDialog& prompt = *dialog;
    CellMenuCommands commands(grid, std::move(dialog));
    commands.attach(window);
    {
        WindowAnswerer no("Import CSV File", [](HWND box) { PostMessageA(box, WM_COMMAND, IDNO, 0); });
        EXPECT_EQ(S_FALSE, commands.importCsv());
        EXPECT_TRUE(no.found());
    }
    EXPECT_EQ((std::vector<std::string>{"old"}), rowTexts(grid));
    {
        WindowAnswerer yes("Import CSV File", [](HWND box) { PostMessageA(box, WM_COMMAND, IDYES, 0); });
        EXPECT_EQ(S_OK, commands.importCsv());
    }
    EXPECT_EQ("Load Excel CSV File", prompt.lastTitle);
    EXPECT_EQ((std::vector<std::string>{"new"}), rowTexts(grid));
    EXPECT_EQ((std::vector<std::string>{"old"}), deletedTexts(grid));

    EXPECT_TRUE(commands.execute(kAppendCommand));
    EXPECT_EQ("Append Excel CSV File", prompt.lastTitle);
    EXPECT_EQ(2, grid.rows().rowCount());
    grid.view().gridEditable = false;
    EXPECT_EQ(S_FALSE, commands.appendCsv());
    EXPECT_EQ(2, grid.rows().rowCount());
}

TEST(CsvFiles, TheCommonDialogsAskWithTheirTitles)
{
    HWND window = sharedTestWindow();
    const test::ScratchFile scratch("dialog.csv");
    const std::string& path = scratch.path();
    TestGrid grid;
    fillGrid(grid, "A|B", {"1|2"});
    CellMenuCommands commands(grid, std::make_unique<CommonFileDialog>());
    commands.attach(window);
    {
        WindowAnswerer save("Save As Excel CSV File", [&](HWND dialog) {
            SetDlgItemTextA(dialog, cmb13, path.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(S_OK, commands.exportCsv());
        EXPECT_TRUE(save.found());
    }
    EXPECT_EQ("A,B\r\n1,2\r\n", readFile(path));
    {
        WindowAnswerer cancel("Append Excel CSV File",
                              [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(S_FALSE, commands.appendCsv());
        EXPECT_TRUE(cancel.found());
    }
    {
        WindowAnswerer open("Append Excel CSV File", [&](HWND dialog) {
            SetDlgItemTextA(dialog, cmb13, path.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(S_OK, commands.appendCsv());
    }
    EXPECT_EQ((std::vector<std::string>{"1|2", "1|2"}), rowTexts(grid));
}

}  // namespace quor
