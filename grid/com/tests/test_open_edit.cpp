// An open edit belongs to its row: text typed into a cell and left open
// while the host sorts, deletes, hides, replaces rows or sets new headings
// ends in the row it was typed into, or nowhere when that row is gone.
// Driven on the real control hosted in a window, as a user and a host would.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "HostedGrid.h"

namespace quor {

namespace {

class OpenEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(apartment.ok());
        ASSERT_EQ(S_OK, hosted.attached);
        hosted.fill(8);
        for (LONG index = 0; index < 8; ++index) {
            const std::wstring tag = L"t" + std::to_wstring(index + 1);
            hosted.grid->setTagText(index, Bstr(tag.c_str()));
        }
        for (LONG column = 0; column < 3; ++column)
            hosted.grid->setColumnWidth(column, kColumnWidth);
    }
    void TearDown() override { ReleaseCapture(); }

    HWND editBox() const { return FindWindowExA(hosted.window(), nullptr, "QuorEditBoxObj", nullptr); }

    // Clicks row 2, column 1 and types without leaving the cell.
    void typeIntoRowTwo()
    {
        SendMessageA(hosted.window(), WM_LBUTTONDOWN, MK_LBUTTON, cellPoint(2, 1));
        SendMessageA(hosted.window(), WM_LBUTTONUP, 0, cellPoint(2, 1));
        test::pumpMessages();
        ASSERT_TRUE(editBox());
        SetWindowTextA(editBox(), "typed");
    }

    // The first cells of the rows whose column 1 holds the text, in display order.
    std::wstring rowsHolding(const std::wstring& typed = L"typed")
    {
        LONG count = 0;
        hosted.grid->getNumberOfRows(&count);
        std::wstring names;
        for (LONG row = 1; row <= count; ++row) {
            Bstr text, name;
            hosted.grid->getCellText(row, 1, text.out());
            hosted.grid->getCellText(row, 0, name.out());
            if (text.text() == typed)
                names += (names.empty() ? L"" : L",") + name.text();
        }
        return names;
    }

    void selectRowsTwoAndFive()
    {
        hosted.grid->setRowSelect(2, Selected);
        hosted.grid->setRowSelect(5, Selected);
    }

    test::OleApartment apartment;
    HostedGrid hosted;
};

}  // namespace

TEST_F(OpenEditTest, SortingAnotherColumnOrTheEditedOneKeepsTheTextInItsRow)
{
    typeIntoRowTwo();
    hosted.grid->sortGrid(0, Descending);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"r2", rowsHolding());

    // Row 2 is r7 now; its first cell, edited, sorts to the top.
    SendMessageA(hosted.window(), WM_LBUTTONDOWN, MK_LBUTTON, cellPoint(2, 0));
    SendMessageA(hosted.window(), WM_LBUTTONUP, 0, cellPoint(2, 0));
    test::pumpMessages();
    ASSERT_TRUE(editBox());
    SetWindowTextA(editBox(), "a0");
    hosted.grid->sortGrid(0, Ascending);
    hosted.grid->CompleteEdit();
    Bstr first, tag;
    hosted.grid->getCellText(1, 0, first.out());
    hosted.grid->getTagText(0, tag.out());
    EXPECT_EQ(L"a0", first.text());
    EXPECT_EQ(L"t7", tag.text());
}

TEST_F(OpenEditTest, ReplacedRowsNeverReceiveTheText)
{
    typeIntoRowTwo();
    hosted.grid->deleteAllRows(VARIANT_TRUE);
    hosted.fill(8);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"", rowsHolding());

    // The text went into the old row, which the host finds among the deleted.
    hosted.grid->resetToFirstDeletedRow();
    Bstr row, tag;
    std::wstring editedTag;
    while (hosted.grid->getNextDeletedRow(row.out(), tag.out()) == S_OK) {
        if (row.text().find(L"|typed|") != std::wstring::npos)
            editedTag = tag.text();
    }
    EXPECT_EQ(L"t2", editedTag);
}

TEST_F(OpenEditTest, DeletingTheEditedRowDropsTheTextAndDeletingAnotherKeepsIt)
{
    typeIntoRowTwo();
    hosted.grid->deleteRow(Bstr(L"t2"), VARIANT_FALSE);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"", rowsHolding());

    typeIntoRowTwo();  // now r3
    hosted.grid->deleteRow(Bstr(L"t1"), VARIANT_FALSE);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"r3", rowsHolding());
}

