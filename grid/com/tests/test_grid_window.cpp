// The control in a container: activation creates the window and its
// children, the scroll bars and the wheel move the view, row button
// commands select rows, and nothing of GDI is left behind.
#include <gtest/gtest.h>

#include <ole2.h>
#include <windows.h>
#include <commctrl.h>
#include <wrl/client.h>

#include <string>

#include "GdiHandles.h"
#include "GridDll.h"
#include "HostedGrid.h"
#include "OleHostSite.h"
#include "OleTestSupport.h"
#include "RowButtonCommand.h"

using Microsoft::WRL::ComPtr;

namespace quor {

namespace {

class GridWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(apartment.ok()); }
    test::OleApartment apartment;
};

TEST_F(GridWindowTest, ActivationCreatesTheWindowAndItsChildren)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    ASSERT_TRUE(IsWindow(hosted.window()));
    HWND header = FindWindowExA(hosted.window(), nullptr, "QuorColumnHeaderObj", nullptr);
    HWND buttons = FindWindowExA(hosted.window(), nullptr, "QuorRowHeaderObj", nullptr);
    ASSERT_TRUE(header);
    ASSERT_TRUE(buttons);
    const RECT headerRect = test::rectInParent(header);
    EXPECT_EQ(39, headerRect.left);
    EXPECT_EQ(0, headerRect.top);
    EXPECT_EQ(20, headerRect.bottom - headerRect.top);
    EXPECT_EQ(39, test::rectInParent(buttons).right);
    EXPECT_EQ(1, SendMessageA(hosted.window(), WM_ERASEBKGND, 0, 0));
}

int headerItemWidth(HWND header, int column)
{
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    return item.cxy;
}

TEST_F(GridWindowTest, ColumnTableAndHeaderItemsAgreeBothWays)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.fill(2);
    HWND header = FindWindowExA(hosted.window(), nullptr, "QuorColumnHeaderObj", nullptr);
    ASSERT_EQ(12, Header_GetItemCount(header));
    ASSERT_EQ(S_OK, hosted.grid->setColumnWidth(1, 77));
    EXPECT_EQ(77, headerItemWidth(header, 1));

    // A divider drag ends as a width change of the item, reported to the grid.
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = 120;
    SendMessageA(header, HDM_SETITEMA, 2, reinterpret_cast<LPARAM>(&item));
    SHORT width = 0;
    hosted.grid->getColumnWidth(2, &width);
    EXPECT_EQ(120, width);

    Bstr headings(L"One|Two");
    hosted.grid->setColumnHeadings(headings);
    EXPECT_EQ(2, Header_GetItemCount(header));
    EXPECT_EQ(48, headerItemWidth(header, 1));  // "Two": 3 characters of 8 pixels, and 24
}

// The column menu's Auto Resize on column 0: the menu is dismissed as soon
// as it opens, then its command arrives as it would from the menu.
void autoResizeFromMenu(HWND header)
{
    PostMessageA(header, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageA(header, WM_RBUTTONUP, 0, MAKELPARAM(20, 10));
    SendMessageA(header, WM_COMMAND, 3291, 0);
    test::pumpMessages();
}

TEST_F(GridWindowTest, AutoResizeMeasuresTheLongestTextOnceTheGridHasPainted)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    // The heading is long enough that nine letters of any 8-point face are narrower.
    Bstr headings(L"Name column|Value"), thin(L"iiiiiiii|x"), wide(L"aaaaaaaaa|x"), tag(L"");
    hosted.grid->setColumnHeadings(headings);
    hosted.grid->appendRow(thin, VARIANT_FALSE, tag, VARIANT_FALSE);
    hosted.grid->appendRow(wide, VARIANT_FALSE, tag, VARIANT_FALSE);
    HWND header = FindWindowExA(hosted.window(), nullptr, "QuorColumnHeaderObj", nullptr);
    SHORT width = 0;

    // Before the first paint there is no surface to measure on.
    autoResizeFromMenu(header);
    hosted.grid->getColumnWidth(0, &width);
    EXPECT_EQ(112, width);  // as "Name column" was set up: 11 characters of 8 pixels, and 24
    autoResizeFromMenu(header);

    SendMessageA(hosted.window(), WM_PAINT, 0, 0);
    autoResizeFromMenu(header);  // the mark goes on, and the column is measured
    hosted.grid->getColumnWidth(0, &width);
    EXPECT_GT(width, 20);
    EXPECT_LT(width, 112);
    EXPECT_EQ(width, headerItemWidth(header, 0));

    autoResizeFromMenu(header);  // the mark goes off: the width stays
    SHORT after = 0;
    hosted.grid->getColumnWidth(0, &after);
    EXPECT_EQ(width, after);
}

