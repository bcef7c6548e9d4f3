// The state the window keeps between messages: the bands' rows, the views
// Zoom Back returns to, the cursors with the click a double-click takes
// back, and the mouse gestures.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "LaneLayout.h"
#include "PlotCursors.h"
#include "PlotGestures.h"
#include "TaskPool.h"
#include "TurnQueue.h"
#include "ZoomHistory.h"

namespace quor {

// Every row of the area belongs to one band or one gap, bands are within
// a row of each other's height, and the gaps go before the bands shrink.
TEST(LaneLayout, BandsShareTheRowsAndRowsFindTheirBand)
{
    for (int bands : {1, 2, 3, 7, 32}) {
        const std::vector<LaneBand> layout = layoutBands(40, 841, bands, 6);
        ASSERT_EQ(layout.size(), size_t(bands));
        EXPECT_EQ(layout.front().top, 40);
        EXPECT_EQ(layout.back().bottom, 841) << bands << " bands";
        const int height = layout.back().bottom - layout.back().top;
        for (int k = 0; k < bands; ++k) {
            const int h = layout[k].bottom - layout[k].top;
            EXPECT_TRUE(h == height || h == height + 1) << k;
            EXPECT_EQ(bandAt(layout, layout[k].top), k);
            EXPECT_EQ(bandAt(layout, layout[k].bottom - 1), k);
            if (k > 0 && bands < 32) {
                EXPECT_EQ(bandAt(layout, layout[k].top - 1), -1) << "a gap";
            }
        }
        EXPECT_EQ(bandAt(layout, 39), -1);
        EXPECT_EQ(bandAt(layout, 841), -1);
    }
    // 32 bands in 801 rows: no room for gaps beside the least band height.
    const std::vector<LaneBand> tight = layoutBands(40, 841, 32, 6);
    EXPECT_EQ(tight[1].top, tight[0].bottom);
    // Too few rows: one row each, running past the area's end.
    const std::vector<LaneBand> overflow = layoutBands(0, 10, 32, 6);
    EXPECT_EQ(overflow[31].top, 31);
    EXPECT_EQ(overflow[31].bottom, 32);
    EXPECT_TRUE(layoutBands(0, 100, 0, 6).empty());
}

// Ten zooms and ten Zoom Backs return to the first view exactly, a repeat
// of the view on top is one step, and the oldest steps go beyond the depth.
TEST(ZoomHistory, TenZoomsAndTenBacksReturnExactly)
{
    PlotView view;
    view.setRecording(-123456789, 98765432101, 1);
    const TimeSpan first = view.span();
    ZoomHistory history;
    for (int k = 0; k < 10; ++k) {
        history.push(view.span());
        history.push(view.span());
        view.zoomAround(317 + k, 1000, 0.61);
    }
    EXPECT_EQ(history.size(), 10u);
    TimeSpan previous;
    TimeSpan last = view.span();
    for (int k = 0; k < 10; ++k) {
        ASSERT_TRUE(history.back(&previous));
        EXPECT_FALSE(previous == last);
        view.zoomTo(previous.from, previous.to);
        last = view.span();
    }
    EXPECT_EQ(view.span(), first);
    EXPECT_FALSE(history.back(&previous));
    for (int64_t k = 0; k < int64_t(ZoomHistory::kDepth) + 5; ++k)
        history.push(TimeSpan{k, k + 10});
    EXPECT_EQ(history.size(), ZoomHistory::kDepth);
    for (size_t k = 0; k < ZoomHistory::kDepth; ++k)
        ASSERT_TRUE(history.back(&previous));
    EXPECT_EQ(previous.from, 5);
    history.push(first);
    history.clear();
    EXPECT_EQ(history.size(), 0u);
}

// A double-click's first click moved a cursor: undoing it puts back what was
// there (or nothing), once; Find's placements leave no undo behind.
TEST(PlotCursors, UndoPutsBackWhatTheClickMoved)
{
    PlotCursors cursors;
    cursors.place(false, 100);
    cursors.undoClick();
    EXPECT_FALSE(cursors.a().placed);
    cursors.place(false, 100);
    cursors.place(true, 300);
    cursors.place(true, 500);
    cursors.undoClick();
    EXPECT_EQ(cursors.b(), (PlotCursor{true, 300}));
    cursors.undoClick();  // once only
    EXPECT_EQ(cursors.b(), (PlotCursor{true, 300}));
    EXPECT_TRUE(cursors.bothPlaced());
    cursors.place(false, 700);
    cursors.set(false, PlotCursor{true, 900});
    cursors.undoClick();
    EXPECT_EQ(cursors.a().time, 900);
    cursors.place(false, 1);
    cursors.forgetClick();
    cursors.undoClick();
    EXPECT_EQ(cursors.a().time, 1);
    cursors.clear();
    EXPECT_FALSE(cursors.a().placed || cursors.b().placed);
}

// A press that moves less than the threshold is a click; once it has moved
// it pans by what the mouse moved since, and is no click when released. A
// right drag spans the box; a lost capture ends every gesture.
TEST(PlotGestures, ClicksPansAndBoxes)
{
    PlotGestures g;
    g.leftDown(100);
    EXPECT_EQ(g.move(102).panPixels, 0);
    EXPECT_TRUE(g.leftUp(101));
    EXPECT_FALSE(g.leftUp(101));  // no press, no click

    g.leftDown(100);
    EXPECT_EQ(g.move(104).panPixels, -4);
    EXPECT_TRUE(g.dragging());
    EXPECT_EQ(g.move(90).panPixels, 14);
    EXPECT_EQ(g.move(91).panPixels, -1);  // dragging: every pixel counts
    EXPECT_FALSE(g.leftUp(100));

    int left = 0, right = 0;
    g.rightDown(300);
    EXPECT_TRUE(g.move(250).boxMoved);
    EXPECT_EQ(g.move(250).panPixels, 0);
    EXPECT_EQ(g.boxLeft(), 250);
    EXPECT_EQ(g.boxRight(), 300);
    EXPECT_TRUE(g.rightUp(240, &left, &right));
    EXPECT_EQ(left, 240);
    EXPECT_EQ(right, 300);
    g.rightDown(300);
    EXPECT_FALSE(g.rightUp(302, &left, &right));  // too narrow to mean a zoom

    g.leftDown(10);
    g.move(50);
    g.cancel();
    EXPECT_FALSE(g.pressed());
    EXPECT_EQ(g.move(80).panPixels, 0);
    EXPECT_FALSE(g.leftUp(80));
}

}  // namespace quor

