#include "LeakCheck.h"

#include "core/SArray.h"
#include "core/SCmnMap.h"
#include "core/SList.h"
#include "core/SMap.h"
#include "core/SSingleton.h"
#include "core/TStringT.h"

#include <unordered_set>
#include <vector>

using namespace WUI;

using ContainerTest = LeakChecked;

namespace {

// Points into itself: a bytewise move would leave `self` dangling.
struct SelfRef {
    int value;
    int* self;
    explicit SelfRef(int v = 0) : value(v), self(&value) {}
    SelfRef(const SelfRef& o) : value(o.value), self(&value) {}
    SelfRef& operator=(const SelfRef& o)
    {
        value = o.value;
        return *this;
    }
};

SStringW Key(int i)
{
    SStringW s;
    s.Format(L"key%d", i);
    return s;
}

} // namespace

TEST_F(ContainerTest, ArrayCapacities)
{
    SArray<int> a;
    std::vector<int> seen;
    for (int i = 0; i < 48; ++i) {
        int before = a.GetCapacity();
        ASSERT_EQ(a.Add(i), i);
        if (a.GetCapacity() != before) seen.push_back(a.GetCapacity());
    }
    // Steps of 4 below 32 elements, then count / 8.
    std::vector<int> want = {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 46, 51};
    EXPECT_EQ(seen, want);

    SArray<int> big;
    big.SetGrowStep(0);
    ASSERT_TRUE(big.Grow(8200));
    for (int i = 0; i < 8201; ++i) big.Add(i);
    EXPECT_EQ(big.GetCapacity(), 8200 + 1024);

    SArray<int> stepped;
    stepped.SetGrowStep(100);
    stepped.Add(1);
    EXPECT_EQ(stepped.GetCapacity(), 100);
}

TEST_F(ContainerTest, ArrayGrowthMovesElementsProperly)
{
    SArray<SelfRef> a;
    for (int i = 0; i < 40; ++i) a.Add(SelfRef(i));
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(a[i].value, i);
        EXPECT_EQ(a[i].self, &a[i].value);
    }
    SArray<SStringW> s;
    s.Add(L"first");
    for (int i = 0; i < 20; ++i) s.Add(s[0]); // element of the array itself, across growth
    EXPECT_EQ(s.GetCount(), 21);
    for (int i = 0; i < 21; ++i) EXPECT_STREQ(s[i], L"first");
}

TEST_F(ContainerTest, ArrayFailedGrowthChangesNothing)
{
    SArray<SStringW> a;
    a.Add(L"x");
    MemFailAfter(0);
    EXPECT_EQ(a.Add(L"y"), -1);
    MemFailAfter(-1);
    EXPECT_EQ(a.GetCount(), 1);
    EXPECT_EQ(a.GetCapacity(), 1);
    EXPECT_STREQ(a[0], L"x");
}

TEST_F(ContainerTest, ArrayInsertRemoveFind)
{
    SArray<SStringW> a;
    a.Add(L"b");
    a.InsertAt(0, L"a");
    a.InsertAt(5, L"d");
    a.InsertAt(2, L"c");
    ASSERT_EQ(a.GetCount(), 4);
    EXPECT_STREQ(a[0], L"a");
    EXPECT_STREQ(a[2], L"c");
    EXPECT_EQ(a.Find(L"d"), 3);
    EXPECT_TRUE(a.RemoveAt(1));
    EXPECT_FALSE(a.RemoveAt(3));
    EXPECT_STREQ(a[1], L"c");
    SArray<SStringW> copy(a);
    EXPECT_EQ(copy.GetCount(), 3);
}

