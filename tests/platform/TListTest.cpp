// Tests of the insertion-ordered list and its links.
#include "platform/TList.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace ravel;

namespace
{
using IntRef = std::shared_ptr<int>;

std::vector<int> Values(const TList<IntRef>& list)
{
    std::vector<int> out;
    for (const IntRef& v : list)
        out.push_back(*v);
    return out;
}

struct Holder
{
    TLink link;
};
} // namespace

TEST(TListTest, KeepsInsertionOrderAndLinksRemoveTheirOwnEntry)
{
    TList<IntRef> list;
    std::vector<TLink> links;
    for (int k = 0; k < 5; ++k)
        links.push_back(list.AddLast(std::make_shared<int>(k)));
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 3, 4}));
    links[2].Remove();
    links[0].Remove();
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(list.Count(), 3);
    list.AddFirst(std::make_shared<int>(9));
    EXPECT_EQ(Values(list), (std::vector<int>{9, 1, 3, 4}));
    EXPECT_EQ(*list.RemoveFirst(), 9);
    EXPECT_EQ(*list.First(), 1);
    EXPECT_EQ(*list.Last(), 4);
}

TEST(TListTest, RemovingTwiceOrAfterTheListIsGoneIsHarmless)
{
    TLink a, b;
    {
        TList<IntRef> list;
        a = list.AddLast(std::make_shared<int>(1));
        b = list.AddLast(std::make_shared<int>(2));
        EXPECT_EQ(a.IsLinked(), 1);
        a.Remove();
        a.Remove();
        EXPECT_EQ(a.IsLinked(), 0);
        EXPECT_EQ(list.Count(), 1);
    }
    EXPECT_EQ(b.IsLinked(), 0);
    b.Remove(); // the list is gone
    // A recycled node must not be reachable through a stale link.
    TList<IntRef> other;
    TLink c = other.AddLast(std::make_shared<int>(3));
    b.Remove();
    EXPECT_EQ(other.Count(), 1);
    EXPECT_EQ(c.IsLinked(), 1);
}

TEST(TListTest, CopiedStaleLinkStaysHarmlessWhenTheNodeIsReused)
{
    TList<IntRef> list;
    TLink first = list.AddLast(std::make_shared<int>(1));
    TLink copy = first;
    first.Remove();
    TLink again = list.AddLast(std::make_shared<int>(2)); // likely the same node, reused
    copy.Remove();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(again.IsLinked(), 1);
}

TEST(TListTest, VisitedEntryMayBeRemovedDuringEnumeration)
{
    TList<IntRef> list;
    std::vector<TLink> links;
    for (int k = 0; k < 6; ++k)
        links.push_back(list.AddLast(std::make_shared<int>(k)));
    std::vector<int> seen;
    for (IntRef v : list)
    {
        seen.push_back(*v);
        if (*v % 2 == 0)
            links[*v].Remove();
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3, 5}));
}

TEST(TListTest, EntriesAppendedDuringEnumerationAreVisited)
{
    TList<IntRef> list;
    list.AddLast(std::make_shared<int>(0));
    std::vector<int> seen;
    for (IntRef v : list)
    {
        seen.push_back(*v);
        if (*v < 3)
            list.AddLast(std::make_shared<int>(*v + 1));
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3}));
}

TEST(TListTest, ElementHoldingItsOwnLinkMayRemoveItself)
{
    // The list holds the only reference: removing destroys the holder, link included.
    TList<std::shared_ptr<Holder>> list;
    for (int k = 0; k < 3; ++k)
    {
        auto h = std::make_shared<Holder>();
        h->link = list.AddLast(h);
    }
    for (const auto& h : list)
        h->link.Remove();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(TListTest, ContainsRemoveAndClear)
{
    TList<int*> list;
    int a = 1, b = 2, c = 3;
    list.AddLast(&a);
    list.AddLast(&b);
    EXPECT_EQ(list.Contains(&a), 1);
    EXPECT_EQ(list.Contains(&c), 0);
    EXPECT_EQ(list.Remove(&a), 1);
    EXPECT_EQ(list.Remove(&a), 0);
    EXPECT_EQ(list.First(), &b);
    list.Clear();
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.RemoveFirst(), nullptr);
}

TEST(TListTest, ClearingWhileAnElementRemovesAnotherThroughItsLinkIsSafe)
{
    struct Remover
    {
        TLink* other = nullptr;
        ~Remover()
        {
            if (other)
                other->Remove();
        }
    };
    TLink second;
    {
        TList<std::shared_ptr<Remover>> list;
        auto r = std::make_shared<Remover>();
        r->other = &second;
        list.AddLast(r);
        r.reset();
        second = list.AddLast(std::make_shared<Remover>());
    } // destroying the first entry removes the second through its link mid-clear
    EXPECT_EQ(second.IsLinked(), 0);
}
