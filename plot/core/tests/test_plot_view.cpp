#include <gtest/gtest.h>

#include "PlotView.h"

namespace quor {

namespace {

const int64_t kSecond = 1000000000;

}  // namespace

// Every time falls in the column whose first time is at or before it and
// whose next column starts after it: the envelope's own columns.
TEST(PlotView, ColumnsAndTimesAgreeAtOddSpans)
{
    PlotView view;
    for (int64_t length : {int64_t(7), int64_t(1000), int64_t(1001), int64_t(99999989) * kSecond}) {
        view.setRecording(-3 * kSecond, -3 * kSecond + length - 1, 1);
        for (int width : {1, 3, 997, 1000}) {
            for (int x = 0; x < width; x += 1 + width / 50) {
                const int64_t start = view.timeAtColumn(x, width);
                const int64_t next = view.timeAtColumn(x + 1, width);
                if (next == start)
                    continue;  // more columns than times: an empty column
                EXPECT_EQ(view.columnOfTime(start, width), x) << length << " " << width;
                EXPECT_EQ(view.columnOfTime(next - 1, width), x) << length << " " << width;
            }
            EXPECT_EQ(view.timeAtColumn(width, width), view.span().to + 1);
        }
    }
}

TEST(PlotView, ZoomKeepsThePointedTimeAndStopsAtAFewSamples)
{
    PlotView view;
    view.setRecording(0, 1000 * kSecond - 1, 4 * kSecond);
    const int64_t anchor = view.timeAtColumn(250, 1000);
    view.zoomAround(250, 1000, 0.5);
    EXPECT_EQ(view.span().length(), 500 * kSecond);
    EXPECT_NEAR(double(view.timeAtColumn(250, 1000)), double(anchor), 1.0 * kSecond);
    for (int i = 0; i < 40; ++i)
        view.zoomAround(250, 1000, 0.5);
    EXPECT_EQ(view.span().length(), 4 * kSecond);
    for (int i = 0; i < 80; ++i)
        view.zoomAround(0, 1000, 2.0);
    EXPECT_EQ(view.span().length(), 4000 * kSecond);  // a few recordings' length at most
    view.showAll();
    EXPECT_TRUE(view.showsAll());
}

TEST(PlotView, PanningAndBoxZoomKeepTheRecordingInSight)
{
    PlotView view;
    view.setRecording(100, 1099, 10);
    view.zoomTo(600, 699);
    EXPECT_EQ(view.span().from, 600);
    EXPECT_EQ(view.span().to, 699);
    view.panFraction(0.1);
    EXPECT_EQ(view.span().from, 610);
    view.panPixels(-100, 10);  // ten widths back
    EXPECT_EQ(view.span().from, 50);  // its middle stops at the first sample, 100
    for (int i = 0; i < 100; ++i)
        view.panFraction(0.5);
    EXPECT_EQ(view.span().from + view.span().length() / 2, 1099);
    view.zoomTo(700, 650);  // either order
    EXPECT_EQ(view.span().from, 650);
    EXPECT_EQ(view.span().length(), 51);
}

TEST(PlotView, AGrowingRecordingIsFollowedOnlyWhenAllOfItShows)
{
    PlotView view;
    view.setRecording(0, 999, 4);
    view.extendRecording(1999);
    EXPECT_EQ(view.span().to, 1999);
    view.zoomTo(100, 199);
    view.extendRecording(2999);
    EXPECT_EQ(view.span().to, 199);
    EXPECT_EQ(view.recording().to, 2999);
}

}  // namespace quor
