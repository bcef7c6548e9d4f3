// Pixel tests of the paint pass: the cells are painted into a memory DC
// exactly as the control paints into its off-screen buffer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ColumnTable.h"
#include "GdiHandles.h"
#include "GridPainter.h"
#include "GridRow.h"
#include "GridView.h"
#include "OleTestSupport.h"

namespace quor {

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 200;
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kLine = RGB(0xCC, 0xCC, 0xCC);

class PaintTest : public ::testing::Test {
protected:
    PaintTest()
    {
        for (const char* heading : {"Name", "Value", "Unit"})
            columns.insert(heading);  // widths 56, 64, 56
        view.gridLineStyle = linesNone;
    }

    GridRow& addRow(const std::string& text)
    {
        owned.push_back(std::make_unique<GridRow>());
        owned.back()->rowText = text;
        rows.push_back(owned.back().get());
        return *owned.back();
    }

    void paint()
    {
        const RECT client{0, 0, kWidth, kHeight};
        const PaintScene scene{view, columns, columns.count(), rows, font.get(), pen.get()};
        paintCells(canvas.dc(), cellAreaOf(view, client), scene);
    }

    // Whether any pixel of the rectangle differs from `colour`.
    bool anyOtherThan(COLORREF colour, int left, int top, int right, int bottom) const
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (canvas.at(x, y) != colour)
                    return true;
        return false;
    }

    bool anyOf(COLORREF colour, int left, int top, int right, int bottom) const
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (canvas.at(x, y) == colour)
                    return true;
        return false;
    }

    // The text as DrawTextEx alone puts it into `box` on a white canvas.
    void drawReference(const char* text, RECT box, UINT alignment)
    {
        const RECT all{0, 0, kWidth, kHeight};
        FillRect(reference.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HGDIOBJ previous = SelectObject(reference.dc(), font.get());
        SetBkMode(reference.dc(), TRANSPARENT);
        std::string copy = text;
        DrawTextExA(reference.dc(), &copy[0], static_cast<int>(copy.size()), &box,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | alignment, nullptr);
        SelectObject(reference.dc(), previous);
    }

    bool matchesReference(const RECT& area) const
    {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (canvas.at(x, y) != reference.at(x, y))
                    return false;
        return true;
    }

    // Left edge of cell `column` on screen, with row buttons shown.
    int cellLeft(int column) const
    {
        int x = GridView::kRowButtonWidth;
        for (int c = 0; c < column; ++c)
            x += columns.width(c);
        return x;
    }

    static int lineTop(int line) { return 20 * line; }  // line 1 is under the header band

    GridView view;
    ColumnTable columns;
    std::vector<std::unique_ptr<GridRow>> owned;
    std::vector<GridRow*> rows;
    Font font{CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_TT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH, "MS Sans Serif")};
    Pen pen{CreatePen(PS_SOLID, 1, kLine)};
    test::PixelCanvas canvas{kWidth, kHeight};
    test::PixelCanvas reference{kWidth, kHeight};
};

TEST_F(PaintTest, FirstCellTextStartsAt42And21)
{
    addRow("MMMM|x|y");
    paint();
    const int left = cellLeft(0);
    EXPECT_FALSE(anyOtherThan(kWhite, left, lineTop(1), left + 3, lineTop(2)));
    EXPECT_FALSE(anyOtherThan(kWhite, left, lineTop(1), left + 56, lineTop(1) + 1));
    EXPECT_TRUE(anyOtherThan(kWhite, 42, 21, 46, 39));
    // Exactly where DrawTextEx puts the text into the box from (42, 21).
    const RECT box{42, 21, cellLeft(1) - 4, lineTop(2) - 2};
    drawReference("MMMM", box, DT_LEFT);
    EXPECT_TRUE(matchesReference(RECT{cellLeft(0), lineTop(1), cellLeft(1), lineTop(2)}));
    // Nothing is painted in the row button strip or the header band.
    EXPECT_FALSE(anyOtherThan(kWhite, 0, 0, GridView::kRowButtonWidth - 1, kHeight));
    EXPECT_FALSE(anyOtherThan(kWhite, 0, 0, kWidth, lineTop(1) - 1));
}

TEST_F(PaintTest, SelectedRowsCellsAndColumnsAreHighlightedEvenWhenEmpty)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    addRow("a||c").selected = true;
    addRow("a||c").selectedCell = 2;
    addRow("a||c");
    paint();
    const int inset = 5;  // a point inside the fill, away from any text
    EXPECT_EQ(highlight, canvas.at(cellLeft(0) + inset, lineTop(1) + 3));
    EXPECT_EQ(highlight, canvas.at(cellLeft(1) + inset, lineTop(1) + 3));
    EXPECT_EQ(highlight, canvas.at(cellLeft(2) + inset, lineTop(1) + 3));
    EXPECT_EQ(highlight, canvas.at(cellLeft(2) + inset, lineTop(2) + 3));
    EXPECT_EQ(kWhite, canvas.at(cellLeft(1) + inset, lineTop(2) + 3));
    EXPECT_EQ(kWhite, canvas.at(cellLeft(0) + inset, lineTop(3) + 3));
}

