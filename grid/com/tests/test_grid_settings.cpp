// What the setting methods store, seen where it shows: in the control's
// picture, in the editor a click opens, in its child windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "HostedGrid.h"

namespace quor {

namespace {

bool reddish(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100; }
bool bluish(COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100 && GetGValue(c) < 100; }

int countPixels(const test::PixelCanvas& canvas, const RECT& area, const std::function<bool(COLORREF)>& wanted)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            count += wanted(canvas.at(x, y)) ? 1 : 0;
    }
    return count;
}

// The cell's inside, its grid lines left out; rows count from 1.
RECT cellArea(int row, int column)
{
    const int left = kRowButtonWidth + kColumnWidth * column;
    return RECT{left + 2, kRowHeight * row + 2, left + kColumnWidth - 2, kRowHeight * (row + 1) - 2};
}

// The horizontal extent of the text drawn in a cell: dark pixels.
struct Ink {
    int left = 10000;
    int right = -1;
};

Ink inkIn(const test::PixelCanvas& canvas, const RECT& area)
{
    Ink ink;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = canvas.at(x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) {
                ink.left = x < ink.left ? x : ink.left;
                ink.right = x > ink.right ? x : ink.right;
            }
        }
    }
    return ink;
}

class GridSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(apartment.ok());
        ASSERT_EQ(S_OK, hosted.attached);
        hosted.fill(3);
        for (LONG column = 0; column < 3; ++column)
            hosted.grid->setColumnWidth(column, kColumnWidth);
    }
    // The edit box holds the mouse while it is open.
    void TearDown() override { ReleaseCapture(); }

    // The control's picture, as a container asks for it.
    void draw(test::PixelCanvas& canvas)
    {
        hosted.grid->redraw();
        ASSERT_EQ(S_OK, hosted.site->drawInactive(canvas.dc()));
    }
    void click(int row, int column)
    {
        SendMessageA(hosted.window(), WM_LBUTTONDOWN, MK_LBUTTON, cellPoint(row, column));
        SendMessageA(hosted.window(), WM_LBUTTONUP, 0, cellPoint(row, column));
        test::pumpMessages();
    }
    HWND child(const char* className) const { return FindWindowExA(hosted.window(), nullptr, className, nullptr); }
    HWND editBox() const { return child("QuorEditBoxObj"); }
    HWND list() const { return GetDlgItem(hosted.window(), 103); }
    bool editBoxOpen() const { return editBox() && hasVisibleStyle(editBox()); }

    test::OleApartment apartment;
    HostedGrid hosted;
};

}  // namespace

TEST_F(GridSettingsTest, BackgroundLineColourAndLineStyleShowInThePicture)
{
    const COLORREF background = RGB(10, 20, 30), line = RGB(200, 0, 0);
    const RECT belowTheRows{kRowButtonWidth + 5, 150, 295, 195};
    const RECT everything{0, 0, 300, 200};
    auto isLine = [line](COLORREF c) { return c == line; };
    {
        test::PixelCanvas canvas(300, 200);
        draw(canvas);
        EXPECT_EQ(0, countPixels(canvas, belowTheRows, [&](COLORREF c) { return c == background; }));
        EXPECT_EQ(0, countPixels(canvas, everything, isLine));
    }
    hosted.grid->setGridBackgroundColor(background, VARIANT_TRUE);
    hosted.grid->setGridLineColor(line, VARIANT_TRUE);
    {
        test::PixelCanvas canvas(300, 200);
        draw(canvas);
        EXPECT_EQ(0, countPixels(canvas, belowTheRows, [&](COLORREF c) { return c != background && c != line; }));
        // Whole lines across the cells: one row line and one column line.
        EXPECT_LE(300 - kRowButtonWidth + 200 - kRowHeight, countPixels(canvas, everything, isLine));
    }
    hosted.grid->setGridLines(gridLinesNone);
    {
        test::PixelCanvas canvas(300, 200);
        draw(canvas);
        EXPECT_EQ(0, countPixels(canvas, everything, isLine));
    }
}

TEST_F(GridSettingsTest, TextAlignmentMovesTheTextInItsCell)
{
    auto inkOfCell = [this] {
        test::PixelCanvas canvas(300, 200);
        draw(canvas);
        return inkIn(canvas, cellArea(1, 1));
    };
    const Ink left = inkOfCell();
    hosted.grid->setGridTextAlignment(Grid_TA_RIGHT);
    const Ink right = inkOfCell();
    hosted.grid->setGridTextAlignment(Grid_TA_CENTER);
    const Ink centre = inkOfCell();
    const RECT cell = cellArea(1, 1);
    ASSERT_LT(left.left, left.right);
    EXPECT_LT(left.left - cell.left, 10);
    EXPECT_LT(cell.right - right.right, 10);
    EXPECT_NEAR((cell.left + cell.right) / 2, (centre.left + centre.right) / 2, 4);
}

