// The keys on the real control, as a keyboard delivers them: key-down and
// key-up go to the window that has the focus (the edit box while it is
// open, which passes some of them on to the grid), the message loop
// translates them, and the mouse clicks the cells first.
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>

#include <cstring>
#include <string>

#include "HostedGrid.h"

namespace quor {

namespace {

// The column a click leaves without an editor, so that the grid window
// itself keeps the focus: the arrows, Home and End act only there.
constexpr LONG kButtonColumn = 1;

class GridKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(apartment.ok());
        ASSERT_EQ(S_OK, hosted.attached);
        hosted.fill(40);
        for (LONG column = 0; column < 3; ++column)
            hosted.grid->setColumnWidth(column, kColumnWidth);
        // Keys go to the focus, and only a shown window can have it.
        ShowWindow(hosted.host.get(), SW_SHOW);
        SetForegroundWindow(hosted.host.get());
        test::pumpMessages();
    }
    void TearDown() override
    {
        ReleaseCapture();
        setKeys(false, false);
        ShowWindow(hosted.host.get(), SW_HIDE);
    }

    HWND window() const { return hosted.window(); }
    HWND editBox() const { return FindWindowExA(window(), nullptr, "QuorEditBoxObj", nullptr); }
    bool editing() const { return editBox() && hasVisibleStyle(editBox()); }

    // Button down where the pointer is, button up to whoever holds the mouse
    // then (the edit box that the click opened).
    void click(int row, int column)
    {
        PostMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, cellPoint(row, column));
        test::pumpMessages();
        HWND release = GetCapture() ? GetCapture() : window();
        POINT point{GET_X_LPARAM(cellPoint(row, column)), GET_Y_LPARAM(cellPoint(row, column))};
        MapWindowPoints(window(), release, &point, 1);
        PostMessageA(release, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        test::pumpMessages();
    }

    void post(HWND target, UINT message, WPARAM key)
    {
        const UINT scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
        LPARAM lParam = 1 | (static_cast<LPARAM>(scan) << 16);
        if (message == WM_KEYUP)
            lParam |= (1 << 30) | (1u << 31);
        PostMessageA(target, message, key, lParam);
    }

    // One key, with Ctrl or Shift held around it when asked.
    void press(WPARAM key, bool control = false, bool shift = false)
    {
        HWND target = GetFocus();
        ASSERT_TRUE(target == window() || IsChild(window(), target)) << "the grid does not have the focus";
        const WPARAM modifier = control ? VK_CONTROL : shift ? VK_SHIFT : 0;
        if (modifier) {
            setKeys(shift, control);
            post(target, WM_KEYDOWN, modifier);
        }
        post(target, WM_KEYDOWN, key);
        post(target, WM_KEYUP, key);
        if (modifier)
            post(target, WM_KEYUP, modifier);
        test::pumpMessages();
        setKeys(false, false);
    }

    std::string editText() const
    {
        char text[256] = "";
        GetWindowTextA(editBox(), text, sizeof text);
        return text;
    }
    // The edit box's rectangle in the grid's client coordinates.
    RECT editRect() const { return test::rectInParent(editBox()); }
    bool editBoxOver(int row, int column) const
    {
        const RECT rect = editRect();
        const POINT middle{GET_X_LPARAM(cellPoint(row, column)), GET_Y_LPARAM(cellPoint(row, column))};
        return PtInRect(&rect, middle) != FALSE;
    }
    void typeIntoEditBox(const char* text)
    {
        for (const char* c = text; *c; ++c)
            PostMessageA(editBox(), WM_CHAR, static_cast<unsigned char>(*c), 1);
        test::pumpMessages();
    }
    std::wstring cell(LONG row, LONG column)
    {
        Bstr text;
        hosted.grid->getCellText(row, column, text.out());
        return text.text();
    }
    LONG count(HRESULT (IQuorGridControl::*method)(LONG*))
    {
        LONG n = -1;
        (hosted.grid.Get()->*method)(&n);
        return n;
    }
    void onTheButtonColumn(int row)
    {
        hosted.grid->setGuiComponent(kButtonColumn, Bstr(L"ddColorButton"), nullptr);
        click(row, kButtonColumn);
        ASSERT_FALSE(editing());
        ASSERT_EQ(window(), GetFocus());
    }
    void putOnClipboard(const char* text)
    {
        ASSERT_TRUE(OpenClipboard(window()));
        EmptyClipboard();
        const size_t size = strlen(text) + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(block), text, size);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }

    test::OleApartment apartment;
    HostedGrid hosted;
};

}  // namespace

TEST_F(GridKeysTest, TabWritesTheCellAndMovesAlongTheRowThenToTheNextRow)
{
    click(2, 1);
    ASSERT_TRUE(editing());
    typeIntoEditBox("typed");
    press(VK_TAB);
    EXPECT_EQ(L"typed", cell(2, 1));
    EXPECT_EQ(1, count(&IQuorGridControl::getNumberOfEditedRows));
    EXPECT_TRUE(editBoxOver(2, 2));
    EXPECT_EQ("c", editText());
    for (int column = 3; column <= 11; ++column)
        press(VK_TAB);
    EXPECT_EQ("l", editText());
    press(VK_TAB);  // from the last column to the first of the next row
    EXPECT_EQ("r3", editText());
}

