// The workspace's lanes, their bands and the linked lane through the edits
// a user makes, and the shared time axis they are shifted onto.
#include <gtest/gtest.h>

#include <set>

#include "LaneList.h"

namespace quor {

namespace {

LaneSettings lane(const std::string& path, bool overlaid = false)
{
    LaneSettings s;
    s.path = path;
    s.overlaid = overlaid;
    return s;
}

// The lanes' paths in order, overlaid ones marked "+": the bands at a glance.
std::string order(const LaneList& list)
{
    std::string text;
    for (int k = 0; k < list.count(); ++k)
        text += (k ? " " : "") + std::string(list.at(k).settings.overlaid ? "+" : "") + list.at(k).settings.path;
    return text;
}

}  // namespace

TEST(LaneList, AddsUpToTheMostLanesOnceEachWithDistinctColours)
{
    LaneList list;
    int id = 0;
    EXPECT_EQ(list.add(lane("C:\\Test\\p.quorData", true), &id), LaneAdd::added);
    EXPECT_FALSE(list.at(0).settings.overlaid);  // the first lane has nothing to lie on
    EXPECT_EQ(list.indexOf(id), 0);
    // Windows compares paths without case, and either separator names the same folder.
    EXPECT_EQ(list.add(lane("c:/test/P.QUORDATA")), LaneAdd::duplicate);
    EXPECT_EQ(list.indexOfPath("C:/TEST\\p.quordata"), 0);
    for (int k = 1; k < 5; ++k)
        list.add(lane("lane" + std::to_string(k)));
    // A lane removed frees its colour for the next one; its id is not reused.
    const uint32_t freed = list.at(3).settings.colour;
    const int removedId = list.at(3).id;
    list.remove(3);
    EXPECT_EQ(list.add(lane("new"), &id), LaneAdd::added);
    EXPECT_EQ(list.at(list.count() - 1).settings.colour, freed);
    EXPECT_NE(id, removedId);
    EXPECT_EQ(list.indexOf(removedId), -1);
    for (int k = 5; k < LaneList::kMostLanes; ++k)
        ASSERT_EQ(list.add(lane("lane" + std::to_string(k))), LaneAdd::added);
    EXPECT_EQ(list.add(lane("one too many")), LaneAdd::full);
    std::set<uint32_t> firstColours, ids;
    for (int k = 0; k < LaneList::kMostLanes; ++k) {
        if (k < kPaletteSize)
            firstColours.insert(list.at(k).settings.colour);
        ids.insert(list.at(k).id);
    }
    EXPECT_EQ(firstColours.size(), size_t(kPaletteSize));
    EXPECT_EQ(ids.size(), size_t(LaneList::kMostLanes));
}

// Moves carry whole bands; overlay and separate change which band a lane is
// drawn in; removing a band's head leaves the rest of the band in place. The
// linked lane is followed through all of it.
TEST(LaneList, BandsMovesAndTheLinkedLane)
{
    LaneList list;
    for (const char* path : {"a", "b", "c", "d", "e"})
        list.add(lane(path));
    list.setLinked(1);  // b
    EXPECT_EQ(list.bandCount(), 5);
    EXPECT_FALSE(list.overlay(0));
    EXPECT_TRUE(list.overlay(2));  // c onto b
    EXPECT_TRUE(list.overlay(3));  // d onto b's band too
    EXPECT_EQ(order(list), "a b +c +d e");
    EXPECT_EQ(list.bandCount(), 3);
    EXPECT_EQ(list.bandOf(3), 1);
    EXPECT_EQ(list.lanesOfBand(1), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.lanesOfBand(2), (std::vector<int>{4}));

    EXPECT_TRUE(list.moveUp(3));  // d moves its band b+c+d above a
    EXPECT_EQ(order(list), "b +c +d a e");
    EXPECT_EQ(list.linkedIndex(), 0);
    EXPECT_FALSE(list.moveUp(2));
    EXPECT_TRUE(list.moveDown(0));
    EXPECT_TRUE(list.moveDown(1));
    EXPECT_EQ(order(list), "a e b +c +d");
    EXPECT_FALSE(list.moveDown(4));
    EXPECT_EQ(list.linkedIndex(), 2);

    list.separate(3);  // c heads a band of its own, and d stays on it
    EXPECT_EQ(order(list), "a e b c +d");
    EXPECT_EQ(list.lanesOfBand(3), (std::vector<int>{3, 4}));
    list.remove(3);  // c goes: d heads the band
    EXPECT_EQ(order(list), "a e b d");
    list.overlay(3);
    list.remove(2);  // the linked lane b goes, d with it to no band above
    EXPECT_EQ(order(list), "a e d");
    EXPECT_EQ(list.linkedIndex(), -1);
    list.remove(0);
    EXPECT_EQ(order(list), "e d");

    list.setLinked(1);
    list.replacePath(1, "D2");
    EXPECT_EQ(list.linkedIndex(), 1);
    EXPECT_EQ(list.indexOfPath("d2"), 1);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.bandCount(), 0);
    EXPECT_EQ(list.linkedIndex(), -1);
}

TEST(LaneList, ShiftingRoundTripsAndSaturatesAtTheEnds)
{
    for (int64_t offset : {int64_t(0), int64_t(1500000000), int64_t(-86400000000000)})
        for (int64_t t : {int64_t(-7), int64_t(0), int64_t(3933000001234567)})
            EXPECT_EQ(fileTimeOf(shiftedTime(t, offset), offset), t);
    EXPECT_EQ(shiftedTime(INT64_MAX - 5, 10), INT64_MAX);
    EXPECT_EQ(shiftedTime(INT64_MIN + 5, -10), INT64_MIN);
    EXPECT_EQ(fileTimeOf(INT64_MIN + 5, 10), INT64_MIN);
    EXPECT_EQ(fileTimeOf(INT64_MAX - 5, -10), INT64_MAX);
}

}  // namespace quor
