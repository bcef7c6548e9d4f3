#include "quortemplatelib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

// Counts node allocations while a test asks for it, to prove reuse.
static bool g_counting = false;
static int g_allocations = 0;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (g_counting)
        ++g_allocations;
    return std::malloc(size ? size : 1);
}
void* operator new(std::size_t size)
{
    void* p = operator new(size, std::nothrow);
    if (!p)
        throw std::bad_alloc();
    return p;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace quor {

namespace {

struct Item {
    int id;
};

std::vector<int> contents(tGenericContainer<Item>& list)
{
    std::vector<int> ids;
    list.resetToFirst();
    while (Item* item = list.getNext())
        ids.push_back(item->id);
    return ids;
}

int allocationsDuring(void (*action)(tGenericContainer<Item>&, Item*), tGenericContainer<Item>& list, Item* items)
{
    g_allocations = 0;
    g_counting = true;
    action(list, items);
    g_counting = false;
    return g_allocations;
}

class ContainerTest : public ::testing::Test {
protected:
    Item a{1}, b{2}, c{3}, d{4}, e{5};
    tGenericContainer<Item> list;

    void fill() { list.addObject(&a), list.addObject(&b), list.addObject(&c); }
};

TEST_F(ContainerTest, RemoveAllKeepsNodesForReuse)
{
    fill();
    list.removeAll();
    EXPECT_EQ(list.getCount(), 0);
    EXPECT_TRUE(contents(list).empty());

    Item items[3] = {{4}, {5}, {6}};
    int allocated = allocationsDuring(
        [](tGenericContainer<Item>& l, Item* it) {
            for (int i = 0; i < 3; ++i)
                l.addObject(&it[i]);
        },
        list, items);
    EXPECT_EQ(allocated, 0);
    EXPECT_EQ(contents(list), (std::vector<int>{4, 5, 6}));

    // One more than ever held needs exactly one new node.
    allocated = allocationsDuring([](tGenericContainer<Item>& l, Item* it) { l.addObject(it); }, list, &d);
    EXPECT_EQ(allocated, 1);
    EXPECT_EQ(list.getCount(), 4);
}

TEST_F(ContainerTest, RemovedMiddleNodeIsParkedAndReused)
{
    fill();
    EXPECT_EQ(list.cleanObject(&b, true), S_OK);
    EXPECT_EQ(list.getCount(), 2);
    EXPECT_EQ(contents(list), (std::vector<int>{1, 3}));

    int allocated = allocationsDuring([](tGenericContainer<Item>& l, Item* it) { l.addObject(it); }, list, &e);
    EXPECT_EQ(allocated, 0);
    EXPECT_EQ(contents(list), (std::vector<int>{1, 3, 5}));
}

TEST_F(ContainerTest, RemovingHeadTailAndOnlyElement)
{
    fill();
    EXPECT_EQ(list.cleanObject(&c, true), S_OK);  // tail
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2}));
    EXPECT_EQ(list.cleanObject(&a, true), S_OK);  // head
    EXPECT_EQ(contents(list), (std::vector<int>{2}));
    EXPECT_EQ(list.cleanObject(&b, true), S_OK);  // only element
    EXPECT_EQ(list.getCount(), 0);
    list.resetToFirst();
    EXPECT_EQ(list.getNext(), nullptr);

    list.addObject(&d);
    list.addObject(&e);
    EXPECT_EQ(contents(list), (std::vector<int>{4, 5}));
}

TEST_F(ContainerTest, FailuresLeaveTheListAlone)
{
    fill();
    EXPECT_EQ(list.cleanObject(&d, true), E_FAIL);
    EXPECT_EQ(list.addObject(nullptr), E_POINTER);
    EXPECT_EQ(list.getCount(), 3);
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2, 3}));
}

TEST_F(ContainerTest, DuplicatesAreAllRemovedWithTheFlag)
{
    list.addObject(&a);
    list.addObject(&b);
    list.addObject(&a);
    list.addObject(&c);
    list.addObject(&a);
    EXPECT_EQ(list.cleanObject(&a, true), S_OK);
    EXPECT_EQ(contents(list), (std::vector<int>{2, 3}));
    EXPECT_EQ(list.getCount(), 2);

    list.addObject(&b);
    EXPECT_EQ(list.cleanObject(&b, false), S_OK);  // first occurrence only
    EXPECT_EQ(contents(list), (std::vector<int>{3, 2}));
}

TEST_F(ContainerTest, PositionalAccessMovesTheSingleCursor)
{
    fill();
    EXPECT_EQ(list.getAt(3), nullptr);
    EXPECT_EQ(list.getAt(-1), nullptr);
    EXPECT_EQ(list.getAt(1), &b);
    EXPECT_EQ(list.indexOf(&c), 2);
    EXPECT_EQ(list.indexOf(&d), -1);

    list.resetToFirst();
    EXPECT_EQ(list.getNext(), &a);
    list.getAt(2);  // the iteration in progress is lost
    EXPECT_EQ(list.getNext(), nullptr);
}

TEST_F(ContainerTest, IterationNeverReachesStalePointers)
{
    fill();
    list.addObject(&d);
    list.resetToFirst();
    list.getNext();
    list.removeAll();  // a cursor left in the old chain must not hand out b..d
    EXPECT_EQ(list.getNext(), nullptr);

    list.addObject(&e);
    list.resetToFirst();
    EXPECT_EQ(list.getNext(), &e);
    EXPECT_EQ(list.getNext(), nullptr);
    EXPECT_EQ(list.getNext(), nullptr);  // spare nodes still hold c and d
}

TEST_F(ContainerTest, CopyFromReplacesContents)
{
    fill();
    tGenericContainer<Item> other;
    other.addObject(&d);
    other.copyFrom(list);
    EXPECT_EQ(contents(other), (std::vector<int>{1, 2, 3}));
}

}  // namespace

}  // namespace quor