TEST_F(GridWindowTest, LineAndPageStepsMoveTheView)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.fill(40);
    EXPECT_EQ(0, hosted.topRow());
    hosted.scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(1, hosted.topRow());
    hosted.scroll(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(6, hosted.topRow());
    hosted.scroll(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(5, hosted.topRow());
    hosted.scroll(WM_VSCROLL, SB_PAGEUP, 3);
    EXPECT_EQ(0, hosted.topRow());
    EXPECT_EQ(0, GetScrollPos(hosted.window(), SB_VERT));
}

TEST_F(GridWindowTest, LineStepAfterSetUpperLeftCellMovesByOne)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.fill(40);
    ASSERT_EQ(S_OK, hosted.grid->setUpperLeftCell(10, 0));
    EXPECT_EQ(10, GetScrollPos(hosted.window(), SB_VERT));
    hosted.scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(11, hosted.topRow());
    hosted.scroll(WM_VSCROLL, SB_LINEUP, 2);
    EXPECT_EQ(9, hosted.topRow());
    EXPECT_EQ(S_FALSE, hosted.grid->setUpperLeftCell(40, 0));
    EXPECT_EQ(S_FALSE, hosted.grid->setUpperLeftCell(0, 12));
    EXPECT_EQ(9, hosted.topRow());
}

TEST_F(GridWindowTest, AppendingWithScrollShowsTheNewRowOnlyWhenItIsOutOfView)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    Bstr tag(L"");
    hosted.fill(3);
    hosted.grid->appendRow(Bstr(L"fits|b"), VARIANT_TRUE, tag, VARIANT_FALSE);
    EXPECT_EQ(0, hosted.topRow());
    hosted.fill(40);  // 44 rows
    hosted.grid->appendRow(Bstr(L"below|b"), VARIANT_TRUE, tag, VARIANT_FALSE);
    EXPECT_EQ(44, hosted.topRow());
    EXPECT_EQ(44, GetScrollPos(hosted.window(), SB_VERT));
}

// Whether the rows [top, top + height) of button strips a and b look the same.
bool sameButtonPixels(const test::PixelCanvas& a, int aTop, const test::PixelCanvas& b, int bTop)
{
    for (int y = 1; y < 19; ++y)
        for (int x = 0; x < 39; ++x)
            if (a.at(x, aTop + y) != b.at(x, bTop + y))
                return false;
    return true;
}

TEST_F(GridWindowTest, AfterThreeLineStepsTheFirstRowButtonShowsWhatTheFourthDid)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.fill(40);
    HWND buttons = FindWindowExA(hosted.window(), nullptr, "QuorRowHeaderObj", nullptr);
    ASSERT_TRUE(buttons);
    RECT client;
    GetClientRect(buttons, &client);
    test::PixelCanvas before(client.right, client.bottom), after(client.right, client.bottom);
    SendMessageA(buttons, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(before.dc()), PRF_CLIENT);
    hosted.scroll(WM_VSCROLL, SB_LINEDOWN, 3);
    SendMessageA(buttons, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(after.dc()), PRF_CLIENT);
    const int first = 20, fourth = 80;  // under the corner button
    EXPECT_TRUE(sameButtonPixels(after, first, before, fourth));
    EXPECT_FALSE(sameButtonPixels(after, first, before, first));
}

