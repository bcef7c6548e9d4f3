// The drop-down list cells and the cell menu's CSV files on the real
// control, as a user meets them: a click opens the list over the cell, a
// choice writes it; a right click opens the cell menu, whose Export, Import
// and Append talk to the user through the common dialogs and a box.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CellMenuCommands.h"
#include "HostedGrid.h"
#include "ScratchFile.h"
#include "WindowDriver.h"

namespace quor {

namespace {

constexpr int kListId = 103;

std::string readFile(const std::string& path)
{
    std::string content;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t got; (got = fread(buffer, 1, sizeof buffer, file)) > 0;)
            content.append(buffer, got);
        fclose(file);
    }
    return content;
}

void writeFile(const std::string& path, const std::string& content)
{
    if (FILE* file = fopen(path.c_str(), "wb")) {
        fwrite(content.data(), 1, content.size(), file);
        fclose(file);
    }
}

using test::ScratchFile;

const wchar_t kHeadings[] = L"Name|Value|Note";
const std::vector<std::wstring> kRows = {L"a|b,c|d\"e", L"2||", L"3|x|y", L"q\"|,|z"};
const char kAllRowsFile[] = "Name,Value,Note\r\na,\"b,c\",d\"\"e\r\n2,,\r\n3,x,y\r\nq\"\",\",\",z\r\n";

class GridMenuFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(apartment.ok());
        ASSERT_EQ(S_OK, hosted.attached);
        Bstr headings(kHeadings);
        hosted.grid->setColumnHeadings(headings.get());
        for (size_t i = 0; i < kRows.size(); ++i) {
            Bstr row(kRows[i].c_str()), tag((L"t" + std::to_wstring(i + 1)).c_str());
            hosted.grid->appendRow(row.get(), VARIANT_FALSE, tag.get(), VARIANT_FALSE);
        }
        for (LONG column = 0; column < 3; ++column)
            hosted.grid->setColumnWidth(column, kColumnWidth);
        hosted.grid->redraw();
    }
    void TearDown() override { ReleaseCapture(); }

    HWND window() const { return hosted.window(); }

    // Right click on a cell, the command picked from the menu, and the
    // command run from its WM_COMMAND; the dialogs it opens need answerers.
    void chooseFromCellMenu(UINT command)
    {
        MenuChooser chooser(window(), command);
        SendMessageA(window(), WM_RBUTTONUP, 0, cellPoint(2, 1));
        chooser.wait();
        EXPECT_TRUE(chooser.chose());
        EXPECT_EQ(7, chooser.items());
        test::pumpMessages();
    }
    void exportTo(const std::string& path)
    {
        DialogAnswerer save("Save As Excel CSV File", chooseFile(path));
        chooseFromCellMenu(kExportCommand);
        EXPECT_TRUE(save.wait());
    }

    std::wstring cell(LONG row, LONG column)
    {
        Bstr text;
        hosted.grid->getCellText(row, column, text.out());
        return text.wide();
    }
    std::vector<std::wstring> rows()
    {
        std::vector<std::wstring> texts;
        hosted.grid->resetToFirstRow();
        Bstr row;
        while (hosted.grid->getNextRow(row.out()) == S_OK)
            texts.push_back(row.wide());
        return texts;
    }
    std::vector<std::wstring> deletedRows()
    {
        std::vector<std::wstring> texts;
        hosted.grid->resetToFirstDeletedRow();
        Bstr row, tag;
        while (hosted.grid->getNextDeletedRow(row.out(), tag.out()) == S_OK)
            texts.push_back(row.wide());
        return texts;
    }
    // The tags of the edited rows, in row order.
    std::vector<std::wstring> editedTags()
    {
        std::vector<std::wstring> tags;
        hosted.grid->resetToFirstEditedRow();
        Bstr row, tag;
        LONG index = -1;
        while (hosted.grid->getNextEditedRow(row.out(), tag.out(), &index) == S_OK)
            tags.push_back(tag.wide());
        return tags;
    }
    LONG editedCount()
    {
        LONG count = -1;
        hosted.grid->getNumberOfEditedRows(&count);
        return count;
    }
    std::string listSelection(HWND list)
    {
        const WPARAM index = static_cast<WPARAM>(SendMessageA(list, CB_GETCURSEL, 0, 0));
        char text[64] = "";
        const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
        if (length != CB_ERR && length < static_cast<LRESULT>(sizeof text))
            SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }

    test::OleApartment apartment;
    HostedGrid hosted;
};

}  // namespace