TEST_F(OpenEditTest, HidingTheEditedRowOrNewHeadingsKeepTheTextInItsRow)
{
    typeIntoRowTwo();
    hosted.grid->setRowVisibility(1, VARIANT_FALSE);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"r2", rowsHolding());

    hosted.grid->setAllVisible();
    typeIntoRowTwo();
    SetWindowTextA(editBox(), "other");
    hosted.grid->setColumnHeadings(Bstr(L"A|B|C|D|E|F|G|H|I|J|K|L"));
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"r2", rowsHolding(L"other"));
}

TEST_F(OpenEditTest, TheCopyIntoSelectedRowsFollowsTheSameRule)
{
    typeIntoRowTwo();
    selectRowsTwoAndFive();
    hosted.grid->sortGrid(0, Descending);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"r5,r2", rowsHolding());
}

TEST_F(OpenEditTest, TheCopyIntoSelectedRowsNeverReachesReplacedRows)
{
    typeIntoRowTwo();
    selectRowsTwoAndFive();
    hosted.grid->deleteRow(Bstr(L"t1"), VARIANT_FALSE);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"r2,r5", rowsHolding());
}

TEST_F(OpenEditTest, ALongCellSurvivesTheEditor)
{
    const std::wstring longText(5000, L'w');
    hosted.grid->updateRow(Bstr((L"r2|" + longText + L"|c").c_str()), Bstr(L"t2"), VARIANT_TRUE, VARIANT_FALSE);
    auto cell = [&] {
        Bstr text;
        hosted.grid->getCellText(2, 1, text.out());
        return text.text();
    };
    auto editedRows = [&] {
        LONG count = -1;
        hosted.grid->getNumberOfEditedRows(&count);
        return count;
    };
    auto clickCell = [&](int row, int column) {
        SendMessageA(hosted.window(), WM_LBUTTONDOWN, MK_LBUTTON, cellPoint(row, column));
        SendMessageA(hosted.window(), WM_LBUTTONUP, 0, cellPoint(row, column));
        test::pumpMessages();
    };
    ASSERT_EQ(0, editedRows());

    // Opened and left by a click elsewhere, by Escape and by a scroll.
    clickCell(2, 1);
    clickCell(4, 0);
    clickCell(2, 1);
    SendMessageA(editBox(), WM_KEYDOWN, VK_ESCAPE, 0);
    test::pumpMessages();
    clickCell(2, 1);
    hosted.scroll(WM_VSCROLL, SB_LINEDOWN);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(longText, cell());
    EXPECT_EQ(0, editedRows());

    hosted.scroll(WM_VSCROLL, SB_LINEUP);
    clickCell(2, 1);
    ASSERT_TRUE(editBox());
    SendMessageA(editBox(), WM_KEYDOWN, VK_END, 0);
    SendMessageA(editBox(), WM_CHAR, 'x', 0);
    SendMessageA(editBox(), WM_CHAR, 'y', 0);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(longText + L"xy", cell());
    EXPECT_EQ(1, editedRows());
}

TEST_F(OpenEditTest, WithRowsTwoAndFiveSelectedHidingNewHeadingsAndReplacingKeepTheRule)
{
    typeIntoRowTwo();
    selectRowsTwoAndFive();
    hosted.grid->setRowVisibility(1, VARIANT_FALSE);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"r2,r5", rowsHolding());

    hosted.grid->setAllVisible();
    typeIntoRowTwo();
    SetWindowTextA(editBox(), "other");
    selectRowsTwoAndFive();
    hosted.grid->setColumnHeadings(Bstr(L"A|B|C|D|E|F|G|H|I|J|K|L"));
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"r2,r5", rowsHolding(L"other"));

    typeIntoRowTwo();
    SetWindowTextA(editBox(), "third");
    selectRowsTwoAndFive();
    hosted.grid->deleteAllRows(VARIANT_TRUE);
    hosted.fill(8);
    hosted.grid->setRowSelect(2, Selected);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"", rowsHolding(L"third"));
}

}  // namespace quor