TEST_F(GridWindowTest, HorizontalPagesAreFourColumns)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.fill(3);
    hosted.scroll(WM_HSCROLL, SB_PAGERIGHT);
    EXPECT_EQ(4, GetScrollPos(hosted.window(), SB_HORZ));
    hosted.scroll(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(5, GetScrollPos(hosted.window(), SB_HORZ));
    // The header band moves left by the widths of the columns scrolled off.
    HWND header = FindWindowExA(hosted.window(), nullptr, "QuorColumnHeaderObj", nullptr);
    EXPECT_EQ(39 - 5 * 32, test::rectInParent(header).left);
    hosted.scroll(WM_HSCROLL, SB_PAGELEFT, 2);
    EXPECT_EQ(0, GetScrollPos(hosted.window(), SB_HORZ));
}

// The first column shown, read from where the header band was placed; the
// hosted grid's columns keep their default width of 32.
int firstColumnShown(const HostedGrid& hosted)
{
    HWND header = FindWindowExA(hosted.window(), nullptr, "QuorColumnHeaderObj", nullptr);
    return (39 - test::rectInParent(header).left) / 32;
}

void pressKey(const HostedGrid& hosted, WPARAM key)
{
    SendMessageA(hosted.window(), WM_KEYDOWN, key, 0);
    test::pumpMessages();
}

// End, a right scroll and setUpperLeftCell to the last column survive key
// presses, redraw, Copy, Paste and new headings.
void expectLastColumnStaysFirst(HostedGrid& hosted, int columns)
{
    const int last = columns - 1;
    pressKey(hosted, VK_END);
    EXPECT_EQ(last, firstColumnShown(hosted));
    pressKey(hosted, VK_DOWN);
    hosted.grid->redraw();
    EXPECT_EQ(last, firstColumnShown(hosted));
    hosted.scroll(WM_HSCROLL, SB_LINERIGHT);
    hosted.scroll(WM_HSCROLL, SB_PAGERIGHT);
    EXPECT_EQ(last, firstColumnShown(hosted));

    ASSERT_EQ(S_OK, hosted.grid->setUpperLeftCell(1, last));
    hosted.grid->setRowSelect(1, Selected);
    pressKey(hosted, 'C');
    hosted.grid->setRowSelect(1, Selected);
    pressKey(hosted, 'V');
    hosted.grid->redraw();
    EXPECT_EQ(last, firstColumnShown(hosted));

    Bstr headings;
    hosted.grid->getColumnHeadingStr(headings.out());
    hosted.grid->setColumnHeadings(headings);
    EXPECT_EQ(last, firstColumnShown(hosted));
    // A line to the left still moves by one.
    hosted.scroll(WM_HSCROLL, SB_LINELEFT);
    EXPECT_EQ(last > 0 ? last - 1 : 0, firstColumnShown(hosted));
}

TEST_F(GridWindowTest, TheLastColumnStaysFirstAmongTwelve)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.fill(40);
    expectLastColumnStaysFirst(hosted, 12);
    // Fewer headings: the first column kept is the last that still exists.
    hosted.grid->setUpperLeftCell(0, 11);
    hosted.grid->setColumnHeadings(Bstr(L"A|B|C"));
    hosted.grid->redraw();
    EXPECT_EQ(2, firstColumnShown(hosted));
}

TEST_F(GridWindowTest, TheLastColumnStaysFirstAmongTwo)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.grid->setColumnHeadings(Bstr(L"A|B"));
    for (int i = 1; i <= 10; ++i)
        hosted.grid->appendRow(Bstr(L"a|b"), VARIANT_FALSE, Bstr(L""), VARIANT_FALSE);
    hosted.grid->redraw();
    expectLastColumnStaysFirst(hosted, 2);
}

// Whether the cell area of row `row`, column 0 holds any pixel that is not
// background: text ink, as the window shows it.
bool firstCellHasInk(const HostedGrid& hosted, int row)
{
    test::PixelCanvas canvas(300, 200);
    WindowDC screen(hosted.window());
    BitBlt(canvas.dc(), 0, 0, 300, 200, screen.get(), 0, 0, SRCCOPY);
    for (int y = kRowHeight * row + 3; y < kRowHeight * (row + 1) - 3; ++y)
        for (int x = kRowButtonWidth + 3; x < kRowButtonWidth + 29; ++x)
            if (canvas.at(x, y) != RGB(255, 255, 255))
                return true;
    return false;
}

