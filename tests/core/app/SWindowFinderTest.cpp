#include "core/SWindowFinder.h"
#include "TestSwnd.h"
#include "WindowMgrFixture.h"
#include <gtest/gtest.h>
#include <memory>

using namespace WUI;

namespace {

class FinderTest : public WithWindowMgr<SWindowFinder> {
protected:
    SWindowFinder *Finder() { return singleton.get(); }
};

} // namespace

TEST_F(FinderTest, RemembersHitsAndRechecksThem)
{
    auto root = AdoptRef(new SWindow);
    SWindow *mid = AddChild(root, 5, L"mid");
    SWindow *leaf = AddChild(mid, 9, L"leaf");
    EXPECT_EQ(Finder()->FindChildByID(root, 9, -1), leaf);
    EXPECT_EQ(Finder()->FindChildByName(root, L"leaf", 2), leaf);
    // A search would now find the new, nearer element first; the remembered
    // one still matches, so it is the answer.
    SWindow *nearer = AddChild(root, 9, L"leaf");
    EXPECT_EQ(root->FindChildByID(9, -1), nearer);
    EXPECT_EQ(Finder()->FindChildByID(root, 9, -1), leaf);
    EXPECT_EQ(Finder()->FindChildByName(root, L"leaf", 2), leaf);
    root->DestroyChild(nearer);

    // The remembered element changed its id: searched afresh, not returned.
    leaf->SetID(10);
    EXPECT_EQ(Finder()->FindChildByID(root, 9, -1), nullptr);
    // Moved out from under the parent.
    auto elsewhere = AdoptRef(new SWindow);
    elsewhere->InsertChild(leaf);
    EXPECT_EQ(Finder()->FindChildByName(root, L"leaf", 2), nullptr);
    // Moved deeper than the depth allows.
    SWindow *deep = AddChild(mid);
    deep->InsertChild(leaf);
    EXPECT_EQ(Finder()->FindChildByName(root, L"leaf", 2), nullptr);
    EXPECT_EQ(Finder()->FindChildByName(root, L"leaf", 3), leaf);
}

TEST_F(FinderTest, MissIsNotRememberedAndDestroyedHitGivesNull)
{
    auto root = AdoptRef(new SWindow);
    EXPECT_EQ(Finder()->FindChildByID(root, 4, -1), nullptr);
    SWindow *late = AddChild(root, 4);
    EXPECT_EQ(Finder()->FindChildByID(root, 4, -1), late);
    root->DestroyChild(late);
    EXPECT_EQ(Finder()->FindChildByID(root, 4, -1), nullptr);
    EXPECT_EQ(Finder()->FindChildByID(nullptr, 4, -1), nullptr);
}

TEST_F(FinderTest, KeysWithEqualHashesStayApart)
{
    SFindKeyTraits h;
    // Handles n and n + 1 searching ids 2 and 1 hash alike.
    auto first = AdoptRef(new SWindow);
    auto second = AdoptRef(new SWindow);
    ASSERT_EQ(second->GetSwnd(), first->GetSwnd() + 1);
    SWindow *two = AddChild(first, 2);
    SWindow *one = AddChild(second, 1);
    ASSERT_EQ(h.Hash({first->GetSwnd(), false, L"", 2, 1}), h.Hash({second->GetSwnd(), false, L"", 1, 1}));
    EXPECT_EQ(Finder()->FindChildByID(first, 2, 1), two);
    EXPECT_EQ(Finder()->FindChildByID(second, 1, 1), one);
    EXPECT_EQ(Finder()->FindChildByID(first, 2, 1), two);

    // Names "Ab" and "BA" share the string hash (65 * 33 + 98 == 66 * 33 + 65).
    SWindow *x = AddChild(first, 0, L"Ab");
    SWindow *y = AddChild(first, 0, L"BA");
    ASSERT_EQ(h.Hash({first->GetSwnd(), true, L"Ab", 0, 1}), h.Hash({first->GetSwnd(), true, L"BA", 0, 1}));
    EXPECT_EQ(Finder()->FindChildByName(first, L"Ab", 1), x);
    EXPECT_EQ(Finder()->FindChildByName(first, L"BA", 1), y);
    EXPECT_EQ(Finder()->FindChildByName(first, L"Ab", 1), x);
}
