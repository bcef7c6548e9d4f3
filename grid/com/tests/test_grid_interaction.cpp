// The user's hands on the real control: a click opens the edit box over
// the cell, Enter writes it and marks the row, Escape keeps the text, a
// right click opens the cell menu, the copy key fills the clipboard, a
// scroll carries an open edit along, and a find hit in the last row comes
// into view.
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>

#include <atomic>
#include <string>
#include <thread>

#include "HostedGrid.h"

namespace quor {

namespace {

class GridInteractionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(apartment.ok());
        ASSERT_EQ(S_OK, hosted.attached);
        hosted.fill(40);
        for (LONG column = 0; column < 3; ++column)
            hosted.grid->setColumnWidth(column, kColumnWidth);
    }
    // The edit box holds the mouse while it is open.
    void TearDown() override { ReleaseCapture(); }

    HWND window() const { return hosted.window(); }
    HWND editBox() const { return FindWindowExA(window(), nullptr, "QuorEditBoxObj", nullptr); }

    void click(int row, int column)
    {
        SendMessageA(window(), WM_LBUTTONDOWN, MK_LBUTTON, cellPoint(row, column));
        SendMessageA(window(), WM_LBUTTONUP, 0, cellPoint(row, column));
        test::pumpMessages();
    }
    // The edit box hands the keys it does not keep to the grid window.
    void pressInEditBox(WPARAM key)
    {
        SendMessageA(editBox(), WM_KEYDOWN, key, 0);
        test::pumpMessages();
    }
    std::string editText() const
    {
        char text[64] = "";
        GetWindowTextA(editBox(), text, sizeof text);
        return text;
    }
    std::wstring cell(LONG row, LONG column)
    {
        Bstr text;
        hosted.grid->getCellText(row, column, text.out());
        return text.text();
    }
    LONG editedRows()
    {
        LONG count = -1;
        hosted.grid->getNumberOfEditedRows(&count);
        return count;
    }

    test::OleApartment apartment;
    HostedGrid hosted;
};

}  // namespace

TEST_F(GridInteractionTest, AClickOpensTheEditBoxOverTheCellWithItsTextSelected)
{
    click(2, 1);
    HWND edit = editBox();
    ASSERT_TRUE(edit);
    EXPECT_TRUE(hasVisibleStyle(edit));
    EXPECT_EQ("b", editText());
    DWORD start = 1, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(1u, end);

    const RECT rect = test::rectInParent(edit);
    const POINT middle{GET_X_LPARAM(cellPoint(2, 1)), GET_Y_LPARAM(cellPoint(2, 1))};
    EXPECT_TRUE(PtInRect(&rect, middle));
}

TEST_F(GridInteractionTest, TypingAndEnterWriteTheCellMarkTheRowAndOpenTheCellBelow)
{
    click(2, 1);
    SetWindowTextA(editBox(), "typed");
    pressInEditBox(VK_RETURN);
    EXPECT_EQ(L"typed", cell(2, 1));
    EXPECT_EQ(1, editedRows());
    EXPECT_TRUE(hasVisibleStyle(editBox()));
    EXPECT_EQ("b", editText());

    // The same text again is no edit; CompleteEdit closes the box.
    hosted.grid->CompleteEdit();
    EXPECT_EQ(1, editedRows());
}

TEST_F(GridInteractionTest, APaintGivesTheFocusBackToTheOpenEditBox)
{
    ShowWindow(hosted.host.get(), SW_SHOW);
    click(2, 1);
    SetFocus(window());
    RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(editBox(), GetFocus());
    ShowWindow(hosted.host.get(), SW_HIDE);
}

TEST_F(GridInteractionTest, EscapeKeepsTheOldText)
{
    click(3, 2);
    SetWindowTextA(editBox(), "discarded");
    pressInEditBox(VK_ESCAPE);
    hosted.grid->CompleteEdit();
    EXPECT_EQ(L"c", cell(3, 2));
    EXPECT_EQ(0, editedRows());
}