TEST_F(GridWindowTest, AppendingWithoutRedrawGrowsTheBarAndPaintsAVisibleRow)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    ShowWindow(hosted.host.get(), SW_SHOWNA);  // a hidden window is never painted
    hosted.fill(3);
    UpdateWindow(hosted.window());
    ASSERT_FALSE(firstCellHasInk(hosted, 4));
    SCROLLINFO before{sizeof before, SIF_RANGE};
    GetScrollInfo(hosted.window(), SB_VERT, &before);

    Bstr tag(L"");
    hosted.grid->appendRow(Bstr(L"WWWW|b"), VARIANT_FALSE, tag, VARIANT_FALSE);
    SCROLLINFO after{sizeof after, SIF_RANGE};
    GetScrollInfo(hosted.window(), SB_VERT, &after);
    EXPECT_EQ(before.nMax + 1, after.nMax);
    test::pumpMessages();
    EXPECT_TRUE(firstCellHasInk(hosted, 4));

    // A run of rows below the page moves the range without a repaint of the cells.
    for (int i = 0; i < 50; ++i)
        hosted.grid->appendRow(Bstr(L"x|b"), VARIANT_FALSE, tag, VARIANT_FALSE);
    GetScrollInfo(hosted.window(), SB_VERT, &after);
    EXPECT_EQ(before.nMax + 51, after.nMax);
    test::pumpMessages();
    ValidateRect(hosted.window(), nullptr);
    hosted.grid->appendRow(Bstr(L"x|b"), VARIANT_FALSE, tag, VARIANT_FALSE);
    test::pumpMessages();
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(hosted.window(), &dirty, FALSE));
}

TEST_F(GridWindowTest, WheelNotchesScrollRows)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.fill(40);
    hosted.grid->setUpperLeftCell(5, 0);
    SendMessageA(hosted.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(3, hosted.topRow());
    SendMessageA(hosted.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(4, hosted.topRow());
}

TEST_F(GridWindowTest, RowButtonCommandsSelectRows)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.fill(40);
    hosted.grid->setUpperLeftCell(10, 0);
    hosted.clickRowButton(3);
    EXPECT_EQ(L"r13", hosted.selectedRows());
    hosted.clickRowButton(3);
    EXPECT_EQ(L"", hosted.selectedRows());

    hosted.clickRowButton(1);
    hosted.clickRowButton(4, false, true);
    EXPECT_EQ(L"r11,r14", hosted.selectedRows());
    // The anchor is the row selected last (r14): Shift extends from there.
    hosted.clickRowButton(2, true, false);
    EXPECT_EQ(L"r11,r12,r13,r14", hosted.selectedRows());
    hosted.clickRowButton(31);  // row 41 does not exist
    EXPECT_EQ(L"r11,r12,r13,r14", hosted.selectedRows());
}

TEST_F(GridWindowTest, CornerButtonAlternatesSelectAll)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.fill(3);
    hosted.grid->setRowSelect(2, Selected);
    hosted.clickRowButton(0);  // on a new control: every row deselected
    EXPECT_EQ(L"", hosted.selectedRows());
    hosted.clickRowButton(0);
    EXPECT_EQ(L"r1,r2,r3", hosted.selectedRows());
    hosted.clickRowButton(0);
    EXPECT_EQ(L"", hosted.selectedRows());
}

TEST_F(GridWindowTest, CornerButtonClearsTheColumnSelection)
{
    HostedGrid hosted;
    ASSERT_EQ(S_OK, hosted.attached);
    hosted.fill(3);
    HWND header = FindWindowExA(hosted.window(), nullptr, "QuorColumnHeaderObj", nullptr);
    RECT item{};
    ASSERT_TRUE(Header_GetItemRect(header, 1, &item));
    // A Ctrl-click: it leaves no anchor, which would cost the rows their selection.
    const LPARAM onItem = MAKELPARAM((item.left + item.right) / 2, 10);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, onItem);
    SendMessageA(header, WM_LBUTTONUP, MK_CONTROL, onItem);
    // Right of the cell's text, in the second row.
    auto columnLooksSelected = [&] {
        test::PixelCanvas canvas(300, 200);
        hosted.site->drawInactive(canvas.dc());
        return canvas.at(kRowButtonWidth + item.right - 4, kRowHeight * 2 + kRowHeight / 2) == GetSysColor(COLOR_HIGHLIGHT);
    };
    ASSERT_TRUE(columnLooksSelected());
    hosted.clickRowButton(0);
    EXPECT_FALSE(columnLooksSelected());
}

