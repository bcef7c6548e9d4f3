#include <gtest/gtest.h>

#include <cmath>

#include "PlotTicks.h"

namespace quor {

namespace {

const int64_t kSecond = 1000000000;

}  // namespace

TEST(PlotTicks, ValueTicksAreRoundAndInsideAMarginedAxis)
{
    const ValueAxis axis = valueAxis(-3.3, 47.9, 6);
    EXPECT_LT(axis.low, -3.3);
    EXPECT_GT(axis.high, 47.9);
    EXPECT_EQ(axis.step, 10);
    ASSERT_FALSE(axis.ticks.empty());
    EXPECT_EQ(axis.ticks.front(), 0);
    EXPECT_EQ(axis.ticks.back(), 50);  // 47.9 and its margin reach past 50
    EXPECT_EQ(valueDecimals(axis.step), 0);
    EXPECT_EQ(valueDecimals(0.05), 2);
    EXPECT_EQ(valueDecimals(0.2), 1);
}

TEST(PlotTicks, AFlatOrEmptySignalStillHasAnAxis)
{
    const ValueAxis flat = valueAxis(5, 5, 5);
    EXPECT_LT(flat.low, 5);
    EXPECT_GT(flat.high, 5);
    EXPECT_FALSE(flat.ticks.empty());
    const ValueAxis none = valueAxis(INFINITY, -INFINITY, 5);
    EXPECT_LT(none.low, none.high);
}

TEST(PlotTicks, TimeStepsFollowTheClockAndTheTextHasTheirDecimals)
{
    TimeTicks ticks = timeTicks(0, 3600 * kSecond, 6);
    EXPECT_EQ(ticks.step, 10 * 60 * kSecond);
    EXPECT_EQ(ticks.decimals, 0);
    EXPECT_EQ(ticks.ticks.size(), 7u);

    ticks = timeTicks(kSecond + 3, kSecond + 3 + 1000000, 5);  // a millisecond
    EXPECT_EQ(ticks.step, 200000);
    EXPECT_EQ(ticks.decimals, 4);
    for (int64_t t : ticks.ticks) {
        EXPECT_EQ(t % ticks.step, 0);
        EXPECT_GE(t, kSecond + 3);
    }

    ticks = timeTicks(-10, 10, 4);  // before time zero, nanoseconds
    EXPECT_EQ(ticks.step, 5);
    EXPECT_EQ(ticks.decimals, 9);
    EXPECT_EQ(ticks.ticks.front(), -10);
    EXPECT_EQ(ticks.ticks.back(), 10);
    EXPECT_EQ(timeDecimals(30 * kSecond), 0);
    EXPECT_EQ(timeDecimals(kSecond / 2), 1);
}

}  // namespace quor
