#include "LeakCheck.h"

#include "core/WuiBase.h"

using namespace WUI;

using BaseTest = LeakChecked;

TEST_F(BaseTest, WrappersCountLiveBlocks)
{
    long start = MemLiveBlocks();
    void* a = MemAlloc(16);
    void* b = MemCalloc(4, 4);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(static_cast<unsigned char*>(b)[15], 0);
    EXPECT_EQ(MemLiveBlocks(), start + 2);
    a = MemRealloc(a, 4096); // same block count
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(MemLiveBlocks(), start + 2);
    EXPECT_EQ(MemRealloc(b, 0), nullptr); // frees
    EXPECT_EQ(MemLiveBlocks(), start + 1);
    void* c = MemRealloc(nullptr, 8); // allocates
    EXPECT_EQ(MemLiveBlocks(), start + 2);
    MemFailAfter(1);
    void* d = MemAlloc(8);
    EXPECT_NE(d, nullptr);
    EXPECT_EQ(MemAlloc(8), nullptr);
    EXPECT_EQ(MemRealloc(a, 1 << 20), nullptr); // failed: the old block stays ours
    MemFailAfter(-1);
    MemFree(a);
    MemFree(c);
    MemFree(d);
    MemFree(nullptr);
    EXPECT_EQ(MemLiveBlocks(), start);
    EXPECT_EQ(MemCalloc(0x10000, 0x10000), nullptr); // size overflows
    EXPECT_EQ(MemLiveBlocks(), start);
}

TEST_F(BaseTest, OverflowTestedArithmetic)
{
    struct Case {
        size_t a, b;
        bool mulOk, addOk;
    } cases[] = {
        {0, static_cast<size_t>(-1), true, true},
        {0x10000, 0x10000, false, true},
        {0xFFFF, 0x10001, true, true},
        {static_cast<size_t>(-1), 1, true, false},
        {static_cast<size_t>(-1) / 2, 2, true, true},
    };
    for (const Case& c : cases) {
        size_t r = 7;
        EXPECT_EQ(SizeMul(c.a, c.b, &r), c.mulOk) << c.a << "*" << c.b;
        if (c.mulOk) {
            EXPECT_EQ(r, c.a * c.b);
        }
        r = 7;
        EXPECT_EQ(SizeAdd(c.a, c.b, &r), c.addOk) << c.a << "+" << c.b;
        if (!c.addOk) {
            EXPECT_EQ(r, 7u);
        }
    }
}
