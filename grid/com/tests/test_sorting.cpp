// sortGrid: numeric and text columns, stability, toggling, and the mixed
// column whose order depends on which row is the candidate.
#include "GridDll.h"

namespace quor {

class SortTest : public GridTest {
protected:
    void rows(std::initializer_list<const wchar_t*> texts)
    {
        headings(L"Key|Id");
        for (const wchar_t* text : texts)
            append(text);
    }
};

TEST_F(SortTest, NumericCellsSortAsNumbers)
{
    rows({L"10", L"9", L"100", L"2.5"});
    EXPECT_EQ(S_OK, grid->sortGrid(0, Ascending));
    EXPECT_EQ(L"2.5/9/10/100", allRows());
    EXPECT_EQ(S_OK, grid->sortGrid(0, Descending));
    EXPECT_EQ(L"100/10/9/2.5", allRows());
}

TEST_F(SortTest, TextCellsSortAsText)
{
    rows({L"pear", L"apple", L"fig"});
    grid->sortGrid(0, Ascending);
    EXPECT_EQ(L"apple/fig/pear", allRows());
}

TEST_F(SortTest, EqualKeysKeepTheirOrderBothWays)
{
    rows({L"b|1", L"a|2", L"b|3", L"a|4"});
    grid->sortGrid(0, Ascending);
    EXPECT_EQ(L"a|2/a|4/b|1/b|3", allRows());
    grid->sortGrid(0, Descending);
    EXPECT_EQ(L"b|1/b|3/a|2/a|4", allRows());
    grid->deleteAllRows(VARIANT_FALSE);
    rows({L"5|1", L"3|2", L"5|3"});
    grid->sortGrid(0, Ascending);
    EXPECT_EQ(L"3|2/5|1/5|3", allRows());
}

TEST_F(SortTest, MixedColumnDependsOnTheCandidate)
{
    rows({L"abc", L"5"});
    grid->sortGrid(0, Ascending);
    EXPECT_EQ(L"abc/5", allRows());

    grid->deleteAllRows(VARIANT_FALSE);
    rows({L"5", L"abc"});
    grid->sortGrid(1, Ascending);  // any other column makes the next sort run
    grid->sortGrid(0, Ascending);
    EXPECT_EQ(L"5/abc", allRows());
}

TEST_F(SortTest, TrailingTextMakesACellText)
{
    // As a number 12abc would stay behind 9; as text "12abc" < "9".
    rows({L"9", L"12abc"});
    grid->sortGrid(0, Ascending);
    EXPECT_EQ(L"12abc/9", allRows());
}

TEST_F(SortTest, RepeatedStyleDoesNothingAndNoneToggles)
{
    rows({L"b", L"c", L"a"});
    grid->sortGrid(0, Ascending);
    EXPECT_EQ(L"a/b/c", allRows());
    append(L"0");  // rows appended later are not placed into order
    EXPECT_EQ(S_OK, grid->sortGrid(0, Ascending));
    EXPECT_EQ(L"a/b/c/0", allRows());
    EXPECT_EQ(S_OK, grid->sortGrid(0, None));
    EXPECT_EQ(L"0/c/b/a", allRows());
    grid->sortGrid(0, None);
    EXPECT_EQ(L"a/b/c/0", allRows());
}

TEST_F(SortTest, NoneOnAnUnsortedColumnSortsAscending)
{
    rows({L"b|2", L"a|1"});
    EXPECT_EQ(S_OK, grid->sortGrid(1, None));
    EXPECT_EQ(L"a|1/b|2", allRows());
    EXPECT_EQ(S_FALSE, grid->sortGrid(2, None));
}

TEST_F(SortTest, ColumnBeyondTheRowsKeepsTheOrder)
{
    rows({L"b", L"a"});
    EXPECT_EQ(S_OK, grid->sortGrid(7, Ascending));
    EXPECT_EQ(L"b/a", allRows());
}

}  // namespace quor
