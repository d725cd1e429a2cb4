#include "LeakCheck.h"

#include "core/SAutoRefPtr.h"
#include "core/SObject.h"
#include "core/TranslateTextHook.h"
#include "core/XmlMarks.h"

#include <vector>

using namespace WUI;

using ObjectTest = LeakChecked;

namespace {

int g_destroyed = 0;

struct Counted : TObjRefImpl<IObjRef> {
    ~Counted() override { ++g_destroyed; }
};

// The count lives in a base; the final release must destroy the whole object.
struct Outer;
struct OuterBase : TObjRefImpl2<IObjRef, Outer> {
    int base = 0;
};
struct Outer : OuterBase {
    SStringW payload{L"owned text"};
    ~Outer() override { ++g_destroyed; }
};

// Colour from a style class, overridden by the node's own attribute.
class Skin : public SObject {
    WUI_CLASS_NAME(Skin, SObject, L"skin")
    WUI_ATTRS_BEGIN()
        WUI_ATTR_CUSTOM(L"class", OnClass)
        WUI_ATTR_INT(L"alpha", alpha, S_OK)
        WUI_ATTR_INT(L"colour", colour, S_FALSE)
        WUI_ATTR_STRING(L"name", name, S_FALSE)
    WUI_ATTRS_END(SObject)

public:
    HRESULT OnClass(const SStringW& value, BOOL)
    {
        ++classCalls;
        if (value == L"x") colour = 0x111111;
        return S_FALSE;
    }
    void OnInitFinished(pugi::xml_node) override { finished = true; }

    int alpha = 255, colour = 0, classCalls = 0;
    SStringW name;
    bool finished = false;
    std::vector<SStringW> seen;
};

class Button : public Skin {
    WUI_CLASS_NAME(Button, Skin, L"button")
public:
    HRESULT SetAttribute(const SStringW& n, const SStringW& v, BOOL loading) override
    {
        seen.push_back(n);
        return Skin::SetAttribute(n, v, loading);
    }
};

class Progress : public SObject {
    WUI_CLASS_NAME(Progress, SObject, L"progress")
};

SStringW Upper(const SStringW& text, const SStringW&)
{
    return SStringW(L"T:") + text;
}

} // namespace

TEST_F(ObjectTest, ReferenceCounts)
{
    g_destroyed = 0;
    Counted* c = new Counted;
    EXPECT_EQ(c->AddRef(), 2);
    EXPECT_EQ(c->Release(), 1);
    EXPECT_EQ(g_destroyed, 0);
    EXPECT_EQ(c->Release(), 0);
    EXPECT_EQ(g_destroyed, 1);

    Outer* o = new Outer;
    EXPECT_EQ(o->Release(), 0);
    EXPECT_EQ(g_destroyed, 2);
}

TEST_F(ObjectTest, AutoRefPtrHoldsOneReference)
{
    g_destroyed = 0;
    Counted* c = new Counted;
    {
        SAutoRefPtr<Counted> a;
        a.Attach(c); // takes the creator's reference
        SAutoRefPtr<Counted> b(a);
        EXPECT_EQ(c->AddRef(), 3);
        c->Release();
        b = c; // the held pointer: nothing changes
        EXPECT_EQ(c->AddRef(), 3);
        c->Release();
        b = nullptr;
        EXPECT_EQ(c->AddRef(), 2);
        c->Release();
    }
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(ObjectTest, AttributeDispatch)
{
    Skin s;
    struct Case {
        const wchar_t* name;
        const wchar_t* value;
        HRESULT result;
    } cases[] = {
        {L"ALPHA", L"0x1F", S_OK}, {L"colour", L"31", S_FALSE}, {L"Name", L"n1", S_FALSE},
        {L"alpha", L"zz", E_FAIL}, {L"unknown", L"1", E_FAIL},
    };
    for (const Case& c : cases) EXPECT_EQ(s.SetAttribute(c.name, c.value, FALSE), c.result) << c.name;
    EXPECT_EQ(s.alpha, 0x1F);
    EXPECT_EQ(s.colour, 31);
    EXPECT_STREQ(s.name, L"n1");
}

TEST_F(ObjectTest, InitFromXmlAppliesClassFirstAndOnce)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<button colour='0x222222' CLASS='x' alpha='7'/>"));
    Button b;
    EXPECT_TRUE(b.InitFromXml(doc.first_child()));
    EXPECT_EQ(b.classCalls, 1);
    EXPECT_EQ(b.colour, 0x222222);
    EXPECT_EQ(b.alpha, 7);
    EXPECT_TRUE(b.finished);
    ASSERT_EQ(b.seen.size(), 3u);
    EXPECT_STREQ(b.seen[0], L"class");
    EXPECT_STREQ(b.seen[1], L"colour");
    EXPECT_STREQ(b.seen[2], L"alpha");
    // The mark is gone after the loop.
    EXPECT_EQ(XmlGetMark(doc.first_child().attribute(L"CLASS")), 0);

    Button empty;
    EXPECT_FALSE(empty.InitFromXml(pugi::xml_node()));
    EXPECT_FALSE(empty.finished);
}

TEST_F(ObjectTest, CheckedDowncast)
{
    Button b;
    SObject* obj = &b;
    EXPECT_EQ(sobj_cast<Button>(obj), &b);
    EXPECT_EQ(sobj_cast<Skin>(obj), &b);
    EXPECT_EQ(sobj_cast<Progress>(obj), nullptr);
    EXPECT_EQ(sobj_cast<Button>(static_cast<SObject*>(nullptr)), nullptr);
    EXPECT_STREQ(obj->GetClassName(), L"button");
    EXPECT_FALSE(SObject().IsClass(L"button"));
    EXPECT_EQ(SObject().GetClassName(), nullptr);
}

TEST_F(ObjectTest, TranslateTextWithoutAndWithATranslator)
{
    Skin s;
    EXPECT_STREQ(s.TranslateText(L"hello"), L"hello");
    SetTranslateTextHook(&Upper);
    EXPECT_STREQ(s.TranslateText(L"hello"), L"T:hello");
    SetTranslateTextHook(nullptr);
    EXPECT_STREQ(s.TranslateText(L"hello"), L"hello");
}