TEST_F(PaintTest, SelectedColumnMarksEveryRowButBlankRows)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    columns.clickSelect(1, false, false);
    GridRow& plain = addRow("a||c");
    GridRow& blank = addRow(" | | ");
    blank.blankRow = 1;
    paint();
    EXPECT_EQ(highlight, canvas.at(cellLeft(1) + 5, lineTop(1) + 3));
    EXPECT_EQ(highlight, canvas.at(cellLeft(1) + 5, lineTop(2) + 3));
    EXPECT_EQ(1, plain.selectedCell);
    EXPECT_EQ(-1, blank.selectedCell);
}

struct LineStyleCase {
    GridLines style;
    bool vertical;
    bool horizontal;
};

class GridLineStyleTest : public PaintTest, public ::testing::WithParamInterface<LineStyleCase> {};

TEST_P(GridLineStyleTest, DrawsTheLinesOfItsStyle)
{
    view.gridLineStyle = GetParam().style;
    addRow("a|b|c");
    paint();
    const int verticalX = 94;  // the last pixel of column 0: 39 of row buttons and 56 of the column
    EXPECT_EQ(GetParam().vertical, canvas.at(verticalX, lineTop(1) + 10) == kLine);
    // Vertical lines run from under the header band to the bottom.
    EXPECT_EQ(GetParam().vertical, canvas.at(verticalX, kHeight - 1) == kLine);
    EXPECT_EQ(GetParam().horizontal, canvas.at(cellLeft(0) + 30, lineTop(2)) == kLine);
}

INSTANTIATE_TEST_SUITE_P(Styles, GridLineStyleTest,
                         ::testing::Values(LineStyleCase{linesNone, false, false},
                                           LineStyleCase{linesHorizontal, false, true},
                                           LineStyleCase{linesVertical, true, false},
                                           LineStyleCase{linesBoth, true, true}));

TEST_F(PaintTest, ColourButtonCellShowsItsSwatch)
{
    columns.setCellKind(1, "ddColorButton", "");
    addRow("a|255|c");
    addRow("a|not a number|c");
    paint();
    const int middle = cellLeft(1) + columns.width(1) / 2;
    EXPECT_EQ(RGB(255, 0, 0), canvas.at(middle, lineTop(1) + 10));
    EXPECT_EQ(RGB(0, 0, 0), canvas.at(middle, lineTop(2) + 10));
    // The frame around the swatch is not the background.
    EXPECT_NE(kWhite, canvas.at(cellLeft(1) + 2, lineTop(1) + 10));
}

TEST_F(PaintTest, HiddenRowsBelowTheTopKeepABlankLineAndAboveItTakeNone)
{
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF blue = RGB(0, 0, 255);
    addRow("MMMM").visible = false;
    addRow("MMMM").textColor = red;
    addRow("MMMM").visible = false;
    addRow("MMMM").textColor = blue;
    paint();
    const int left = cellLeft(0);
    EXPECT_TRUE(anyOf(red, left, lineTop(1), left + 50, lineTop(2)));
    EXPECT_FALSE(anyOtherThan(kWhite, left, lineTop(2), kWidth, lineTop(3)));
    EXPECT_TRUE(anyOf(blue, left, lineTop(3), left + 50, lineTop(4)));
}

TEST_F(PaintTest, TopRowCountsOnlyVisibleRows)
{
    const COLORREF blue = RGB(0, 0, 255);
    addRow("MMMM").visible = false;
    addRow("MMMM");
    addRow("MMMM").textColor = blue;
    view.firstVisibleRow = 1;
    paint();
    EXPECT_TRUE(anyOf(blue, cellLeft(0), lineTop(1), cellLeft(0) + 50, lineTop(2)));
}

TEST_F(PaintTest, CentredTextTooWideForItsCellStaysInsideIt)
{
    view.textAlignment = alignCenter;
    addRow("a|WWWWWWWWWWWWWWWWWWWW|c");
    paint();
    const int left = cellLeft(1);
    const int right = left + columns.width(1);
    EXPECT_TRUE(anyOtherThan(kWhite, left + 3, lineTop(1), right - 4, lineTop(2)));
    EXPECT_FALSE(anyOtherThan(kWhite, left - 8, lineTop(1), left + 3, lineTop(2)));
    EXPECT_FALSE(anyOtherThan(kWhite, right - 4, lineTop(1), right + 6, lineTop(2)));
    // Centred and cut with an ellipsis, not merely clipped.
    const RECT box{left + 3, lineTop(1) + 1, right - 4, lineTop(2) - 2};
    const RECT cell{left, lineTop(1), right, lineTop(2)};
    drawReference("WWWWWWWWWWWWWWWWWWWW", box, DT_CENTER);
    EXPECT_FALSE(matchesReference(cell));
    drawReference("WWWWWWWWWWWWWWWWWWWW", box, DT_CENTER | DT_END_ELLIPSIS);
    EXPECT_TRUE(matchesReference(cell));
}

TEST_F(PaintTest, RowWithFewerFieldsLeavesTheRestBlank)
{
    addRow("MMMM");
    addRow("MMMM|");
    paint();
    EXPECT_FALSE(anyOtherThan(kWhite, cellLeft(1), lineTop(1), kWidth, lineTop(3)));
}

}  // namespace

}  // namespace quor
