// Scroll steps of the two bars: one row or column per line, five rows or
// four columns per page, the ends of each range and the wheel.
#include <gtest/gtest.h>

#include "GridScroller.h"

namespace quor {

namespace {

int32_t clampedVertical(int code, int32_t top, int32_t rows, int32_t thumb = 0)
{
    const int32_t target = verticalScrollTarget(code, thumb, top, rows);
    return applyScrollBar(nullptr, SB_VERT, verticalGeometry(rows), target);
}

int32_t clampedHorizontal(int code, int32_t first, int32_t columns, int32_t thumb = 0)
{
    const int32_t target = horizontalScrollTarget(code, thumb, first, columns);
    return applyScrollBar(nullptr, SB_HORZ, horizontalGeometry(columns), target);
}

TEST(VerticalScroll, LinesMoveOneRowAndPagesFive)
{
    EXPECT_EQ(4, clampedVertical(SB_LINEDOWN, 3, 100));
    EXPECT_EQ(2, clampedVertical(SB_LINEUP, 3, 100));
    EXPECT_EQ(0, clampedVertical(SB_LINEUP, 0, 100));
    EXPECT_EQ(8, clampedVertical(SB_PAGEDOWN, 3, 100));
    EXPECT_EQ(0, clampedVertical(SB_PAGEUP, 3, 100));
    EXPECT_EQ(5, clampedVertical(SB_PAGEUP, 10, 100));
}

TEST(VerticalScroll, StopsAtTheEndOfItsRange)
{
    // Range 0..rows + 6 with a page of 5: the last top row is rows + 2.
    EXPECT_EQ(12, clampedVertical(SB_PAGEDOWN, 10, 10));
    EXPECT_EQ(10, clampedVertical(SB_LINEDOWN, 10, 10));
    EXPECT_EQ(42, clampedVertical(SB_THUMBTRACK, 0, 100, 42));
    EXPECT_EQ(77777, clampedVertical(SB_THUMBPOSITION, 0, 100000, 77777));
    EXPECT_EQ(7, clampedVertical(SB_TOP, 7, 100));
    EXPECT_EQ(7, clampedVertical(SB_ENDSCROLL, 7, 100));
}

TEST(HorizontalScroll, LinesMoveOneColumnAndPagesFour)
{
    EXPECT_EQ(3, clampedHorizontal(SB_LINERIGHT, 2, 20));
    EXPECT_EQ(1, clampedHorizontal(SB_LINELEFT, 2, 20));
    EXPECT_EQ(0, clampedHorizontal(SB_LINELEFT, 0, 20));
    EXPECT_EQ(6, clampedHorizontal(SB_PAGERIGHT, 2, 20));
    EXPECT_EQ(2, clampedHorizontal(SB_PAGELEFT, 6, 20));
    EXPECT_EQ(18, clampedHorizontal(SB_LINERIGHT, 18, 20));
}

TEST(HorizontalScroll, OnlyTheTrackedThumbMoves)
{
    EXPECT_EQ(9, clampedHorizontal(SB_THUMBTRACK, 2, 20, 9));
    EXPECT_EQ(2, clampedHorizontal(SB_THUMBPOSITION, 2, 20, 9));
    EXPECT_EQ(2, clampedHorizontal(SB_ENDSCROLL, 2, 20, 9));
}

TEST(Wheel, EveryNotchIsOneLineAndPartialNotchesNone)
{
    EXPECT_EQ(2, wheelLines(240));
    EXPECT_EQ(-1, wheelLines(-120));
    EXPECT_EQ(0, wheelLines(119));
    EXPECT_EQ(-1, wheelLines(-239));
}

}  // namespace

}  // namespace quor
