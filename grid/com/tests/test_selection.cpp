// Row and cell selection, select-all alternation, find and resetFind.
#include "GridDll.h"

#include <vector>

namespace quor {

namespace {

std::vector<std::wstring> selectedRows(IQuorGridControl* grid)
{
    std::vector<std::wstring> rows;
    grid->resetToFirstSelectedRow();
    Bstr row;
    while (grid->getNextSelectedRow(row.out()) == S_OK)
        rows.push_back(row.text());
    return rows;
}

}  // namespace

class SelectionTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        headings(L"A|B");
        for (const wchar_t* row : {L"r1|x", L"r2|y", L"r3|z", L"r4|w"})
            append(row);
    }
};

TEST_F(SelectionTest, SetRowSelectAndToggle)
{
    EXPECT_EQ(S_OK, grid->setRowSelect(2, Selected));
    EXPECT_EQ(std::vector<std::wstring>{L"r2|y"}, selectedRows(grid.Get()));
    EXPECT_EQ(S_OK, grid->setRowSelect(3, Toggle));
    EXPECT_EQ(2, selectedCount());
    EXPECT_EQ(S_OK, grid->setRowSelect(3, Toggle));
    EXPECT_EQ(1, selectedCount());
    EXPECT_EQ(S_FALSE, grid->setRowSelect(3, static_cast<RowSelectionType>(3)));
    EXPECT_EQ(S_FALSE, grid->setRowSelect(5, Selected));
    EXPECT_EQ(S_FALSE, grid->setRowSelect(0, Selected));
    EXPECT_EQ(S_OK, grid->setRowSelect(2, Unselected));
    EXPECT_EQ(0, selectedCount());
}

TEST_F(SelectionTest, RangeInEitherOrder)
{
    EXPECT_EQ(S_OK, grid->setRowSelectRange(3, 2, Selected));
    EXPECT_EQ((std::vector<std::wstring>{L"r2|y", L"r3|z"}), selectedRows(grid.Get()));
    // The rows that exist are still selected when the range runs past the end.
    EXPECT_EQ(S_FALSE, grid->setRowSelectRange(3, 6, Selected));
    EXPECT_EQ(3, selectedCount());
    EXPECT_EQ(S_FALSE, grid->setRowSelectRange(-2000000000, 2000000000, Unselected));
    EXPECT_EQ(0, selectedCount());
}

TEST_F(SelectionTest, SelectAllAlternatesFromUnselected)
{
    grid->setRowSelect(1, Selected);
    grid->SelectAllRows();
    EXPECT_EQ(0, selectedCount());
    grid->SelectAllRows();
    EXPECT_EQ(4, selectedCount());
    grid->deselectAllRows();  // flips the state as well
    EXPECT_EQ(0, selectedCount());
    grid->SelectAllRows();
    EXPECT_EQ(4, selectedCount());
}

TEST_F(SelectionTest, SetSelectedCellDoesNotSelectTheRow)
{
    EXPECT_EQ(S_OK, grid->setSelected(1, 1, SelectCell, VARIANT_TRUE));
    EXPECT_EQ(0, selectedCount());
    EXPECT_EQ(S_OK, grid->setSelected(2, 0, NoSelect, VARIANT_TRUE));
    EXPECT_EQ(1, selectedCount());
    // Deselecting with a type other than SelectRow leaves the row selected.
    grid->setSelected(2, 0, SelectCell, VARIANT_FALSE);
    EXPECT_EQ(1, selectedCount());
    grid->setSelected(2, 0, SelectRow, 1);
    EXPECT_EQ(0, selectedCount());
    EXPECT_EQ(S_FALSE, grid->setSelected(9, 0, SelectRow, VARIANT_TRUE));
}

TEST_F(SelectionTest, SelectionMovesWithRowsWhenSorting)
{
    grid->setRowSelect(1, Selected);
    grid->sortGrid(0, Descending);
    EXPECT_EQ(std::vector<std::wstring>{L"r1|x"}, selectedRows(grid.Get()));
    EXPECT_EQ(L"r1", cell(4, 0));
}

class FindTest : public GridTest {};

TEST_F(FindTest, ReportsTheLastHitAndLeavesOnlyItSelected)
{
    headings(L"A|B");
    append(L"xABCx|q");
    append(L"abc");
    LONG row = -7, column = -7;
    EXPECT_EQ(S_FALSE, grid->find(Bstr(L"abc"), VARIANT_FALSE, VARIANT_FALSE, 0, 0, &row, &column, SelectRow));
    EXPECT_EQ(2, row);
    EXPECT_EQ(0, column);
    EXPECT_EQ(std::vector<std::wstring>{L"abc"}, selectedRows(grid.Get()));
}

TEST_F(FindTest, WholeCellTrimsBothSidesAndMatchCaseIsExact)
{
    headings(L"A|B");
    append(L"  abc |x");
    append(L"ABC|y");
    LONG row = 0, column = 0;
    grid->find(Bstr(L"abc "), VARIANT_TRUE, VARIANT_TRUE, 0, 0, &row, &column, SelectRow);
    EXPECT_EQ(1, row);
    grid->find(Bstr(L"abc"), VARIANT_TRUE, VARIANT_FALSE, 0, 0, &row, &column, SelectRow);
    EXPECT_EQ(2, row);
}

TEST_F(FindTest, NoHitLeavesTheOutputsAlone)
{
    headings(L"A");
    append(L"abc");
    LONG row = 42, column = 43;
    EXPECT_EQ(S_FALSE, grid->find(Bstr(L"zzz"), VARIANT_FALSE, VARIANT_FALSE, 0, 0, &row, &column, SelectRow));
    EXPECT_EQ(S_FALSE, grid->find(Bstr(L""), VARIANT_FALSE, VARIANT_FALSE, 0, 0, &row, &column, SelectRow));
    EXPECT_EQ(42, row);
    EXPECT_EQ(43, column);
}

TEST_F(FindTest, WithoutPlaceForTheHitItStillSearchesAndSelects)
{
    headings(L"A|B");
    append(L"a|x");
    LONG row = -7;
    EXPECT_EQ(S_FALSE, grid->find(Bstr(L"x"), 0, 0, 0, 0, &row, nullptr, SelectRow));
    EXPECT_EQ(-7, row);
    LONG selected = 0;
    grid->getNumberOfSelectedRows(&selected);
    EXPECT_EQ(1, selected);
}

TEST_F(FindTest, SearchesOnlyTheDeclaredColumns)
{
    headings(L"A");
    append(L"a|needle");
    LONG row = 0, column = 0;
    grid->find(Bstr(L"needle"), VARIANT_FALSE, VARIANT_FALSE, 0, 0, &row, &column, SelectRow);
    EXPECT_EQ(0, row);
}

TEST_F(FindTest, ResetFindDeselectsAllRows)
{
    headings(L"A");
    append(L"abc");
    LONG row = 0, column = 0;
    grid->find(Bstr(L"b"), VARIANT_FALSE, VARIANT_FALSE, 0, 0, &row, &column, SelectRow);
    EXPECT_EQ(1, selectedCount());
    EXPECT_EQ(S_OK, grid->resetFind());
    EXPECT_EQ(0, selectedCount());
}

}  // namespace quor
