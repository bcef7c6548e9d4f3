// The grid core's shared operations and what each tells its owner, with a
// listener that stands where the control's windows would be.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "GridCore.h"
#include "GridRow.h"

namespace quor {

namespace {

struct CountingListener : GridCoreListener {
    int appends = 0;
    int widthChanges = 0;
    int headingChanges = 0;
    int originMoves = 0;
    int rowChanges = 0;
    void rowsAppended() override { ++appends; }
    void columnWidthChanged(int32_t, int32_t) override { ++widthChanges; }
    void headingsChanged() override { ++headingChanges; }
    void originMoved() override { ++originMoves; }
    void rowsChanged() override { ++rowChanges; }
    // Ten pixels a character, so that widths are easy to foresee.
    int32_t textWidth(const std::string& text) override { return static_cast<int32_t>(text.size()) * 10; }
    void commitOpenEdit() override {}
};

struct GridCoreTest : ::testing::Test {
    CountingListener listener;
    GridCore core{listener};
};

TEST_F(GridCoreTest, AppendedRowsKeepTagAndMarkOnlyNonEmptyRowsEdited)
{
    ASSERT_TRUE(core.setColumnHeadings("A|B"));
    EXPECT_EQ(S_OK, core.appendRow("1|2", "first", true));
    EXPECT_EQ(S_OK, core.appendRow("", "empty", true));
    EXPECT_EQ(S_OK, core.appendBlankRows(2));
    ASSERT_EQ(4, core.rows().rowCount());
    EXPECT_EQ("first", core.rows().rowByNumber(1)->tagText);
    EXPECT_TRUE(core.rows().rowByNumber(1)->edited);
    EXPECT_FALSE(core.rows().rowByNumber(2)->edited);
    EXPECT_EQ(1, core.rows().rowByNumber(4)->blankRow);
    EXPECT_EQ(3, listener.appends);
}

TEST_F(GridCoreTest, AppendWidensOnlyAutoResizeColumnsToTheirText)
{
    ASSERT_TRUE(core.setColumnHeadings("A|B"));
    core.columns().setAutoResize(1, true);
    const int32_t widthOfA = core.columns().width(0);
    core.appendRow("a long first cell|a long second cell", "", false);
    EXPECT_EQ(widthOfA, core.columns().width(0));
    EXPECT_EQ(180, core.columns().width(1));
    EXPECT_EQ(1, listener.widthChanges);
}

TEST_F(GridCoreTest, EmptyHeadingsLeaveNoColumnCounted)
{
    ASSERT_TRUE(core.setColumnHeadings("A|B|C"));
    EXPECT_EQ(3, core.columnCount());
    EXPECT_EQ("A|B|C", core.headingString());
    EXPECT_FALSE(core.setColumnHeadings(std::string()));
    EXPECT_EQ(0, core.columnCount());
    EXPECT_EQ(1, listener.headingChanges);
}

TEST_F(GridCoreTest, UpperLeftCellOutsideTheGridIsRefused)
{
    ASSERT_TRUE(core.setColumnHeadings("A|B"));
    core.appendBlankRows(3);
    EXPECT_FALSE(core.setUpperLeftCell(3, 0));
    EXPECT_FALSE(core.setUpperLeftCell(0, 2));
    EXPECT_FALSE(core.setUpperLeftCell(-1, 0));
    EXPECT_EQ(0, listener.originMoves);
    EXPECT_TRUE(core.setUpperLeftCell(2, 1));
    EXPECT_EQ(2, core.view().firstVisibleRow);
    EXPECT_EQ(1, core.view().firstVisibleColumn);
    EXPECT_EQ(1, listener.originMoves);
}

TEST_F(GridCoreTest, DeleteAllRowsKeepsThemAsDeletedAndReturnsToTheTop)
{
    ASSERT_TRUE(core.setColumnHeadings("A|B"));
    core.appendRow("1|2", "", false);
    core.appendRow("3|4", "", false);
    ASSERT_TRUE(core.setUpperLeftCell(1, 1));
    core.deleteAllRows();
    EXPECT_EQ(0, core.rows().rowCount());
    EXPECT_EQ(0, core.view().firstVisibleRow);
    EXPECT_EQ(0, core.view().firstVisibleColumn);
    core.rows().resetDeletedCursor();
    EXPECT_EQ("1|2", core.rows().nextDeleted()->rowText);
}

TEST_F(GridCoreTest, RowNumbersFromAHostNeverOverflow)
{
    ASSERT_TRUE(core.setColumnHeadings("A"));
    core.appendBlankRows(2);
    EXPECT_EQ(nullptr, core.rows().rowByNumber(INT_MIN));
    EXPECT_EQ(nullptr, core.rows().rowByNumber(0));
    EXPECT_NE(nullptr, core.rows().rowByNumber(2));
    EXPECT_EQ(S_FALSE, core.selection().setSelected(INT_MIN, 0, selectRow, true));
    EXPECT_EQ(S_FALSE, core.selection().setRowSelect(INT_MIN, rowSelected));
}

}  // namespace

}  // namespace quor