TEST_F(GridSettingsTest, RowColoursAndHiddenRowsUntilAllAreShownAgain)
{
    hosted.grid->SetRowColor(1, RGB(255, 0, 0));
    hosted.grid->SetRowColor(2, RGB(0, 0, 255));
    const RECT firstLine = cellArea(1, 0);
    auto firstLineIs = [&](const std::function<bool(COLORREF)>& colour) {
        test::PixelCanvas canvas(300, 200);
        draw(canvas);
        return countPixels(canvas, firstLine, colour) > 0;
    };
    EXPECT_TRUE(firstLineIs(reddish));
    EXPECT_FALSE(firstLineIs(bluish));

    hosted.grid->setRowVisibility(0, VARIANT_FALSE);
    EXPECT_FALSE(firstLineIs(reddish));
    EXPECT_TRUE(firstLineIs(bluish));

    hosted.grid->setAllVisible();
    EXPECT_TRUE(firstLineIs(reddish));
    EXPECT_FALSE(firstLineIs(bluish));
}

TEST_F(GridSettingsTest, AColumnThatIsNotEditableOpensItsEditBoxReadOnly)
{
    hosted.grid->SetColumnEditable(1, VARIANT_FALSE);
    click(2, 1);
    ASSERT_TRUE(editBoxOpen());
    EXPECT_TRUE(GetWindowLongA(editBox(), GWL_STYLE) & ES_READONLY);
    click(2, 0);
    ASSERT_TRUE(editBoxOpen());
    EXPECT_FALSE(GetWindowLongA(editBox(), GWL_STYLE) & ES_READONLY);
}

TEST_F(GridSettingsTest, AGridThatIsNotEditableOpensNoEditor)
{
    hosted.grid->setEditability(VARIANT_FALSE);
    click(2, 1);
    EXPECT_FALSE(editBoxOpen());
    hosted.grid->setEditability(VARIANT_TRUE);
    click(2, 1);
    EXPECT_TRUE(editBoxOpen());
}

TEST_F(GridSettingsTest, TheCellKindChoosesTheEditor)
{
    hosted.grid->setGuiComponent(1, Bstr(L"DDDROPDOWNLIST"), Bstr(L"Float|b|Integer"));
    hosted.grid->setGuiComponent(2, Bstr(L"ddColorButton"), nullptr);
    click(2, 1);
    ASSERT_TRUE(list());
    EXPECT_TRUE(hasVisibleStyle(list()));
    EXPECT_FALSE(editBoxOpen());
    EXPECT_EQ(3, SendMessageA(list(), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(1, SendMessageA(list(), CB_GETCURSEL, 0, 0));  // the cell's own text, "b"

    click(2, 2);  // a colour button cell has no editor
    EXPECT_FALSE(hasVisibleStyle(list()));
    EXPECT_FALSE(editBoxOpen());
    click(2, 0);
    EXPECT_TRUE(editBoxOpen());
}

TEST_F(GridSettingsTest, HeaderAndRowButtonsFollowTheirSwitches)
{
    HWND header = child("QuorColumnHeaderObj");
    HWND buttons = child("QuorRowHeaderObj");
    ASSERT_TRUE(header && buttons);
    EXPECT_TRUE(hasVisibleStyle(header));
    EXPECT_TRUE(hasVisibleStyle(buttons));
    hosted.grid->showColumnHeader(VARIANT_FALSE);
    hosted.grid->showRowButtons(VARIANT_FALSE);
    EXPECT_FALSE(hasVisibleStyle(header));
    EXPECT_FALSE(hasVisibleStyle(buttons));
    hosted.grid->showColumnHeader(VARIANT_TRUE);
    hosted.grid->showRowButtons(VARIANT_TRUE);
    EXPECT_TRUE(hasVisibleStyle(header));
    EXPECT_TRUE(hasVisibleStyle(buttons));

    EXPECT_FALSE(GetWindowLongA(header, GWL_STYLE) & HDS_DRAGDROP);
    hosted.grid->allowColumnReorder(VARIANT_TRUE);
    EXPECT_TRUE(GetWindowLongA(header, GWL_STYLE) & HDS_DRAGDROP);
}

}  // namespace quor
