// The row header window: labels, clicks and the commands they post, the
// mouse capture, the drawn look and what it gives back to GDI.
#include "OleTestSupport.h"
#include "QuorRowHeaderObj.h"
#include "RowButtonCommand.h"

#include <gtest/gtest.h>

#include <vector>

namespace quor {

namespace {

struct Received {
    UINT message;
    int id;
    LPARAM lParam;
    bool shift;
    bool control;
};

std::vector<Received> received;

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_LBUTTONUP) {
        const RowButtonModifiers keys = currentRowButtonModifiers();
        received.push_back({message, LOWORD(wParam), lParam, keys.shift, keys.control});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

void holdKeys(bool shift, bool control)
{
    BYTE keys[256] = {};
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::vector<int> commandsReceived()
{
    std::vector<int> ids;
    for (const Received& r : received) {
        if (r.message == WM_COMMAND)
            ids.push_back(r.id);
    }
    return ids;
}

class RowHeaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        received.clear();
        holdKeys(false, false);
        ASSERT_TRUE(header_.create(owner_.get()));
        for (int i = 0; i < 9; ++i)
            header_.addButton();
    }
    void TearDown() override { holdKeys(false, false); }

    void click(int x, int y)
    {
        SendMessageA(header_.window(), WM_LBUTTONDOWN, MK_LBUTTON, at(x, y));
        SendMessageA(header_.window(), WM_LBUTTONUP, 0, at(x, y));
        test::pumpMessages();
    }

    test::TestWindow owner_{"QuorRowHeaderOwner", ownerProc};
    QuorRowHeaderObj header_;
};

TEST_F(RowHeaderTest, TheFirstButtonComesWithTheCornerAndTheCountStopsAt75)
{
    QuorRowHeaderObj fresh;
    ASSERT_TRUE(fresh.create(owner_.get()));
    EXPECT_EQ(2, fresh.addButton());
    EXPECT_EQ("", fresh.label(0));
    EXPECT_EQ("1", fresh.label(1));
    for (int i = 0; i < 100; ++i)
        fresh.addButton();
    EXPECT_EQ(75, fresh.buttonCount());
    EXPECT_EQ("74", fresh.label(74));
    EXPECT_EQ(S_FALSE, fresh.setLabel(75, "x"));
    EXPECT_EQ(S_OK, fresh.setLabel(3, "x"));
    EXPECT_EQ("x", fresh.label(3));
}

TEST_F(RowHeaderTest, RenumberingLabelsEveryButtonFromTheTopRow)
{
    ASSERT_EQ(10, header_.buttonCount());
    header_.renumber(3);
    EXPECT_EQ("", header_.label(0));
    EXPECT_EQ("4", header_.label(1));
    EXPECT_EQ("5", header_.label(2));
    EXPECT_EQ("12", header_.label(9));  // the last button too
    header_.renumber(0);
    EXPECT_EQ("1", header_.label(1));
    EXPECT_EQ("9", header_.label(9));
}

TEST_F(RowHeaderTest, AClickPostsTheButtonCommandAndForwardsTheRelease)
{
    click(20, 3 * 20 + 10);
    ASSERT_EQ(2u, received.size());
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONUP), received[0].message);  // sent on, before the command arrives
    EXPECT_EQ(at(20, 70), received[0].lParam);
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), received[1].message);
    EXPECT_EQ(kRowButtonCommandFirst + 3, received[1].id);
    EXPECT_EQ(kRowButtonCommandLParam, received[1].lParam);
    EXPECT_TRUE(isRowButtonCommand(MAKEWPARAM(received[1].id, 0)));
    EXPECT_EQ(3, rowButtonIndex(MAKEWPARAM(received[1].id, 0)));
    EXPECT_FALSE(received[1].shift || received[1].control);
}

TEST_F(RowHeaderTest, CornerAndModifierClicks)
{
    click(5, 5);
    holdKeys(false, true);
    click(5, 2 * 20 + 5);
    holdKeys(true, false);
    click(5, 5 * 20 + 5);
    std::vector<Received> commands;
    for (const Received& r : received) {
        if (r.message == WM_COMMAND)
            commands.push_back(r);
    }
    ASSERT_EQ(3u, commands.size());
    EXPECT_EQ(kRowButtonCommandFirst, commands[0].id);
    EXPECT_EQ(kRowButtonCommandFirst + 2, commands[1].id);
    EXPECT_TRUE(commands[1].control);
    EXPECT_FALSE(commands[1].shift);
    EXPECT_EQ(kRowButtonCommandFirst + 5, commands[2].id);
    EXPECT_TRUE(commands[2].shift);
}

TEST_F(RowHeaderTest, APixelSharedByTwoButtonsPressesOnlyTheUpperOne)
{
    click(10, 20);
    EXPECT_EQ(std::vector<int>{kRowButtonCommandFirst}, commandsReceived());
}