TEST_F(ContainerTest, ListOrderAndBlocks)
{
    SList<SStringW> list;
    std::vector<SList<SStringW>::Node*> nodes;
    for (int i = 0; i < 25; ++i) nodes.push_back(list.AddTail(Key(i)));
    EXPECT_EQ(list.GetCount(), 25);
    // Nodes of one block are handed out in address order.
    for (int i = 1; i < 10; ++i) EXPECT_EQ(nodes[i], nodes[i - 1] + 1);
    int i = 0;
    for (auto* n = list.GetHead(); n; n = n->pNext) EXPECT_EQ(n->data, Key(i++));
    i = 24;
    for (auto* n = list.GetTail(); n; n = n->pPrev) EXPECT_EQ(n->data, Key(i--));
    EXPECT_EQ(list.Find(Key(7)), nodes[7]);

    // Removal from both ends and the middle, then the last node returns the blocks.
    list.RemoveAt(nodes[0]);
    list.RemoveAt(nodes[24]);
    for (int k = 12; k >= 1; --k) list.RemoveAt(nodes[k]);
    for (int k = 13; k < 24; ++k) {
        EXPECT_TRUE(list.HasBlocks());
        list.RemoveAt(nodes[k]);
    }
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(list.HasBlocks());
    EXPECT_EQ(list.GetHead(), nullptr);
    list.AddHead(L"again");
    list.AddHead(L"first");
    EXPECT_STREQ(list.GetHead()->data, L"first");
    list.RemoveAll();
    EXPECT_FALSE(list.HasBlocks());
}

TEST_F(ContainerTest, MapRehashThresholds)
{
    SMap<SStringW, int> map;
    EXPECT_EQ(map.GetBinCount(), 17u);
    EXPECT_FALSE(map.HasBinArray());
    for (int i = 0; i < 38; ++i) map.SetValue(Key(i), i);
    EXPECT_EQ(map.GetBinCount(), 17u);
    map.SetValue(Key(38), 38);
    EXPECT_EQ(map.GetBinCount(), 53u);
    for (int i = 0; i < 39; ++i) {
        auto* node = map.Lookup(Key(i));
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->value, i);
    }
    for (int i = 39; i < 300; ++i) map.SetValue(Key(i), i);
    // 120 > 53 x 2.25 led to 163 bins; 368 > 163 x 2.25 not reached.
    EXPECT_EQ(map.GetBinCount(), 163u);
    // Shrinks once the count falls below 163 / 4 = 40: to the size for 39 (52 -> 53).
    for (int i = 299; i >= 40; --i) ASSERT_TRUE(map.RemoveKey(Key(i)));
    EXPECT_EQ(map.GetBinCount(), 163u);
    map.RemoveKey(Key(39));
    EXPECT_EQ(map.GetBinCount(), 53u);
    // A 53-bin map's low threshold is 0: it never shrinks again.
    for (int i = 0; i < 39; ++i) map.RemoveKey(Key(i));
    EXPECT_EQ(map.GetBinCount(), 53u);
    EXPECT_EQ(map.GetCount(), 0u);
    EXPECT_FALSE(map.HasBlocks());
    EXPECT_FALSE(map.RemoveKey(Key(1)));
}

TEST_F(ContainerTest, MapLockCountDefersRehash)
{
    SMap<UINT, int> map;
    map.DisableAutoRehash();
    for (UINT i = 0; i < 200; ++i) map.SetValue(i, 1);
    EXPECT_EQ(map.GetBinCount(), 17u);
    map.EnableAutoRehash();
    map.SetValue(1000, 1);
    EXPECT_EQ(map.GetBinCount(), 331u); // 201 / 0.75 = 268
    map.DisableAutoRehash();
    for (UINT i = 0; i < 190; ++i) map.RemoveKey(i);
    EXPECT_EQ(map.GetBinCount(), 331u);
    map.EnableAutoRehash();
    map.RemoveKey(199);
    EXPECT_EQ(map.GetBinCount(), 17u);
    EXPECT_EQ(map.GetCount(), 10u);
}

TEST_F(ContainerTest, MapIterationFollowsBins)
{
    SMap<UINT, int> map;
    for (UINT k : {40u, 3u, 20u, 37u, 5u}) map.SetValue(k, static_cast<int>(k));
    // Integer keys hash to themselves; bins 3 (20, 37, 3 newest first), 5, 6 (40).
    std::vector<UINT> order;
    for (auto* n = map.First(); n; n = map.Next(n)) order.push_back(n->key);
    EXPECT_EQ(order, (std::vector<UINT>{37, 20, 3, 5, 40}));
    SMap<UINT, int> empty;
    EXPECT_EQ(empty.First(), nullptr);
}

