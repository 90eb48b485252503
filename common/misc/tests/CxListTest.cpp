#include "CxList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

int a = 1, b = 2, c = 3, d = 4;

std::vector<void*> Walk(CxList& list)
{
    std::vector<void*> items;
    for (void* p = list.GetFirst(); p; p = list.GetNext())
        items.push_back(p);
    return items;
}

// Checks the node numbering and the back links against a forward walk.
void ExpectConsistent(CxList& list)
{
    uint32_t n = list.GetCount();
    std::vector<void*> forward = Walk(list);
    ASSERT_EQ(forward.size(), n);
    std::vector<void*> backward;
    for (void* p = list.GetLast(); p; p = list.GetPrev())
        backward.insert(backward.begin(), p);
    EXPECT_EQ(forward, backward);
    for (uint32_t i = 0; i < n; ++i) {
        CxListNode* node = list.FindNode(forward[i]);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->nIndex, i);
    }
}

} // namespace

TEST(CxList, EmptyList)
{
    CxList list;
    EXPECT_EQ(list.GetFirst(), nullptr);
    EXPECT_EQ(list.GetLast(), nullptr);
    EXPECT_EQ(list.GetNext(), nullptr);
    EXPECT_EQ(list.GetPrev(), nullptr);
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_FALSE(list.AddTail(nullptr));
    EXPECT_FALSE(list.Remove(&a, false));
}

TEST(CxList, InsertAtPositions)
{
    CxList list;
    EXPECT_TRUE(list.InsertAt(0, &b));  // appends to an empty list
    EXPECT_FALSE(list.InsertAt(2, &c)); // beyond the count
    EXPECT_TRUE(list.InsertAt(0, &a));  // new head, others shift
    EXPECT_TRUE(list.InsertAt(2, &d));  // at the count: appends
    EXPECT_TRUE(list.InsertAt(2, &c));  // in the middle
    EXPECT_EQ(Walk(list), (std::vector<void*>{&a, &b, &c, &d}));
    ExpectConsistent(list);
    // The inserted node is the cursor.
    EXPECT_TRUE(list.InsertAt(1, &d));
    EXPECT_EQ(list.GetNext(), &b);
}

TEST(CxList, RemoveMovesTheCursorToTheFollowingNode)
{
    CxList list;
    list.AddTail(&a);
    list.AddTail(&b);
    list.AddTail(&c);
    EXPECT_FALSE(list.Remove(&d, false));
    EXPECT_EQ(list.GetCount(), 3u);

    EXPECT_TRUE(list.Remove(&b, false));
    // The cursor is the former third node, now at position 1: no next.
    EXPECT_EQ(list.GetNext(), nullptr);
    EXPECT_EQ(list.GetPrev(), &a);
    EXPECT_EQ(Walk(list), (std::vector<void*>{&a, &c}));
    ExpectConsistent(list);

    // Removing the tail empties the cursor; GetNext yields null and GetPrev
    // must not follow a null cursor.
    EXPECT_TRUE(list.Remove(&c, false));
    EXPECT_EQ(list.GetNext(), nullptr);
    EXPECT_EQ(list.GetPrev(), &a);
    EXPECT_TRUE(list.Remove(&a, false));
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.GetFirst(), nullptr);
}

TEST(CxList, NextAtTheEndKeepsTheCursor)
{
    CxList list;
    list.AddTail(&a);
    list.AddTail(&b);
    list.AddTail(&c);
    EXPECT_EQ(list.GetLast(), &c);
    EXPECT_EQ(list.GetNext(), nullptr);
    EXPECT_EQ(list.GetPrev(), &b);
    EXPECT_EQ(list.GetAt(0), &a);
    EXPECT_EQ(list.GetAt(3), nullptr);
    EXPECT_EQ(list.GetNext(), &b); // GetAt(3) left the cursor on position 0
}

TEST(CxList, ReleaseFreesItemsOnlyWhenAsked)
{
    CxList list;
    void* p = std::malloc(16);
    void* q = std::malloc(16);
    list.AddTail(p);
    list.AddTail(q);
    list.AddTail(&a);
    EXPECT_TRUE(list.Remove(p, true));
    EXPECT_TRUE(list.Remove(&a, false));
    list.RemoveAll(true); // frees q; under the sanitizers a leak or double free shows
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.GetFirst(), nullptr);
}
