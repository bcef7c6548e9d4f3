// The column table as the automation methods show it.
#include "GridDll.h"

namespace quor {

TEST_F(GridTest, HeadingWidthsFollowTheirLength)
{
    headings(L"Value|Id");
    SHORT width = 0;
    EXPECT_EQ(S_OK, grid->getColumnWidth(0, &width));
    EXPECT_EQ(64, width);
    grid->getColumnWidth(1, &width);
    EXPECT_EQ(40, width);
    grid->getColumnWidth(2, &width);
    EXPECT_EQ(0, width);
    EXPECT_EQ(E_POINTER, grid->getColumnWidth(0, nullptr));

    EXPECT_EQ(S_OK, grid->setColumnWidth(1, 90));
    grid->getColumnWidth(1, &width);
    EXPECT_EQ(90, width);
    EXPECT_EQ(S_FALSE, grid->setColumnWidth(5, 90));
}

TEST_F(GridTest, EmptyHeadingsResetTheCountButKeepTheColumns)
{
    headings(L"One|Two");
    EXPECT_EQ(S_FALSE, headings(L""));
    LONG columns = -1;
    grid->getNumberOfColumns(&columns);
    EXPECT_EQ(0, columns);
    Bstr heading;
    grid->getColumnHeading(1, heading.out());
    EXPECT_EQ(L"Two", heading.text());
    EXPECT_EQ(S_FALSE, grid->setColumnHeadings(nullptr));
    grid->getColumnHeadingStr(heading.out());
    EXPECT_EQ(L"One|Two", heading.text());
}

TEST_F(GridTest, SecondHeadingsReplaceTheColumns)
{
    headings(L"A|B|C");
    headings(L"X|Y");
    LONG columns = 0;
    grid->getNumberOfColumns(&columns);
    EXPECT_EQ(2, columns);
    Bstr heading;
    grid->getColumnHeading(2, heading.out());
    EXPECT_EQ(L"", heading.text());
    EXPECT_EQ(S_OK, grid->getColumnHeading(-1, heading.out()));
}

TEST_F(GridTest, ColumnByHeadingIgnoresCase)
{
    headings(L"Time|Value1");
    LONG column = -5;
    EXPECT_EQ(S_OK, grid->getColumnNumberByHeading(Bstr(L"VALUE1"), &column));
    EXPECT_EQ(1, column);
    EXPECT_EQ(S_FALSE, grid->getColumnNumberByHeading(Bstr(L"Value"), &column));
    EXPECT_EQ(-1, column);
}

TEST_F(GridTest, EditableNeedsADeclaredColumn)
{
    headings(L"A|B");
    EXPECT_EQ(S_OK, grid->SetColumnEditable(1, VARIANT_FALSE));
    EXPECT_EQ(S_FALSE, grid->SetColumnEditable(2, VARIANT_FALSE));
    EXPECT_EQ(S_FALSE, grid->SetColumnEditable(-1, VARIANT_FALSE));
}

TEST_F(GridTest, AtMostAThousandColumns)
{
    std::wstring many;
    for (int i = 0; i < 1005; ++i)
        many += L"c|";
    headings(many.c_str());
    LONG columns = 0;
    grid->getNumberOfColumns(&columns);
    EXPECT_EQ(1000, columns);
}

TEST_F(GridTest, HeadingsAreCutAt499Characters)
{
    const std::wstring longHeading(600, L'h');
    headings(longHeading.c_str());
    Bstr heading;
    grid->getColumnHeading(0, heading.out());
    EXPECT_EQ(499u, heading.text().size());
}

TEST_F(GridTest, AutoResizeMeasuresNothingBeforeTheFirstPaint)
{
    headings(L"A|B");
    append(L"a|b");
    EXPECT_EQ(S_OK, grid->autoResizeColumn(0));
    SHORT width = 0;
    grid->getColumnWidth(0, &width);
    EXPECT_EQ(32, width);
}

TEST_F(GridTest, UpperLeftCellMustLieInsideTheGrid)
{
    headings(L"A|B");
    append(L"a|b");
    append(L"c|d");
    EXPECT_EQ(S_OK, grid->setUpperLeftCell(1, 1));
    EXPECT_EQ(S_FALSE, grid->setUpperLeftCell(2, 0));
    EXPECT_EQ(S_FALSE, grid->setUpperLeftCell(0, 2));
    EXPECT_EQ(S_FALSE, grid->setUpperLeftCell(-1, 0));
    VARIANT_BOOL visible = VARIANT_TRUE;
    EXPECT_EQ(S_OK, grid->rowIsVisible(0, &visible));
    EXPECT_EQ(VARIANT_FALSE, visible);  // the row above the first shown one
    EXPECT_EQ(E_POINTER, grid->rowIsVisible(2, nullptr));
}

}  // namespace quor
