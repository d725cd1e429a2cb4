// Style pools: class name to a node of default attributes, newest pool first.
#include <gtest/gtest.h>

#include "core/SAutoRefPtr.h"
#include "render/SStylePool.h"

using namespace WUI;

namespace {

SAutoRefPtr<SStylePool> Load(const wchar_t* xml)
{
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(xml));
    SAutoRefPtr<SStylePool> pool;
    pool.Attach(new SStylePool);
    EXPECT_EQ(1, pool->LoadStyles(doc.first_child()));
    return pool;  // the pool holds its own copy of the nodes
}

SStringW Attr(pugi::xml_node node, const wchar_t* name) { return SStringW(node.attribute(name).value()); }

TEST(StylePoolTest, FirstStyleOfANameWinsAndLosesItsName)
{
    auto pool = Load(L"<style><class name='btn' colorText='#FF0000'/><class name='btn' colorText='#00FF00'/>"
                     L"<Class name='big' font='size:20'/><class font='x'/><other name='skip'/></style>");
    pugi::xml_node btn = pool->GetStyle(SStringW(L"btn"));
    ASSERT_TRUE(btn);
    EXPECT_STREQ(L"#FF0000", Attr(btn, L"colorText").c_str());
    EXPECT_FALSE(btn.attribute(L"name"));
    EXPECT_TRUE(pool->GetStyle(SStringW(L"big")));
    EXPECT_FALSE(pool->GetStyle(SStringW(L"skip")));
    EXPECT_FALSE(pool->GetStyle(SStringW(L"BTN")));

    pugi::xml_document extra;
    extra.load_string(L"<class colorText='#0000FF'/>");
    EXPECT_FALSE(pool->AddStyle(SStringW(L"btn"), extra.first_child()));
    EXPECT_TRUE(pool->AddStyle(SStringW(L"blue"), pool->GetStyle(SStringW(L"big"))));

    SStylePool empty;
    EXPECT_EQ(0, empty.LoadStyles(pugi::xml_node()));
}

TEST(StylePoolTest, ManagerFindsInTheNewestPoolAndPops)
{
    SStylePoolMgr mgr;
    EXPECT_FALSE(mgr.FindStyle(SStringW(L"btn")));
    EXPECT_EQ(nullptr, mgr.PopStylePool(nullptr));
    auto older = Load(L"<style><class name='btn' v='older'/><class name='only.older' v='1'/></style>");
    auto newer = Load(L"<style><class name='btn' v='newer'/></style>");
    mgr.PushStylePool(older.get());
    mgr.PushStylePool(newer.get());
    EXPECT_STREQ(L"newer", Attr(mgr.FindStyle(SStringW(L"btn")), L"v").c_str());
    EXPECT_STREQ(L"1", Attr(mgr.FindStyle(SStringW(L"only.older")), L"v").c_str());
    SStylePool stranger;
    EXPECT_EQ(nullptr, mgr.PopStylePool(&stranger));
    EXPECT_EQ(newer.get(), mgr.PopStylePool(nullptr));
    EXPECT_STREQ(L"older", Attr(mgr.FindStyle(SStringW(L"btn")), L"v").c_str());
    EXPECT_EQ(older.get(), mgr.PopStylePool(older.get()));
    EXPECT_EQ(0, mgr.GetPoolCount());
    // Only our references are left.
    EXPECT_EQ(1, older->AddRef() - 1);
    older->Release();
}

}  // namespace
