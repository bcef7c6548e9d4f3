// The key table and the mouse on the cell area.
#include <gtest/gtest.h>

#include <memory>

#include "ColumnTable.h"
#include "GridClipboard.h"
#include "GridInteraction.h"
#include "InteractionTestSupport.h"

namespace quor {

TEST(GridKeys, TheTableDependsOnEditingShiftAndEditability)
{
    GridKeyState idle;
    GridKeyState editing;
    editing.editing = true;
    GridKeyState shifted;
    shifted.shift = true;
    GridKeyState locked;
    locked.editable = false;
    EXPECT_EQ(GridKeyAction::NextCell, gridKeyAction(VK_TAB, editing));
    EXPECT_EQ(GridKeyAction::CancelEdit, gridKeyAction(VK_ESCAPE, editing));
    EXPECT_EQ(GridKeyAction::DefaultProcessing, gridKeyAction(VK_ESCAPE, idle));
    EXPECT_EQ(GridKeyAction::CellLeft, gridKeyAction(VK_LEFT, idle));
    EXPECT_EQ(GridKeyAction::DefaultProcessing, gridKeyAction(VK_LEFT, editing));
    EXPECT_EQ(GridKeyAction::DefaultProcessing, gridKeyAction(VK_HOME, editing));
    EXPECT_EQ(GridKeyAction::CellUp, gridKeyAction(VK_UP, editing));
    EXPECT_EQ(GridKeyAction::Nothing, gridKeyAction(VK_DOWN, shifted));
    EXPECT_EQ(GridKeyAction::Cut, gridKeyAction(VK_DELETE, idle));
    EXPECT_EQ(GridKeyAction::DefaultProcessing, gridKeyAction('X', locked));
    EXPECT_EQ(GridKeyAction::DefaultProcessing, gridKeyAction('V', locked));
    EXPECT_EQ(GridKeyAction::Copy, gridKeyAction('C', locked));
    EXPECT_EQ(GridKeyAction::SelectAll, gridKeyAction('A', idle));
    EXPECT_EQ(GridKeyAction::DefaultProcessing, gridKeyAction('Q', idle));
}

namespace {

class KeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        showIn(grid, window);
        std::vector<std::string> rows;
        for (int i = 1; i <= 40; ++i)
            rows.push_back(std::to_string(i) + "|x|y|z");
        fillGrid(grid, "A|B|C|D", rows);
        for (int32_t c = 0; c < 4; ++c)
            grid.columns().setWidth(c, 200);
        ASSERT_TRUE(interaction.create(window, nullptr));
        grid.relayout();
    }
    void TearDown() override { ReleaseCapture(); }

    static POINT cellPoint(int32_t row, int32_t column)
    {
        return POINT{GridView::kRowButtonWidth + 200 * column + 20, 20 * row + 10};
    }
    bool key(WPARAM k, bool shift = false) { return interaction.onKeyDown(k, shift); }
    int32_t currentRow() { return grid.cells().currentRow; }
    int32_t currentColumn() { return grid.cells().currentColumn; }

    HWND window = sharedTestWindow();
    TestGrid grid;
    GridInteraction interaction{grid, std::make_unique<CommonFileDialog>()};
};

}  // namespace

TEST_F(KeysTest, ArrowsTabAndEnterMoveTheEditor)
{
    interaction.onLButtonDown(cellPoint(2, 3), false);
    key(VK_TAB);
    EXPECT_EQ(3, currentRow());
    EXPECT_EQ(0, currentColumn());
    key(VK_DOWN);
    EXPECT_EQ(4, currentRow());
    key(VK_UP);
    key(VK_UP);
    EXPECT_EQ(2, currentRow());
    key(VK_UP, true);
    EXPECT_EQ(2, currentRow());
    interaction.completeEdit();
    key(VK_RIGHT);
    EXPECT_EQ(1, currentColumn());
    interaction.completeEdit();
    key(VK_LEFT);
    EXPECT_EQ(0, currentColumn());
    // While an edit is open Left stays in the edit box.
    EXPECT_FALSE(key(VK_LEFT));
}