namespace quor {

// Every task of every batch runs exactly once and run returns only after
// all of them: batches handed in back to back must not lose a helper's
// wake-up (a hang) nor let a late helper take a task of the next batch.
TEST(TaskPool, BatchesRunEachTaskOnceAndReturnWhenAllHaveRun)
{
    for (int helpers : {0, 1, 3}) {
        TaskPool pool(helpers);
        for (int batch = 0; batch < 300; ++batch) {
            const int count = 1 + batch % 9;
            std::vector<std::atomic<int>> runs(count);
            for (std::atomic<int>& r : runs)
                r = 0;
            pool.run(count, [&](int index) { runs[index].fetch_add(1); });
            for (int k = 0; k < count; ++k)
                ASSERT_EQ(runs[k].load(), 1) << helpers << " helpers, batch " << batch << ", task " << k;
        }
    }
}

// Many threads taking turns: never more hold one than there are, every
// turn taken is run, and a thread waiting when its cancel flag is set
// leaves without a turn and without keeping the others waiting.
TEST(TurnQueue, NoMoreHoldATurnThanThereAreAndACancelledWaiterLeaves)
{
    TurnQueue turns(2);
    std::atomic<int> holding{0}, most{0}, runs{0};
    std::atomic<bool> never{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int k = 0; k < 200; ++k) {
                ASSERT_TRUE(turns.take(never));
                const int now = holding.fetch_add(1) + 1;
                int seen = most.load();
                while (now > seen && !most.compare_exchange_weak(seen, now)) {
                }
                runs.fetch_add(1);
                holding.fetch_sub(1);
                turns.give();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(runs.load(), 1600);
    EXPECT_LE(most.load(), 2);

    ASSERT_TRUE(turns.take(never));
    ASSERT_TRUE(turns.take(never));  // both turns held: the next thread waits
    std::atomic<bool> cancel{false};
    std::atomic<int> answer{-1};
    std::thread waiter([&] { answer = turns.take(cancel) ? 1 : 0; });
    cancel = true;
    turns.wakeWaiters();
    waiter.join();
    EXPECT_EQ(answer.load(), 0);
    turns.give();
    ASSERT_TRUE(turns.take(never));  // the turn given went to no one gone
    turns.give();
    turns.give();
}

}  // namespace quor
