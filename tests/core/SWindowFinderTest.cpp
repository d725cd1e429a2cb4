#include "core/SWindowFinder.h"
#include "FakeSwnd.h"
#include <gtest/gtest.h>
#include <memory>

using namespace WUI;

namespace {

class FinderTest : public ::testing::Test {
protected:
    SWindowMgr mgr;
    SWindowFinder finder;
};

} // namespace

TEST_F(FinderTest, RemembersHitsAndRechecksThem)
{
    FakeSwnd root, mid(5, L"mid"), leaf(9, L"leaf");
    root.AddChild(&mid);
    mid.AddChild(&leaf);
    EXPECT_EQ(finder.FindChildByID(&root, 9, -1), &leaf);
    EXPECT_EQ(finder.FindChildByID(&root, 9, -1), &leaf);
    EXPECT_EQ(root.searches, 1);
    EXPECT_EQ(finder.FindChildByName(&root, L"leaf", 2), &leaf);
    EXPECT_EQ(finder.FindChildByName(&root, L"leaf", 2), &leaf);
    EXPECT_EQ(root.searches, 2);

    // The remembered element changed its id: searched afresh, not returned.
    leaf.SetID(10);
    EXPECT_EQ(finder.FindChildByID(&root, 9, -1), nullptr);
    // Moved out from under the parent.
    FakeSwnd elsewhere;
    elsewhere.AddChild(&leaf);
    EXPECT_EQ(finder.FindChildByName(&root, L"leaf", 2), nullptr);
    // Moved deeper than the depth allows.
    FakeSwnd deep;
    mid.AddChild(&deep);
    deep.AddChild(&leaf);
    EXPECT_EQ(finder.FindChildByName(&root, L"leaf", 2), nullptr);
    EXPECT_EQ(finder.FindChildByName(&root, L"leaf", 3), &leaf);
}

TEST_F(FinderTest, MissIsNotRememberedAndDestroyedHitGivesNull)
{
    FakeSwnd root;
    EXPECT_EQ(finder.FindChildByID(&root, 4, -1), nullptr);
    auto late = std::make_unique<FakeSwnd>(4);
    root.AddChild(late.get());
    EXPECT_EQ(finder.FindChildByID(&root, 4, -1), late.get());
    late.reset();
    EXPECT_EQ(finder.FindChildByID(&root, 4, -1), nullptr);
    EXPECT_EQ(finder.FindChildByID(nullptr, 4, -1), nullptr);
}

TEST_F(FinderTest, KeysWithEqualHashesStayApart)
{
    // By id: parent handle and id trade places in the hash, the keys differ.
    FakeSwnd root, a(1), b(2);
    root.AddChild(&a);
    root.AddChild(&b);
    EXPECT_EQ(finder.FindChildByID(&root, 1, 1), &a);
    EXPECT_EQ(finder.FindChildByID(&root, 2, 1), &b);
    // Names "Aa" and "BB" share the string hash (65*33+97 == 66*33+66).
    FakeSwnd x(0, L"Aa"), y(0, L"BB");
    root.AddChild(&x);
    root.AddChild(&y);
    SWindowFinder::KeyHash h;
    ASSERT_EQ(h({root.GetSwnd(), true, L"Aa", 0, 1}), h({root.GetSwnd(), true, L"BB", 0, 1}));
    EXPECT_EQ(finder.FindChildByName(&root, L"Aa", 1), &x);
    EXPECT_EQ(finder.FindChildByName(&root, L"BB", 1), &y);
    // An id key whose hash equals the first: parent+1 with id-1.
    FakeSwnd other;
    ASSERT_EQ(h({root.GetSwnd(), false, L"", 2, 1}), h({root.GetSwnd() + 1, false, L"", 1, 1}));
}
