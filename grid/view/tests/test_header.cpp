// The column header: hit testing and click selection of the column table,
// and the header window's clicks and menu commands.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "ColumnTable.h"
#include "OleTestSupport.h"
#include "QuorColumnHeaderObj.h"
#include "GridEnums.h"

namespace quor {

namespace {

ColumnTable fiveColumns()
{
    ColumnTable columns;
    for (int i = 0; i < 5; ++i)
        columns.insert("Column");  // 8 * 6 + 24 = 72 pixels each
    return columns;
}

std::vector<int> selectedColumns(const ColumnTable& columns)
{
    std::vector<int> selected;
    for (int c = 0; c < columns.count(); ++c)
        if (columns.selected(c))
            selected.push_back(c);
    return selected;
}

TEST(ColumnHitTest, DividerSlackSelectsNothing)
{
    const ColumnTable columns = fiveColumns();
    EXPECT_EQ(0, columns.columnAt(10));
    EXPECT_EQ(-1, columns.columnAt(72 - 5));
    EXPECT_EQ(-1, columns.columnAt(72 + 9));
    EXPECT_EQ(1, columns.columnAt(72 + 10));
    EXPECT_EQ(2, columns.columnAt(2 * 72 + 36));
    EXPECT_EQ(5, columns.columnAt(1000));
}

TEST(ColumnClicks, PlainClickSelectsAloneAndSecondClickUnselects)
{
    ColumnTable columns = fiveColumns();
    columns.clickSelect(2, false, false);
    EXPECT_EQ(std::vector<int>{2}, selectedColumns(columns));
    EXPECT_EQ(2, columns.selectionAnchor());
    columns.clickSelect(3, false, false);
    EXPECT_EQ(std::vector<int>{3}, selectedColumns(columns));
    columns.clickSelect(3, false, false);
    EXPECT_TRUE(selectedColumns(columns).empty());
    EXPECT_EQ(-1, columns.selectionAnchor());
}

TEST(ColumnClicks, ShiftExtendsFromTheAnchorEitherWay)
{
    ColumnTable columns = fiveColumns();
    columns.clickSelect(4, true, false);  // no anchor: nothing
    EXPECT_TRUE(selectedColumns(columns).empty());
    columns.clickSelect(1, false, false);
    columns.clickSelect(4, true, false);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), selectedColumns(columns));
    columns.deselectAll();
    columns.clickSelect(1, false, false);
    columns.clickSelect(0, true, false);
    EXPECT_EQ((std::vector<int>{0, 1}), selectedColumns(columns));
}

TEST(ColumnClicks, CtrlTogglesSingleColumns)
{
    ColumnTable columns = fiveColumns();
    columns.clickSelect(1, false, false);
    columns.clickSelect(3, false, true);
    EXPECT_EQ((std::vector<int>{1, 3}), selectedColumns(columns));
    columns.clickSelect(1, false, true);
    EXPECT_EQ(std::vector<int>{3}, selectedColumns(columns));
}

// The grid's side, recorded.
class FakeGrid : public ColumnHeaderOwner {
public:
    ColumnTable columns = fiveColumns();
    int clicks = 0;
    int changes = 0;
    std::vector<std::pair<int, int>> sorts;
    std::vector<int> resized;

    ColumnTable& columnTable() override { return columns; }
    void beforeHeaderClick() override { ++clicks; }
    void columnsChanged() override { ++changes; }
    void sortByColumn(int32_t column, int32_t style) override { sorts.emplace_back(column, style); }
    void resizeColumnToFit(int32_t column) override { resized.push_back(column); }
    void setColumnWidthFromMenu(int32_t column, int32_t width) override { columns.setWidth(column, width); }
};

LRESULT CALLBACK plainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

class HeaderWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(header.create(host.get(), grid));
        header.mirror(grid.columns);
        SetWindowPos(header.window(), nullptr, 0, 0, 400, 20, SWP_NOZORDER);
    }
    void clickAt(int x, WPARAM keys = 0)
    {
        SendMessageA(header.window(), WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, 10));
        SendMessageA(header.window(), WM_LBUTTONUP, keys, MAKELPARAM(x, 10));
    }

    int itemWidth(int column) const
    {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        SendMessageA(header.window(), HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        return item.cxy;
    }

    // Menu commands act on the column under the last right click.
    void menuCommandAt(int x, int command)
    {
        SendMessageA(header.window(), WM_RBUTTONUP, 0, MAKELPARAM(x, 10));
        SendMessageA(header.window(), WM_COMMAND, command, 0);
    }

    test::TestWindow host{"QuorHeaderTestHost", plainProcedure};
    FakeGrid grid;
    QuorColumnHeaderObj header;
};

TEST_F(HeaderWindowTest, MirrorsHeadingsAndWidthsOfTheTable)
{
    EXPECT_EQ(5, Header_GetItemCount(header.window()));
    EXPECT_EQ(72, itemWidth(4));
    header.mirrorWidth(4, 30);
    EXPECT_EQ(30, itemWidth(4));
    EXPECT_EQ(5u, header.order().size());
}

TEST_F(HeaderWindowTest, ClicksSelectWithTheModifierKeys)
{
    clickAt(72 + 36);
    EXPECT_EQ(std::vector<int>{1}, selectedColumns(grid.columns));
    EXPECT_EQ(1, grid.clicks);
    clickAt(3 * 72 + 36, MK_SHIFT);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), selectedColumns(grid.columns));
    clickAt(2 * 72 + 36, MK_CONTROL);
    EXPECT_EQ((std::vector<int>{1, 3}), selectedColumns(grid.columns));
    clickAt(2 * 72 + 4);  // within 10 pixels of the divider
    EXPECT_EQ((std::vector<int>{1, 3}), selectedColumns(grid.columns));
}

TEST_F(HeaderWindowTest, MenuCommandsActOnTheRightClickedColumn)
{
    menuCommandAt(36, kCmdSortAscending);
    menuCommandAt(72 + 36, kCmdSortDescending);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{0, sortAscending}, {1, sortDescending}}), grid.sorts);

    menuCommandAt(2 * 72 + 36, kCmdHideColumn);
    EXPECT_EQ(3, grid.columns.width(2));

    menuCommandAt(36, kCmdReadOnly);
    EXPECT_FALSE(grid.columns.editable(0));
    menuCommandAt(36, kCmdReadOnly);
    EXPECT_TRUE(grid.columns.editable(0));

    menuCommandAt(36, kCmdAutoResize);
    EXPECT_TRUE(grid.columns.autoResize(0));
    EXPECT_EQ(std::vector<int>{0}, grid.resized);

    menuCommandAt(36, kCmdLock);
    EXPECT_TRUE(grid.columns.locked(0));

    // On a divider there is no menu column: nothing happens.
    menuCommandAt(72, kCmdLock);
    EXPECT_FALSE(grid.columns.locked(1));
    EXPECT_TRUE(grid.columns.locked(0));
}

}  // namespace

}  // namespace quor