TEST_F(KeysTest, PagesHomeAndEndScrollTheGrid)
{
    const int32_t lines = grid.view().visibleRowCount;
    ASSERT_GT(lines, 3);
    key(VK_NEXT);
    EXPECT_EQ(lines - 3, grid.view().firstVisibleRow);
    key(VK_PRIOR);
    EXPECT_EQ(0, grid.view().firstVisibleRow);
    for (int i = 0; i < 20; ++i)
        key(VK_NEXT);
    EXPECT_EQ(40 - (grid.view().visibleRowCount - 1), grid.view().firstVisibleRow);
    key(VK_END);
    EXPECT_EQ(3, grid.view().firstVisibleColumn);
    key(VK_HOME);
    EXPECT_EQ(0, grid.view().firstVisibleColumn);
}

TEST_F(KeysTest, LettersRunTheClipboardCommands)
{
    rowNumber(grid, 1).selected = true;
    key('C');
    std::string text;
    ASSERT_EQ(S_OK, getClipboardText(window, text));
    EXPECT_EQ("1\tx\ty\tz\n", text);
    EXPECT_FALSE(rowNumber(grid, 1).selected);

    rowNumber(grid, 2).selected = true;
    key(VK_DELETE);
    EXPECT_EQ(39, grid.rows().rowCount());
    EXPECT_EQ((std::vector<std::string>{"2|x|y|z"}), deletedTexts(grid));
    rowNumber(grid, 1).selected = true;
    key('V');
    EXPECT_EQ(40, grid.rows().rowCount());
    EXPECT_EQ("2|x|y|z", rowNumber(grid, 40).rowText);

    grid.view().gridEditable = false;
    EXPECT_FALSE(key('X'));
    EXPECT_EQ(40, grid.rows().rowCount());
    grid.view().gridEditable = true;

    key('A');
    const int32_t afterFirst = grid.rows().countSelected();
    key('A');
    EXPECT_EQ(40 - afterFirst, grid.rows().countSelected());
}

TEST_F(KeysTest, ShiftClickAndDragMarkCellsOfOneColumn)
{
    interaction.onLButtonDown(cellPoint(2, 1), false);
    interaction.onLButtonDown(cellPoint(5, 1), true);
    for (int32_t n = 1; n <= 6; ++n)
        EXPECT_EQ(n >= 2 && n <= 5 ? 1 : -1, rowNumber(grid, n).selectedCell) << n;
    EXPECT_EQ(5, grid.cells().clickRow);

    interaction.onLButtonDown(cellPoint(3, 2), false);
    interaction.onMouseMove(cellPoint(1, 2), true);
    for (int32_t n = 1; n <= 6; ++n)
        EXPECT_EQ(n <= 3 ? 2 : -1, rowNumber(grid, n).selectedCell) << n;
    // Without the button nothing is marked.
    interaction.onMouseMove(cellPoint(6, 2), false);
    EXPECT_EQ(-1, rowNumber(grid, 6).selectedCell);
}

TEST_F(KeysTest, PointsMapToCells)
{
    EXPECT_FALSE(cellAtPoint(grid, POINT{-1, 5}).hit);
    const CellHit hit = cellAtPoint(grid, POINT{GridView::kRowButtonWidth + 450, 65});
    EXPECT_TRUE(hit.hit);
    EXPECT_EQ(3, hit.row);
    EXPECT_EQ(2, hit.column);
    EXPECT_FALSE(cellAtPoint(grid, POINT{GridView::kRowButtonWidth + 801, 65}).hit);
    grid.view().columnHeaderShown = false;
    grid.view().firstVisibleRow = 10;
    EXPECT_EQ(14, cellAtPoint(grid, POINT{100, 65}).row);
}

TEST(CellMenu, SetEditabilityGreysTheChangingCommands)
{
    HMENU menu = CreatePopupMenu();
    for (UINT id : {kCutCommand, kCopyCommand, kPasteCommand, kImportCommand, kExportCommand, kAppendCommand})
        AppendMenuA(menu, MF_STRING, id, "x");
    CellMenuCommands::setEditability(menu, false);
    EXPECT_NE(0u, GetMenuState(menu, kCutCommand, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, GetMenuState(menu, kAppendCommand, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(0u, GetMenuState(menu, kCopyCommand, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(0u, GetMenuState(menu, kExportCommand, MF_BYCOMMAND) & MF_GRAYED);
    CellMenuCommands::setEditability(menu, true);
    EXPECT_EQ(0u, GetMenuState(menu, kPasteCommand, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(menu);
}

}  // namespace quor