TEST_F(GridKeysTest, ArrowsMoveTheCurrentCellWhenTheGridHasTheFocus)
{
    onTheButtonColumn(5);
    press(VK_DOWN);
    press(VK_DOWN);
    press(VK_UP);
    press(VK_UP, false, true);  // Shift+Up does nothing
    press(VK_LEFT);
    ASSERT_TRUE(editing());
    EXPECT_EQ("r6", editText());
    EXPECT_TRUE(editBoxOver(6, 0));

    onTheButtonColumn(3);
    press(VK_RIGHT);
    ASSERT_TRUE(editing());
    EXPECT_TRUE(editBoxOver(3, 2));
    // Inside the open edit box Left moves the caret, not the editor.
    press(VK_LEFT);
    EXPECT_TRUE(editBoxOver(3, 2));
}

TEST_F(GridKeysTest, EndAndHomeScrollToTheLastAndTheFirstColumn)
{
    // The column header slides with the columns: left by all the columns
    // before the last one, the three of 80 pixels among them.
    HWND header = FindWindowExA(window(), nullptr, "QuorColumnHeaderObj", nullptr);
    ASSERT_TRUE(header);
    const LONG home = test::rectInParent(header).left;
    onTheButtonColumn(2);
    press(VK_END);
    EXPECT_LT(test::rectInParent(header).left, home - 3 * kColumnWidth);
    press(VK_HOME);
    EXPECT_EQ(home, test::rectInParent(header).left);
}

TEST_F(GridKeysTest, PageDownAndUpFromTheEditBoxWriteItAndTurnThePage)
{
    click(2, 1);
    typeIntoEditBox("paged");
    press(VK_NEXT);
    EXPECT_EQ(L"paged", cell(2, 1));
    // 200 pixels hold ten row lines; a page keeps three of them.
    EXPECT_EQ(7, GetScrollPos(window(), SB_VERT));
    press(VK_NEXT);
    EXPECT_EQ(14, GetScrollPos(window(), SB_VERT));
    press(VK_PRIOR);
    EXPECT_EQ(7, GetScrollPos(window(), SB_VERT));
    press(VK_PRIOR);
    press(VK_PRIOR);
    EXPECT_EQ(0, GetScrollPos(window(), SB_VERT));
}

TEST_F(GridKeysTest, CtrlAFromTheEditBoxSelectsEveryRowAndAgainNone)
{
    click(2, 1);
    press('A', true);
    EXPECT_EQ(40, count(&IQuorGridControl::getNumberOfSelectedRows));
    press('A', true);
    EXPECT_EQ(0, count(&IQuorGridControl::getNumberOfSelectedRows));
    // Without Ctrl the letter is typed into the cell.
    EXPECT_EQ(std::string::npos, editText().find('A'));
    press('A');
    EXPECT_EQ(0, count(&IQuorGridControl::getNumberOfSelectedRows));
}

TEST_F(GridKeysTest, DeleteCutsTheSelectedRowsAndVPastesThemBackAtTheEnd)
{
    onTheButtonColumn(1);
    hosted.clickRowButton(2);
    hosted.clickRowButton(4, false, true);
    ASSERT_EQ(L"r2,r4", hosted.selectedRows());
    press(VK_DELETE);
    EXPECT_EQ(38, count(&IQuorGridControl::getNumberOfRows));
    EXPECT_EQ(0u, clipboardText(window()).find("r2\tb\tc"));
    Bstr row, tag;
    hosted.grid->resetToFirstDeletedRow();
    hosted.grid->getNextDeletedRow(row.out(), tag.out());
    EXPECT_EQ(0u, row.text().find(L"r2|"));

    // With a row selected the lines come as new rows at the end.
    hosted.grid->resetAllEditedRows();
    hosted.clickRowButton(1);
    press('V');
    EXPECT_EQ(40, count(&IQuorGridControl::getNumberOfRows));
    EXPECT_EQ(L"r2", cell(39, 0));
    EXPECT_EQ(L"r4", cell(40, 0));
    EXPECT_EQ(2, count(&IQuorGridControl::getNumberOfEditedRows));
}

TEST_F(GridKeysTest, XCutsLikeDeleteButNotWhenTheGridIsNotEditable)
{
    onTheButtonColumn(1);
    hosted.clickRowButton(3);
    hosted.grid->setEditability(VARIANT_FALSE);
    press('X');
    EXPECT_EQ(40, count(&IQuorGridControl::getNumberOfRows));
    hosted.grid->setEditability(VARIANT_TRUE);
    press('X');
    EXPECT_EQ(39, count(&IQuorGridControl::getNumberOfRows));
}

TEST_F(GridKeysTest, CtrlVFromTheEditBoxPastesIntoTheClickedCellAndOnward)
{
    putOnClipboard("x\ty\nz\n");
    click(5, 0);
    press('V', true);
    EXPECT_EQ(L"x", cell(5, 0));
    EXPECT_EQ(L"y", cell(5, 1));
    EXPECT_EQ(L"z", cell(6, 0));
    EXPECT_EQ(L"b", cell(6, 1));
    EXPECT_EQ(40, count(&IQuorGridControl::getNumberOfRows));
    EXPECT_EQ(2, count(&IQuorGridControl::getNumberOfEditedRows));
}

TEST_F(GridKeysTest, TheEditBoxWidensToALongTextOnlyWhileAutoSizeIsOn)
{
    click(2, 1);
    typeIntoEditBox("a text much wider than its column");
    press(VK_RETURN);
    ASSERT_EQ(L"a text much wider than its column", cell(2, 1));

    click(2, 1);
    const RECT wide = editRect();
    EXPECT_GT(wide.right - wide.left, kColumnWidth + 40);

    hosted.grid->AutoSizeEditBox(VARIANT_FALSE);
    click(2, 1);
    const RECT narrow = editRect();
    EXPECT_EQ(kColumnWidth - 2, narrow.right - narrow.left);
    EXPECT_EQ(wide.left, narrow.left);
}

}  // namespace quor