TEST_F(GridMenuFilesTest, AClickOnADropDownCellOpensTheListAndAChoiceWritesTheCell)
{
    Bstr kind(L"ddDropDownList"), choices(L"Off|On"), row(L"a|On|d"), tag(L"t1");
    hosted.grid->setGuiComponent(1, kind.get(), choices.get());
    hosted.grid->updateRow(row.get(), tag.get(), VARIANT_TRUE, VARIANT_FALSE);
    ASSERT_EQ(0, editedCount());

    SendMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, cellPoint(1, 1));
    SendMessageA(window(), WM_LBUTTONUP, 0, cellPoint(1, 1));
    test::pumpMessages();
    HWND list = GetDlgItem(window(), kListId);
    ASSERT_TRUE(list);
    EXPECT_TRUE(hasVisibleStyle(list));
    EXPECT_EQ(2, SendMessageA(list, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("On", listSelection(list));
    const RECT rect = test::rectInParent(list);
    const POINT middle{LOWORD(cellPoint(1, 1)), HIWORD(cellPoint(1, 1))};
    EXPECT_TRUE(PtInRect(&rect, middle));
    // No edit box over a list cell.
    HWND edit = FindWindowExA(window(), nullptr, "QuorEditBoxObj", nullptr);
    EXPECT_FALSE(edit && hasVisibleStyle(edit));

    // The list tells its parent of a user's choice; CB_SETCURSEL alone does not.
    const LRESULT off =
        SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Off"));
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(off), 0);
    SendMessageA(window(), WM_COMMAND, MAKEWPARAM(kListId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(L"Off", cell(1, 1));
    EXPECT_EQ(L"a", cell(1, 0));
    EXPECT_EQ(std::vector<std::wstring>{L"t1"}, editedTags());

    // A click elsewhere puts the list away.
    SendMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, cellPoint(3, 0));
    SendMessageA(window(), WM_LBUTTONUP, 0, cellPoint(3, 0));
    test::pumpMessages();
    EXPECT_FALSE(hasVisibleStyle(list));
    hosted.grid->CompleteEdit();
}

TEST_F(GridMenuFilesTest, ExportWritesEveryRowOrOnlyTheSelectedOnes)
{
    ScratchFile file("menu_export.csv");
    exportTo(file.path());
    EXPECT_EQ(kAllRowsFile, readFile(file.path()));

    hosted.grid->setRowSelect(2, Selected);
    hosted.grid->setRowSelect(4, Selected);
    DeleteFileA(file.path().c_str());
    exportTo(file.path());
    EXPECT_EQ("Name,Value,Note\r\n2,,\r\nq\"\",\",\",z\r\n", readFile(file.path()));
    EXPECT_EQ(4u, rows().size());
}

TEST_F(GridMenuFilesTest, ImportOfTheExportReplacesTheRowsWithTheSameOnesAndAppendAddsThem)
{
    ScratchFile file("menu_roundtrip.csv");
    exportTo(file.path());
    ASSERT_EQ(kAllRowsFile, readFile(file.path()));
    {
        DialogAnswerer confirm("Import CSV File", pressButton(IDYES));
        DialogAnswerer open("Load Excel CSV File", chooseFile(file.path()));
        chooseFromCellMenu(kImportCommand);
        EXPECT_TRUE(confirm.wait());
        EXPECT_TRUE(open.wait());
    }
    EXPECT_EQ(kRows, rows());
    EXPECT_EQ(kRows, deletedRows());
    EXPECT_EQ(std::vector<std::wstring>(kRows.size(), L""), editedTags());
    EXPECT_EQ(nullptr, GetCapture());

    hosted.grid->resetAllEditedRows();
    {
        DialogAnswerer open("Append Excel CSV File", chooseFile(file.path()));
        chooseFromCellMenu(kAppendCommand);
        EXPECT_TRUE(open.wait());
    }
    std::vector<std::wstring> twice = kRows;
    twice.insert(twice.end(), kRows.begin(), kRows.end());
    EXPECT_EQ(twice, rows());
    EXPECT_EQ(static_cast<LONG>(kRows.size()), editedCount());
    EXPECT_EQ(kRows, deletedRows());
}

TEST_F(GridMenuFilesTest, AnImportTheUserDeclinesLeavesTheRowsAlone)
{
    ScratchFile file("menu_declined.csv");
    exportTo(file.path());
    {
        DialogAnswerer decline("Import CSV File", pressButton(IDNO));
        chooseFromCellMenu(kImportCommand);
        EXPECT_TRUE(decline.wait());
    }
    EXPECT_EQ(kRows, rows());
    EXPECT_TRUE(deletedRows().empty());
    EXPECT_EQ(0, editedCount());
}

TEST_F(GridMenuFilesTest, AnImportWhileACellIsOpenLeavesTheNewRowsAsTheFileHasThem)
{
    ScratchFile file("menu_open_cell.csv");
    writeFile(file.path(), "Name,Value,Note\nn1,v1,w1\nn2,v2,w2\n");
    SendMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, cellPoint(2, 1));
    HWND edit = FindWindowExA(window(), nullptr, "QuorEditBoxObj", nullptr);
    ASSERT_TRUE(edit && hasVisibleStyle(edit));
    // The box holds the mouse: the release reaches it, not the grid.
    SendMessageA(edit, WM_LBUTTONUP, 0, 0);
    SetWindowTextA(edit, "typed");
    {
        DialogAnswerer confirm("Import CSV File", pressButton(IDYES));
        DialogAnswerer open("Load Excel CSV File", chooseFile(file.path()));
        chooseFromCellMenu(kImportCommand);
        EXPECT_TRUE(open.wait());
    }
    hosted.grid->CompleteEdit();
    EXPECT_EQ((std::vector<std::wstring>{L"n1|v1|w1", L"n2|v2|w2"}), rows());
    EXPECT_EQ(std::vector<std::wstring>(2, L""), editedTags());
    // The typed text went to the row it was typed into, before that was deleted.
    const std::vector<std::wstring> deleted = deletedRows();
    ASSERT_EQ(kRows.size(), deleted.size());
    EXPECT_EQ(L"2|typed|", deleted[1]);
}

}  // namespace quor
