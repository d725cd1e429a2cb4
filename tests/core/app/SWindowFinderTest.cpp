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
    SFindKeyTraits h;
    // Handles n and n + 1 searching ids 2 and 1 hash alike.
    FakeSwnd first, second, two(2), one(1);
    ASSERT_EQ(second.GetSwnd(), first.GetSwnd() + 1);
    first.AddChild(&two);
    second.AddChild(&one);
    ASSERT_EQ(h.Hash({first.GetSwnd(), false, L"", 2, 1}), h.Hash({second.GetSwnd(), false, L"", 1, 1}));
    EXPECT_EQ(finder.FindChildByID(&first, 2, 1), &two);
    EXPECT_EQ(finder.FindChildByID(&second, 1, 1), &one);
    EXPECT_EQ(finder.FindChildByID(&first, 2, 1), &two);

    // Names "Ab" and "BA" share the string hash (65 * 33 + 98 == 66 * 33 + 65).
    FakeSwnd x(0, L"Ab"), y(0, L"BA");
    first.AddChild(&x);
    first.AddChild(&y);
    ASSERT_EQ(h.Hash({first.GetSwnd(), true, L"Ab", 0, 1}), h.Hash({first.GetSwnd(), true, L"BA", 0, 1}));
    EXPECT_EQ(finder.FindChildByName(&first, L"Ab", 1), &x);
    EXPECT_EQ(finder.FindChildByName(&first, L"BA", 1), &y);
    EXPECT_EQ(finder.FindChildByName(&first, L"Ab", 1), &x);
}
