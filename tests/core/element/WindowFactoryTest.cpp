// Window factories by tag, base chains, and the class defaults they apply.
#include "core/SObjDefAttr.h"
#include "element/ElementHost.h"
#include "element/TestElements.h"
#include "LeakCheck.h"

#include <string>
#include <vector>

using namespace WUI;
using namespace elemtest;

namespace {

class FactoryTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        SWindowFactoryMgr::AddStandardFactories(&RegisterTestElements);
    }
    void TearDown() override
    {
        SWindowFactoryMgr::RemoveStandardFactories(&RegisterTestElements);
        LeakChecked::TearDown();
    }
};

std::vector<std::wstring> BaseChain(const SWindowFactoryMgr& mgr, LPCWSTR tag)
{
    std::vector<std::wstring> chain;
    for (LPCWSTR base = mgr.BaseClassNameFromClassName(tag); base && chain.size() < 100;
         base = mgr.BaseClassNameFromClassName(base))
        chain.push_back(base);
    return chain;
}

SAutoRefPtr<SWindow> Create(SApplication& app, LPCWSTR tag)
{
    SAutoRefPtr<SWindow> made;
    made.Attach(app.CreateWindowByName(tag));
    return made;
}

// A factory of plain elements under any tag and base tag; counts its instances.
class AnyFactory : public SWindowFactory {
public:
    AnyFactory(LPCWSTR tag, LPCWSTR base) : m_tag(tag), m_base(base) { ++live; }
    AnyFactory(const AnyFactory& other) : SWindowFactory(), m_tag(other.m_tag), m_base(other.m_base)
    {
        ++live;
    }
    ~AnyFactory() override { --live; }
    SWindow* NewWindow() const override { return new SWindow; }
    LPCWSTR GetBaseClassName() const override { return m_base; }
    LPCWSTR GetClassName() const override { return m_tag; }
    SWindowFactory* Clone() const override { return new AnyFactory(*this); }

    static int live;

private:
    SStringW m_tag;
    LPCWSTR m_base;
};

int AnyFactory::live = 0;

}  // namespace

TEST_F(FactoryTest, TagTableAndBaseChains)
{
    ElementHost host;
    SApplication& app = host.App();
    EXPECT_EQ(BaseChain(app, L"edit"), (std::vector<std::wstring>{L"richedit", L"div", L"window"}));
    // "combobase" names a base but has no factory: the chain ends there.
    EXPECT_EQ(BaseChain(app, L"combobox"), std::vector<std::wstring>{L"combobase"});
    EXPECT_EQ(app.BaseClassNameFromClassName(L"window"), nullptr);
    EXPECT_EQ(app.BaseClassNameFromClassName(L"unknown"), nullptr);

    EXPECT_EQ(Create(app, L"Button").get(), nullptr);  // tags keep their case
    EXPECT_EQ(Create(app, L"combobase").get(), nullptr);
    SAutoRefPtr<SWindow> imgbtn = Create(app, L"imgbtn");
    ASSERT_NE(imgbtn.get(), nullptr);
    EXPECT_STREQ(imgbtn->GetClassName(), L"imgbtn");
    for (LPCWSTR yes : {L"imgbtn", L"button", L"window"}) EXPECT_TRUE(imgbtn->IsClass(yes)) << yes;
    for (LPCWSTR no : {L"text", L"Button", L"div"}) EXPECT_FALSE(imgbtn->IsClass(no)) << no;
    EXPECT_NE(sobj_cast<TestButton>(imgbtn.get()), nullptr);
    EXPECT_EQ(sobj_cast<TestText>(imgbtn.get()), nullptr);
    EXPECT_NE(imgbtn->GetSwnd(), 0u);
}

TEST_F(FactoryTest, TableKeepsACloneAndTheCallerItsOwnFactory)
{
    AnyFactory::live = 0;
    {
        ElementHost host;
        SApplication& app = host.App();
        {
            AnyFactory text(L"text", L"window"), blank(L"", nullptr), extra(L"extra", L"text");
            EXPECT_FALSE(app.RegisterFactory(L"text", text));  // the first registration stays
            EXPECT_FALSE(app.RegisterFactory(L"", blank));
            EXPECT_TRUE(app.RegisterFactory(L"extra", extra));
            EXPECT_FALSE(app.RegisterFactory(L"extra", extra));
            EXPECT_EQ(AnyFactory::live, 4) << "one clone kept, none for the refused";
        }
        // The caller's factories are gone; the table's clone goes on making elements.
        EXPECT_EQ(AnyFactory::live, 1);
        SAutoRefPtr<SWindow> made = Create(app, L"extra");
        EXPECT_NE(made.get(), nullptr);
        EXPECT_EQ(BaseChain(app, L"extra"), (std::vector<std::wstring>{L"text", L"window"}));
        SAutoRefPtr<SWindow> text = Create(app, L"text");
        EXPECT_NE(sobj_cast<TestText>(text.get()), nullptr);
    }
    EXPECT_EQ(AnyFactory::live, 0) << "the table deletes its clones";
    // Adding a set twice registers it once.
    EXPECT_TRUE(SWindowFactoryMgr::AddStandardFactories(&RegisterTestElements));
    SWindowFactoryMgr fresh;
    EXPECT_TRUE(fresh.HasFactory(L"edit"));
}