TEST_F(ContainerTest, MapStringHashAndRemoveAll)
{
    EXPECT_EQ(SHashTraits<SStringW>::Hash(L"ab"), 97u * 33 + 98);
    SMap<SStringW, SStringW> map;
    *map.GetOrInsert(L"k") = L"v";
    EXPECT_STREQ(*map.GetOrInsert(L"k"), L"v");
    EXPECT_EQ(map.GetCount(), 1u);
    map.RemoveAll();
    EXPECT_FALSE(map.HasBinArray());
    EXPECT_EQ(map.GetBinCount(), 17u);
    map.SetValue(L"k2", L"v2");
    EXPECT_TRUE(map.HasBinArray());
    EXPECT_TRUE(map.InitHashTable(101, true)); // a filled map is rehashed, not dropped
    EXPECT_STREQ(map.Lookup(L"k2")->value, L"v2");
}

TEST_F(ContainerTest, MapLoadFactorsAndPickSize)
{
    SMap<UINT, int> map;
    struct Case {
        UINT count, want;
    } cases[] = {{0, 17}, {13, 17}, {14, 23}, {39, 53}, {1000, 1627}, {15000000, 20000000}};
    for (const Case& c : cases) EXPECT_EQ(map.PickSize(c.count), c.want) << c.count;
    for (UINT i = 0; i < 30; ++i) map.SetValue(i, 1);
    map.SetLoadFactors(0.75f, 0.25f, 1.0f, true);
    EXPECT_EQ(map.GetBinCount(), 41u);
}

namespace {
std::vector<int> g_released;
void ReleaseInt(int* v)
{
    g_released.push_back(*v);
}
} // namespace

TEST_F(ContainerTest, CmnMapReleasesEachValueOnce)
{
    g_released.clear();
    {
        SCmnMap<int, SStringW> map(&ReleaseInt);
        EXPECT_TRUE(map.InsertIfAbsent(L"a", 1));
        EXPECT_FALSE(map.InsertIfAbsent(L"a", 2));
        EXPECT_EQ(*map.Find(L"a"), 1);
        EXPECT_TRUE(map.InsertIfAbsent(L"b", 3));
        EXPECT_TRUE(map.InsertIfAbsent(L"c", 4));
        EXPECT_TRUE(map.RemoveAndRelease(L"b"));
        EXPECT_FALSE(map.RemoveAndRelease(L"b"));
        EXPECT_EQ(g_released, (std::vector<int>{3}));
        EXPECT_TRUE(map.HasKey(L"c"));
        EXPECT_FALSE(map.HasKey(L"b"));
    }
    ASSERT_EQ(g_released.size(), 3u);
    EXPECT_EQ(std::unordered_multiset<int>(g_released.begin() + 1, g_released.end()),
              (std::unordered_multiset<int>{1, 4}));
}

namespace {
struct Registry : SSingleton<Registry> {
    int id = 0;
};
struct Fonts : SSingletonMap<Fonts, int, UINT> {};
} // namespace

TEST_F(ContainerTest, SingletonPointerFollowsTheLiveInstance)
{
    EXPECT_EQ(Registry::GetSingletonPtr(), nullptr);
    {
        Registry first;
        EXPECT_EQ(Registry::GetSingletonPtr(), &first);
        auto* second = new Registry;
        EXPECT_EQ(Registry::GetSingletonPtr(), second);
        delete second;
        EXPECT_EQ(Registry::GetSingletonPtr(), nullptr);
    }
    {
        auto* older = new Registry;
        Registry newer;
        delete older; // must not clear the newer registration
        EXPECT_EQ(Registry::GetSingletonPtr(), &newer);
    }
    EXPECT_EQ(Registry::GetSingletonPtr(), nullptr);
    Fonts fonts;
    Fonts::GetSingletonPtr()->InsertIfAbsent(7, 70);
    EXPECT_TRUE(fonts.HasKey(7));
}

TEST_F(ContainerTest, NodeAllocationFailureIsReported)
{
    SMap<SStringW, int> map;
    SList<int> list;
    MemFailAfter(0);
    EXPECT_EQ(map.SetValue(L"k", 1), nullptr);
    EXPECT_EQ(map.GetOrInsert(L"k"), nullptr);
    EXPECT_EQ(list.AddTail(1), nullptr);
    MemFailAfter(-1);
    EXPECT_EQ(map.GetCount(), 0u);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_NE(map.SetValue(L"k", 1), nullptr);
    EXPECT_NE(list.AddTail(1), nullptr);
    EXPECT_EQ(map.GetCount(), 1u);
}
