// Tests of the insertion-ordered list and its links.
#include "platform/TList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
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

// A visit may remove any entries: the visited one, the next ones, all of them, or clear or destroy the
// list. Entries removed before the walk reaches them are not visited, later appends are, and no step
// lands on a node that went back to the pool (another list takes it at once here).
TEST(TListTest, WalkSurvivesAVisitThatRemovesTheNextEntriesOrTheList)
{
    auto walk = [](const std::function<void(TList<IntRef>&, std::vector<TLink>&, int)>& visit) {
        auto list = std::make_unique<TList<IntRef>>();
        std::vector<TLink> links;
        for (int k = 0; k < 6; ++k)
            links.push_back(list->AddLast(std::make_shared<int>(k)));
        TList<IntRef>& ref = *list;
        std::vector<int> seen;
        TList<IntRef> thief; // takes recycled nodes as soon as they are free
        for (const IntRef& v : ref)
        {
            int value = *v;
            seen.push_back(value);
            visit(ref, links, value);
            for (int k = 0; k < 4; ++k)
                thief.AddLast(std::make_shared<int>(100 + k));
            if (value == 2 && links.empty()) // destroyed during this visit
            {
                list.reset();
                links.push_back(TLink());
            }
        }
        return seen;
    };
    // The visited entry and the next one.
    EXPECT_EQ(walk([](TList<IntRef>&, std::vector<TLink>& l, int v) {
                  if (v == 1)
                      l[1].Remove(), l[2].Remove();
              }),
              (std::vector<int>{0, 1, 3, 4, 5}));
    // Every entry, then one appended.
    EXPECT_EQ(walk([](TList<IntRef>& list, std::vector<TLink>& l, int v) {
                  if (v == 0)
                  {
                      for (TLink& link : l)
                          link.Remove();
                      list.AddLast(std::make_shared<int>(9));
                  }
              }),
              (std::vector<int>{0, 9}));
    // Cleared, then two appended.
    EXPECT_EQ(walk([](TList<IntRef>& list, std::vector<TLink>&, int v) {
                  if (v == 3)
                  {
                      list.Clear();
                      list.AddLast(std::make_shared<int>(7));
                      list.AddLast(std::make_shared<int>(8));
                  }
              }),
              (std::vector<int>{0, 1, 2, 3, 7, 8}));
    // Destroyed (the walk clears `links` to ask for that).
    EXPECT_EQ(walk([](TList<IntRef>&, std::vector<TLink>& l, int v) {
                  if (v == 2)
                      l.clear();
              }),
              (std::vector<int>{0, 1, 2}));
}

TEST(TListTest, NestedWalksOfOneListEachStepPastRemovedEntries)
{
    TList<IntRef> list;
    std::vector<TLink> links;
    for (int k = 0; k < 4; ++k)
        links.push_back(list.AddLast(std::make_shared<int>(k)));
    std::vector<int> outer, inner;
    for (const IntRef& a : list)
    {
        int value = *a;
        outer.push_back(value);
        for (const IntRef& b : list)
        {
            inner.push_back(*b);
            if (value == 0 && *b == 1)
                links[2].Remove();
        }
    }
    EXPECT_EQ(outer, (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(inner, (std::vector<int>{0, 1, 3, 0, 1, 3, 0, 1, 3}));
}

// Under AddressSanitizer a node back in its pool is poisoned: an element read through a reference
// kept past its removal is reported.
TEST(TListTest, ReadingARemovedElementIsReportedUnderTheSanitizer)
{
    if (!detail::kAddressSanitizer)
        GTEST_SKIP() << "only the sanitizer build poisons";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TList<int*> list;
    int value = 5;
    TLink link = list.AddLast(&value);
    int* const* kept = nullptr;
    for (int* const& v : list)
        kept = &v;
    link.Remove();
    EXPECT_DEATH(std::printf("%p\n", static_cast<void*>(*static_cast<int* const volatile*>(kept))),
                 "use-after-poison");
}
