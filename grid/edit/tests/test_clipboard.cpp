// Cut, Copy and Paste: the texts and their effect on the rows, and one
// trip through the real clipboard.
#include <gtest/gtest.h>

#include "ColumnTable.h"
#include "GridClipboard.h"
#include "InteractionTestSupport.h"

namespace quor {

TEST(ClipboardText, CopyOfSelectedRowsIsTabSeparatedLines)
{
    TestGrid grid;
    fillGrid(grid, "A|B", {"a|b", "skip|me", "c", ""});
    rowNumber(grid, 1).selected = VARIANT_TRUE;
    rowNumber(grid, 3).selected = VARIANT_TRUE;
    rowNumber(grid, 4).selected = VARIANT_TRUE;
    const ClipboardText text = copyText(grid);
    EXPECT_TRUE(text.anything);
    EXPECT_EQ("a\tb\nc\n", text.text);
}

TEST(ClipboardText, CopyWithoutRowsTakesTheSelectedCells)
{
    TestGrid grid;
    fillGrid(grid, "A|B", {"a|b", "c|d", "e|f"});
    EXPECT_FALSE(copyText(grid).anything);
    rowNumber(grid, 1).selectedCell = 1;
    rowNumber(grid, 3).selectedCell = 0;
    EXPECT_EQ("b\ne\n", copyText(grid).text);
}

TEST(ClipboardText, CutOfRowsReportsThemAsDeleted)
{
    TestGrid grid;
    fillGrid(grid, "A", {"1", "2", "3"});
    rowNumber(grid, 1).selected = VARIANT_TRUE;
    rowNumber(grid, 3).selected = VARIANT_TRUE;
    cutSelection(grid);
    EXPECT_EQ((std::vector<std::string>{"2"}), rowTexts(grid));
    EXPECT_EQ((std::vector<std::string>{"1", "3"}), deletedTexts(grid));
}

TEST(ClipboardText, CutOfCellsEmptiesThemUpToAReadOnlyColumn)
{
    TestGrid grid;
    fillGrid(grid, "A|B", {"a|b", "c|d", "e|f"});
    grid.columns().setEditable(0, VARIANT_FALSE);
    rowNumber(grid, 1).selectedCell = 1;
    rowNumber(grid, 2).selectedCell = 0;
    rowNumber(grid, 3).selectedCell = 1;
    cutSelection(grid);
    EXPECT_EQ((std::vector<std::string>{"a|", "c|d", "e|f"}), rowTexts(grid));
    EXPECT_EQ(VARIANT_TRUE, rowNumber(grid, 1).edited);
    EXPECT_EQ(VARIANT_FALSE, rowNumber(grid, 3).edited);
}

TEST(ClipboardText, PasteWithoutAClickAddsEditedRows)
{
    TestGrid grid;
    grid.setColumnHeadings("A|B|C");
    pasteText(grid, "p");
    pasteText(grid, "x\ty|z\r\n\"q\tr\"\n");
    EXPECT_EQ((std::vector<std::string>{"p||", "x|y-z|", "qr||"}), rowTexts(grid));
    EXPECT_EQ(3, grid.rows().countEdited());
}

TEST(ClipboardText, PasteIntoCellsSpreadsOverTheFollowingCells)
{
    TestGrid grid;
    fillGrid(grid, "A|B|C", {"1|2|3", "4|5|6", "7|8|9"});
    grid.cells().clickRow = 1;
    grid.cells().clickColumn = 1;
    pasteText(grid, "a\tb\tlost\nc\n");
    EXPECT_EQ((std::vector<std::string>{"1|a|b", "4|c|6", "7|8|9"}), rowTexts(grid));
    EXPECT_EQ(VARIANT_TRUE, rowNumber(grid, 2).edited);
    EXPECT_EQ(VARIANT_FALSE, rowNumber(grid, 3).edited);
    // Text without a final line break still lands in the cell.
    grid.cells().clickRow = 3;
    pasteText(grid, "z");
    EXPECT_EQ("7|z|9", rowNumber(grid, 3).rowText);
    EXPECT_EQ(3, grid.rows().rowCount());
}

TEST(ClipboardText, PasteIntoAReadOnlyColumnWritesNothing)
{
    TestGrid grid;
    fillGrid(grid, "A|B", {"1|2"});
    grid.columns().setEditable(1, VARIANT_FALSE);
    grid.cells().clickRow = 1;
    grid.cells().clickColumn = 1;
    pasteText(grid, "x\n");
    EXPECT_EQ((std::vector<std::string>{"1|2"}), rowTexts(grid));
}

TEST(Clipboard, CopyCutAndPasteGoThroughTheClipboard)
{
    HWND window = sharedTestWindow();
    TestGrid grid;
    fillGrid(grid, "A|B", {"a|b", "c"});
    EXPECT_EQ(S_FALSE, copyToClipboard(grid, window));
    rowNumber(grid, 1).selected = VARIANT_TRUE;
    rowNumber(grid, 2).selected = VARIANT_TRUE;
    ASSERT_EQ(S_OK, cutToClipboard(grid, window));
    std::string text;
    ASSERT_EQ(S_OK, getClipboardText(window, text));
    EXPECT_EQ("a\tb\nc\n", text);
    EXPECT_EQ(0, grid.rows().rowCount());
    EXPECT_EQ((std::vector<std::string>{"a|b", "c"}), deletedTexts(grid));
    ASSERT_EQ(S_OK, pasteFromClipboard(grid, window));
    EXPECT_EQ((std::vector<std::string>{"a|b", "c|"}), rowTexts(grid));
}

}  // namespace quor