TEST_F(RowHeaderTest, PressingCapturesAndReleasingElsewherePostsNothing)
{
    HWND window = header_.window();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 30));
    EXPECT_EQ(window, GetCapture());
    EXPECT_TRUE(header_.isPressed(1));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(10, 90));
    EXPECT_FALSE(header_.isPressed(1));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(10, 35));
    EXPECT_TRUE(header_.isPressed(1));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(200, 35));
    SendMessageA(window, WM_LBUTTONUP, 0, at(200, 35));
    test::pumpMessages();
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_FALSE(header_.isPressed(1));
    EXPECT_TRUE(commandsReceived().empty());
}

TEST_F(RowHeaderTest, LosingTheCaptureRaisesTheButton)
{
    SendMessageA(header_.window(), WM_LBUTTONDOWN, MK_LBUTTON, at(10, 50));
    SetCapture(owner_.get());
    EXPECT_FALSE(header_.isPressed(2));
    SendMessageA(header_.window(), WM_LBUTTONUP, 0, at(10, 50));
    test::pumpMessages();
    ReleaseCapture();
    EXPECT_TRUE(commandsReceived().empty());
}

TEST_F(RowHeaderTest, LayoutAddsTheButtonsThatFitAndHidesTheCornerWithoutColumnHeader)
{
    QuorRowHeaderObj fresh;
    ASSERT_TRUE(fresh.create(owner_.get()));
    fresh.layout(200, 20, true);
    EXPECT_EQ(11, fresh.buttonCount());  // the first add brings the corner with it
    RECT placed = test::rectInParent(fresh.window());
    EXPECT_EQ(0, placed.top);
    EXPECT_EQ(200, placed.bottom);
    EXPECT_EQ(QuorRowHeaderObj::kButtonWidth, placed.right - placed.left);

    fresh.layout(200, 20, false);
    placed = test::rectInParent(fresh.window());
    EXPECT_EQ(-20, placed.top);
    EXPECT_EQ(200, placed.bottom);
}

TEST(RowButtonPainterTest, RaisedAndPressedSwapTheEdgeColours)
{
    test::PixelCanvas canvas(60, 60);
    const RowButton button(1, 39, 20, "");  // rectangle (0, 20) to (39, 40)
    const RowButtonPainter painter;
    painter.draw(canvas.dc(), button, false);
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), canvas.at(20, 39));  // outer bottom
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.at(37, 30));   // inner right
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), canvas.at(0, 30));      // outer left
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), canvas.at(20, 21));  // inner top
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas.at(20, 30));

    painter.draw(canvas.dc(), button, true);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), canvas.at(20, 39));
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), canvas.at(37, 30));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), canvas.at(0, 30));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.at(20, 21));
}

TEST(RowButtonPainterTest, TheLabelIsDrawnNearTheCentre)
{
    test::PixelCanvas canvas(60, 60);
    const RowButton button(0, 39, 20, "88");
    RowButtonPainter().draw(canvas.dc(), button, false);
    int inkLeft = 60, inkRight = -1;
    for (int x = 2; x < 37; ++x) {
        for (int y = 2; y < 18; ++y) {
            if (canvas.at(x, y) != GetSysColor(COLOR_BTNFACE)) {
                inkLeft = x < inkLeft ? x : inkLeft;
                inkRight = x > inkRight ? x : inkRight;
            }
        }
    }
    ASSERT_LT(inkLeft, inkRight);
    EXPECT_NEAR(20, (inkLeft + inkRight) / 2, 4);
}

TEST(RowHeaderResourcesTest, CreatingAndDestroyingLeavesNoGdiObjectsOrWindowsBehind)
{
    test::TestWindow owner("QuorRowHeaderLeakOwner", ownerProc);
    auto cycle = [&] {
        QuorRowHeaderObj header;
        header.create(owner.get());
        header.layout(300, 20, true);
        for (int i = 0; i < 80; ++i)
            header.addButton();
        header.renumber(4);
        UpdateWindow(header.window());
        SendMessageA(header.window(), WM_LBUTTONDOWN, MK_LBUTTON, at(10, 30));
        SendMessageA(header.window(), WM_LBUTTONUP, 0, at(10, 30));
        test::pumpMessages();
    };
    cycle();  // lets the system make its one-time objects
    const unsigned long gdiBefore = test::liveGdiObjects();
    const unsigned long userBefore = test::liveUserObjects();
    for (int i = 0; i < 50; ++i)
        cycle();
    EXPECT_LT(0ul, gdiBefore);
    EXPECT_EQ(gdiBefore, test::liveGdiObjects());
    EXPECT_LT(0ul, userBefore);  // the owner window at least
    EXPECT_EQ(userBefore, test::liveUserObjects());
    HWND child = GetWindow(owner.get(), GW_CHILD);
    EXPECT_EQ(nullptr, child);
}

}  // namespace

}  // namespace quor