TEST_F(GridWindowTest, InactiveControlDrawsItsCellsIntoTheContainersDC)
{
    ComPtr<IQuorGridControl> grid = createGrid();
    ASSERT_TRUE(grid);
    test::TestWindow host{"QuorGridInactiveHost", hostProcedure};
    ComPtr<OleHostSite> site = OleHostSite::make(host.get());
    ComPtr<IOleObject> object;
    grid.As(&object);
    ASSERT_EQ(S_OK, site->attach(object.Get()));
    Bstr headings(L"Name|Value"), row(L"a|b"), tag(L"");
    grid->setColumnHeadings(headings);
    grid->appendRow(row, VARIANT_FALSE, tag, VARIANT_FALSE);
    grid->setRowSelect(1, Selected);
    site->resize(RECT{10, 10, 210, 110});
    test::PixelCanvas canvas(300, 200);
    ASSERT_EQ(S_OK, site->drawInactive(canvas.dc()));
    // Row 1 lies under the header band and right of the row buttons.
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), canvas.at(10 + 39 + 50, 10 + 20 + 3));
    EXPECT_EQ(RGB(255, 255, 255), canvas.at(10 + 39 + 50, 10 + 40 + 5));
    EXPECT_EQ(RGB(255, 255, 255), canvas.at(5, 5));  // nothing outside the bounds
    site->close();
}

TEST_F(GridWindowTest, CreatingAndDestroyingLeavesNoGdiObjects)
{
    { HostedGrid warmUp; warmUp.fill(5); UpdateWindow(warmUp.window()); }
    const unsigned long before = test::liveGdiObjects();
    for (int i = 0; i < 10; ++i) {
        HostedGrid hosted;
        ASSERT_EQ(S_OK, hosted.attached);
        hosted.fill(20);
        hosted.grid->setGridLineColor(RGB(i, 0, 0), VARIANT_TRUE);
        hosted.scroll(WM_VSCROLL, SB_LINEDOWN);
        UpdateWindow(hosted.window());
        test::pumpMessages();
    }
    EXPECT_EQ(before, test::liveGdiObjects());
}

// A container deactivates and reactivates a control in place as it pleases:
// each new window takes its menu and window classes again.
TEST_F(GridWindowTest, ReactivatingInPlaceLeavesNothingBehind)
{
    {
        HostedGrid hosted;
        ASSERT_EQ(S_OK, hosted.attached);
        hosted.fill(20);
        auto reactivate = [&hosted] {
            hosted.site->deactivate();
            ASSERT_EQ(S_OK, hosted.site->activate(RECT{0, 0, 300, 200}));
            UpdateWindow(hosted.window());
            test::pumpMessages();
        };
        reactivate();
        const unsigned long gdiBefore = test::liveGdiObjects();
        const unsigned long userBefore = test::liveUserObjects();
        for (int i = 0; i < 10; ++i)
            reactivate();
        EXPECT_TRUE(FindWindowExA(hosted.window(), nullptr, "QuorRowHeaderObj", nullptr));
        EXPECT_TRUE(FindWindowExA(hosted.window(), nullptr, "QuorColumnHeaderObj", nullptr));
        EXPECT_EQ(gdiBefore, test::liveGdiObjects());
        EXPECT_EQ(userBefore, test::liveUserObjects());
    }
    // The DLL's classes go with the last windows of them.
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExA(gridModule(), "QuorRowHeaderObj", &info));
    EXPECT_FALSE(GetClassInfoExA(gridModule(), "QuorColumnHeaderObj", &info));
}

}  // namespace

}  // namespace quor