namespace {

// Watches on its own thread for the popup menu window and closes it; the
// menu's modal loop runs on the test thread meanwhile.
class MenuWatcher {
public:
    explicit MenuWatcher(HWND owner)
        : thread_([this, owner] {
              for (int tries = 0; tries < 200 && !menu_; ++tries) {
                  HWND popup = FindWindowA("#32768", nullptr);
                  if (popup && IsWindowVisible(popup)) {
                      HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
                      items_ = menu ? GetMenuItemCount(menu) : -1;
                      cutState_ = menu ? GetMenuState(menu, 25000, MF_BYCOMMAND) : 0;
                      menu_ = true;
                  }
                  Sleep(20);
              }
              PostMessageA(owner, WM_KEYDOWN, VK_ESCAPE, 0);
              PostMessageA(owner, WM_CANCELMODE, 0, 0);
          })
    {
    }
    ~MenuWatcher() { wait(); }
    MenuWatcher(const MenuWatcher&) = delete;
    MenuWatcher& operator=(const MenuWatcher&) = delete;

    void wait()
    {
        if (thread_.joinable())
            thread_.join();
    }
    bool sawMenu() const { return menu_; }
    int items() const { return items_; }
    UINT cutState() const { return cutState_; }

private:
    std::atomic<bool> menu_{false};
    std::atomic<int> items_{0};
    std::atomic<UINT> cutState_{0};
    std::thread thread_;
};

}  // namespace

TEST_F(GridInteractionTest, ARightClickOpensTheCellMenuGreyedWhenNotEditable)
{
    hosted.grid->setEditability(VARIANT_FALSE);
    {
        MenuWatcher watcher(window());
        SendMessageA(window(), WM_RBUTTONUP, 0, cellPoint(2, 1));
        test::pumpMessages();
        watcher.wait();
        ASSERT_TRUE(watcher.sawMenu());
        EXPECT_EQ(7, watcher.items());
        EXPECT_TRUE(watcher.cutState() & MF_GRAYED);
    }
    test::pumpMessages();
}

TEST_F(GridInteractionTest, TheCopyKeyPutsTheSelectedRowsOnTheClipboard)
{
    hosted.grid->setRowSelect(2, Selected);
    hosted.grid->setRowSelect(4, Selected);
    SendMessageA(window(), WM_KEYDOWN, 'C', 0);
    const std::string text = clipboardText(window());
    EXPECT_EQ(0u, text.find("r2\tb\tc"));
    EXPECT_NE(std::string::npos, text.find("\nr4\tb\tc"));
    EXPECT_EQ(std::string::npos, text.find("r3"));
}

TEST_F(GridInteractionTest, AFindHitInTheLastRowIsScrolledIntoView)
{
    Bstr text(L"r40");
    LONG row = -1, column = -1;
    hosted.grid->find(text, VARIANT_TRUE, VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE, &row, &column, SelectCell);
    ASSERT_EQ(40, row);
    VARIANT_BOOL visible = VARIANT_FALSE;
    hosted.grid->rowIsVisible(40, &visible);
    EXPECT_EQ(VARIANT_TRUE, visible);
    EXPECT_LT(0, GetScrollPos(window(), SB_VERT));
}

TEST_F(GridInteractionTest, AScrollWritesTheEditAndTheEditBoxFollowsItsCell)
{
    click(3, 1);
    RECT before;
    GetWindowRect(editBox(), &before);
    SetWindowTextA(editBox(), "typed");
    hosted.scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(L"typed", cell(3, 1));
    ASSERT_TRUE(hasVisibleStyle(editBox()));
    RECT after;
    GetWindowRect(editBox(), &after);
    EXPECT_EQ(before.top - 20, after.top);
    EXPECT_EQ("typed", editText());
    EXPECT_NE(editBox(), GetCapture());  // nothing is pressed: clicks go where they land
}

TEST_F(GridInteractionTest, AFindHitOnScreenLeavesTheViewAndAnOpenEditAlone)
{
    click(3, 1);
    SetWindowTextA(editBox(), "typed");
    Bstr text(L"r2");
    LONG row = -1, column = -1;
    hosted.grid->find(text, VARIANT_TRUE, VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE, &row, &column, SelectCell);
    ASSERT_EQ(2, row);
    EXPECT_EQ(0, GetScrollPos(window(), SB_VERT));
    EXPECT_TRUE(hasVisibleStyle(editBox()));
    EXPECT_EQ(L"b", cell(3, 1));
}

}  // namespace quor