TEST_F(FactoryTest, BaseCyclesEndAtTheChainLimit)
{
    ElementHost host;
    SApplication& app = host.App();
    ASSERT_TRUE(app.RegisterFactory(L"ping", AnyFactory(L"ping", L"pong")));
    ASSERT_TRUE(app.RegisterFactory(L"pong", AnyFactory(L"pong", L"ping")));
    ASSERT_TRUE(app.RegisterFactory(L"self", AnyFactory(L"self", L"self")));
    EXPECT_EQ(app.BaseClassNameFromClassName(L"self"), nullptr);
    EXPECT_STREQ(app.BaseClassNameFromClassName(L"ping"), L"pong");
    // Merging and looking up defaults along the cycle both end.
    ASSERT_TRUE(host.SetDefaults(L"<objattr><ping margin='1'/><pong padding='2'/><window margin-y='3'/></objattr>"));
    pugi::xml_node ping = SObjDefAttr::GetSingletonPtr()->GetDefAttribute(L"ping");
    EXPECT_STREQ(ping.attribute(L"margin").value(), L"1");
    EXPECT_STREQ(ping.attribute(L"padding").value(), L"2");
    pugi::xml_node pong = SObjDefAttr::GetSingletonPtr()->GetDefAttribute(L"pong");
    EXPECT_STREQ(pong.attribute(L"margin").value(), L"1");
    EXPECT_STREQ(pong.attribute(L"margin-y").value(), L"");  // "window" is not on the cycle
    EXPECT_FALSE(SObjDefAttr::GetSingletonPtr()->GetDefAttribute(L"self"));
}

TEST_F(FactoryTest, ClassDefaultsFollowTheBaseChainWithClassFirst)
{
    ElementHost host;
    SApplication& app = host.App();
    host.AddStyles(L"<style><class name='big' margin='9' colorText='#0a0b0c' align='right'/></style>");
    ASSERT_TRUE(host.SetDefaults(
        L"<objattr>"
        L"<button colorText='#010203' margin='1'/>"
        L"<imgbtn margin='5' class='big'/>"
        L"<button margin='7'/>"  // a tag's first element wins
        L"<window padding='3' valign='top'/>"
        L"<div align='left'/>"
        L"</objattr>"));

    // Own attributes, then the button's for names it lacks, then the window's;
    // the style class first although written last.
    SAutoRefPtr<SWindow> imgbtn = Create(app, L"imgbtn");
    const SwndStyle& s = imgbtn->GetStyle();
    EXPECT_EQ(s.m_rcMargin.left, 5);
    EXPECT_EQ(s.GetTextColor(0), 0xFF030201u);
    EXPECT_EQ(s.m_nTextAlign, 512u);  // from the style only
    EXPECT_EQ(s.m_rcInset.left, 3);
    EXPECT_EQ(s.m_nVAlign, 0u);

    SAutoRefPtr<SWindow> button = Create(app, L"button");
    EXPECT_EQ(button->GetStyle().m_rcMargin.left, 1);
    EXPECT_EQ(button->GetStyle().m_nTextAlign, 256u);

    // No entry of its own: the nearest ancestor's ("div", merged with "window").
    SAutoRefPtr<SWindow> edit = Create(app, L"edit");
    EXPECT_EQ(edit->GetStyle().m_nTextAlign, 0u);
    EXPECT_EQ(edit->GetStyle().m_rcInset.left, 3);
    SAutoRefPtr<SWindow> text = Create(app, L"text");
    EXPECT_EQ(text->GetStyle().m_rcInset.left, 3);
    EXPECT_EQ(text->GetStyle().m_nTextAlign, 256u);

    EXPECT_TRUE(SWindowFactoryMgr::ApplyDefaultAttributes(imgbtn.get()));
    EXPECT_FALSE(SWindowFactoryMgr::ApplyDefaultAttributes(button.get()));
    EXPECT_FALSE(SObjDefAttr::GetSingletonPtr()->GetDefAttribute(L"unknown"));
    EXPECT_FALSE(SObjDefAttr::GetSingletonPtr()->Init(pugi::xml_node()));

    // Elements built from a layout get the defaults before their own attributes.
    host.Load(L"<root><imgbtn name='b' margin='6'/></root>");
    SWindow* fromXml = host.Find(L"b");
    ASSERT_NE(fromXml, nullptr);
    EXPECT_EQ(fromXml->GetStyle().m_rcMargin.left, 6);
    EXPECT_EQ(fromXml->GetStyle().m_rcInset.left, 3);
}
