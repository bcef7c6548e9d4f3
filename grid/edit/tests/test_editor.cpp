// The cell editor over a plain parent window: opening, commit, the copy
// into selected rows, Escape, read-only columns, the drop-down list and
// auto-size.
#include <gtest/gtest.h>

#include <memory>

#include "ColumnTable.h"
#include "GdiHandles.h"
#include "GridInteraction.h"
#include "InteractionTestSupport.h"

namespace quor {

namespace {

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        showIn(grid, window);
        fillGrid(grid, "Name|Value|Mode", {"a|1|On", "b|2|Off", "c|3|On", "d|4|Off", "e|5|On"});
        for (int32_t c = 0; c < 3; ++c)
            grid.columns().setWidth(c, 80);
        grid.columns().setCellKind(2, "ddDropDownList", "Off|On");
        ASSERT_TRUE(interaction.create(window, nullptr));
    }
    void TearDown() override { ReleaseCapture(); }

    // The middle of a cell, in client coordinates.
    static POINT cellPoint(int32_t row, int32_t column)
    {
        return POINT{GridView::kRowButtonWidth + 80 * column + 40, 20 * row + 10};
    }
    void click(int32_t row, int32_t column, bool shift = false)
    {
        interaction.onLButtonDown(cellPoint(row, column), shift);
    }
    void type(const char* text) { SetWindowTextA(editor().editWindow(), text); }
    CellEditor& editor() { return interaction.editor(); }
    RECT editRect()
    {
        RECT rect;
        GetWindowRect(editor().editWindow(), &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    HWND window = sharedTestWindow();
    TestGrid grid;
    GridInteraction interaction{grid, std::make_unique<CommonFileDialog>()};
};

}  // namespace

TEST_F(EditorTest, AClickOpensTheEditBoxOverTheCellWithItsTextSelected)
{
    click(2, 1);
    ASSERT_TRUE(editor().isEditing());
    HWND edit = editor().editWindow();
    EXPECT_TRUE(IsWindowVisible(edit));
    char text[16] = "";
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ("2", text);
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(1u, end);
    const RECT rect = editRect();
    EXPECT_EQ(119, rect.left);  // 39 pixels of row buttons and the 80 of column 0
    EXPECT_EQ(41, rect.top);
    EXPECT_EQ(78, rect.right - rect.left);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(GetCapture(), edit);
    EXPECT_EQ(0, GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
}

TEST_F(EditorTest, EnterWritesTheCellMarksTheRowAndOpensTheCellBelow)
{
    click(1, 0);
    type("new");
    EXPECT_TRUE(interaction.onKeyDown(VK_RETURN, false));
    EXPECT_EQ("new|1|On", rowNumber(grid, 1).rowText);
    EXPECT_TRUE(rowNumber(grid, 1).edited);
    EXPECT_EQ(2, grid.cells().currentRow);
    EXPECT_EQ(0, grid.cells().currentColumn);
    EXPECT_TRUE(editor().isEditing());
}

TEST_F(EditorTest, TheSameTextDoesNotMarkAndLongTextIsCut)
{
    click(1, 0);
    editor().commit();
    EXPECT_FALSE(rowNumber(grid, 1).edited);
    EXPECT_FALSE(editor().isEditing());
    click(1, 0);
    type(std::string(1500, 'x').c_str());
    editor().commit();
    EXPECT_EQ(std::string(998, 'x') + "|1|On", rowNumber(grid, 1).rowText);
}

TEST_F(EditorTest, ACommitAlsoWritesTheSelectedRowsWithoutMarkingThem)
{
    rowNumber(grid, 2).selected = true;
    rowNumber(grid, 5).selected = true;
    click(2, 1);
    EXPECT_TRUE(rowNumber(grid, 5).selected);
    type("77");
    interaction.completeEdit();
    EXPECT_EQ("b|77|Off", rowNumber(grid, 2).rowText);
    EXPECT_EQ("e|77|On", rowNumber(grid, 5).rowText);
    EXPECT_TRUE(rowNumber(grid, 2).edited);
    EXPECT_FALSE(rowNumber(grid, 5).edited);
    EXPECT_EQ("c|3|On", rowNumber(grid, 3).rowText);
}

TEST_F(EditorTest, EscapeKeepsTheOldText)
{
    click(3, 0);
    type("typed");
    EXPECT_TRUE(interaction.onKeyDown(VK_ESCAPE, false));
    EXPECT_FALSE(editor().isEditing());
    EXPECT_EQ("c|3|On", rowNumber(grid, 3).rowText);
    EXPECT_FALSE(rowNumber(grid, 3).edited);
    EXPECT_FALSE(interaction.onKeyDown(VK_ESCAPE, false));
}

TEST_F(EditorTest, AReadOnlyColumnOpensReadOnlyAndWritesNothing)
{
    grid.columns().setEditable(0, false);
    click(1, 0);
    ASSERT_TRUE(editor().isEditing());
    EXPECT_NE(0, GetWindowLongA(editor().editWindow(), GWL_STYLE) & ES_READONLY);
    editor().commit();
    EXPECT_FALSE(rowNumber(grid, 1).edited);
}

TEST_F(EditorTest, NoEditorOpensOnANonEditableGrid)
{
    interaction.setEditability(false);
    click(1, 0);
    EXPECT_FALSE(editor().isEditing());
    EXPECT_FALSE(IsWindowVisible(editor().editWindow()));
}

TEST_F(EditorTest, ADropDownCellOpensWithItsChoiceAndChoosingWritesIt)
{
    click(1, 2);
    HWND list = editor().listWindow();
    ASSERT_TRUE(IsWindowVisible(list));
    EXPECT_FALSE(editor().isEditing());
    EXPECT_EQ(2, SendMessageA(list, CB_GETCOUNT, 0, 0));
    char text[16] = "";
    SendMessageA(list, CB_GETLBTEXT, SendMessageA(list, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("On", text);
    SendMessageA(list, CB_SETCURSEL, SendMessageA(list, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("Off")), 0);
    EXPECT_TRUE(interaction.onCommand(MAKEWPARAM(CellEditor::kListId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list)));
    EXPECT_EQ("a|1|Off", rowNumber(grid, 1).rowText);
    EXPECT_TRUE(rowNumber(grid, 1).edited);
    click(2, 0);
    EXPECT_FALSE(IsWindowVisible(list));
}

TEST_F(EditorTest, OpeningTheLastRowAddsABlankRowBelow)
{
    click(5, 0);
    EXPECT_EQ(6, grid.rows().rowCount());
    EXPECT_EQ("||", rowNumber(grid, 6).rowText);
    EXPECT_EQ(1, rowNumber(grid, 6).blankRow);
    interaction.onKeyDown(VK_RETURN, false);
    EXPECT_EQ(6, grid.cells().currentRow);
}

TEST_F(EditorTest, AutoSizeWidensTheBoxToItsText)
{
    MemoryDC dc(nullptr);
    grid.setMeasuring(dc.get(), static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    rowNumber(grid, 1).rowText = std::string(60, 'W') + "|1|On";
    click(1, 0);
    const int32_t wide = editRect().right - editRect().left;
    EXPECT_GT(wide, 78);
    editor().commit();
    grid.view().autoSizeEditBox = false;
    click(1, 0);
    EXPECT_EQ(78, editRect().right - editRect().left);
}

TEST_F(EditorTest, TheEditBoxPassesTheMovingKeysOn)
{
    click(1, 0);
    pumpMessages();
    SendMessageA(editor().editWindow(), WM_KEYDOWN, VK_TAB, 0);
    SendMessageA(editor().editWindow(), WM_KEYDOWN, 'Q', 0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, window, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_EQ(static_cast<WPARAM>(VK_TAB), message.wParam);
    EXPECT_FALSE(PeekMessageA(&message, window, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_TRUE(QuorEditBoxObj::passesOn('C', true));
    EXPECT_FALSE(QuorEditBoxObj::passesOn('C', false));
    EXPECT_FALSE(QuorEditBoxObj::passesOn(VK_LEFT, false));
}

}  // namespace quor
