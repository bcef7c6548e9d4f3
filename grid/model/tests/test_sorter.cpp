// What counts as a numeric cell, and the selection sort the mixed columns
// fall back to, checked on the model directly.
#include <gtest/gtest.h>

#include <memory>

#include "GridSorter.h"
#include "RowModel.h"

namespace quor {

namespace {

void addRows(RowModel& model, std::initializer_list<const char*> texts)
{
    for (const char* text : texts) {
        std::unique_ptr<GridRow> row(new GridRow);
        row->rowText = text;
        ASSERT_EQ(S_OK, model.append(row));
    }
}

std::string order(RowModel& model)
{
    std::string joined;
    for (GridRow* row : model.snapshot())
        joined += row->rowText + "/";
    return joined;
}

}  // namespace

TEST(GridSorter, NumericMeansDigitFirstAndNothingAfter)
{
    EXPECT_TRUE(GridSorter::isNumeric("10"));
    EXPECT_TRUE(GridSorter::isNumeric("2.5"));
    EXPECT_TRUE(GridSorter::isNumeric("1e3"));
    EXPECT_FALSE(GridSorter::isNumeric("-5"));
    EXPECT_FALSE(GridSorter::isNumeric("12abc"));
    EXPECT_FALSE(GridSorter::isNumeric(" 1"));
    EXPECT_FALSE(GridSorter::isNumeric("1 "));
    EXPECT_FALSE(GridSorter::isNumeric(""));
}

TEST(GridSorter, MixedColumnFollowsTheCandidateRule)
{
    // Candidate "abc" (0 as a number) beats "5" in the numeric comparison
    // that "5" asks for; "20" then compares as a number with "abc" too.
    RowModel model;
    addRows(model, {"abc", "5", "20", "b"});
    GridSorter sorter;
    EXPECT_EQ(S_OK, sorter.sortGrid(model, 0, sortAscending, 1));
    EXPECT_EQ("abc/5/20/b/", order(model));
    EXPECT_EQ(0, sorter.sortColumn());
    EXPECT_EQ(sortAscending, sorter.sortOrder());
}

TEST(GridSorter, LargeNumericColumnStaysStable)
{
    RowModel model;
    for (int i = 0; i < 2000; ++i) {
        std::unique_ptr<GridRow> row(new GridRow);
        row->rowText = std::to_string(i % 7) + "|" + std::to_string(i);
        ASSERT_EQ(S_OK, model.append(row));
    }
    GridSorter sorter;
    sorter.sortGrid(model, 0, sortDescending, 2);
    std::vector<GridRow*> rows = model.snapshot();
    ASSERT_EQ(2000u, rows.size());
    for (size_t i = 1; i < rows.size(); ++i) {
        const int keyBefore = rows[i - 1]->rowText[0] - '0', key = rows[i]->rowText[0] - '0';
        ASSERT_GE(keyBefore, key);
        if (keyBefore == key) {
            ASSERT_LT(std::stoi(rows[i - 1]->rowText.substr(2)), std::stoi(rows[i]->rowText.substr(2)));
        }
    }
}

}  // namespace quor
