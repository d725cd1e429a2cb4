#include "LeakCheck.h"

#include "core/SPropBag.h"
#include "core/XmlLookup.h"
#include "core/XmlMarks.h"
#include "core/XmlWriterBuff.h"

#include <string>

using namespace WUI;

using XmlTest = LeakChecked;

TEST_F(XmlTest, DocumentsAllocateThroughTheWrappers)
{
    long before = MemLiveBlocks();
    {
        pugi::xml_document doc;
        std::wstring big(40000, L'x');
        ASSERT_TRUE(doc.load_string((L"<a v='" + big + L"'/>").c_str()));
        EXPECT_GT(MemLiveBlocks(), before);
    }
    EXPECT_EQ(MemLiveBlocks(), before);
}

TEST_F(XmlTest, LookupsIgnoreCase)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<UIDEF Skin='1'><!--c--><Font a='1'/><font a='2'/><x/><FONT a='3'/></UIDEF>"));
    pugi::xml_node root = XmlChildNoCase(doc, L"uidef");
    ASSERT_TRUE(root);
    EXPECT_STREQ(XmlAttributeNoCase(root, L"SKIN").value(), L"1");
    EXPECT_FALSE(XmlAttributeNoCase(root, L"none"));
    pugi::xml_node f = XmlChildNoCase(root, L"font");
    EXPECT_STREQ(f.attribute(L"a").value(), L"1");
    f = XmlNextSiblingNoCase(f, L"FoNt");
    EXPECT_STREQ(f.attribute(L"a").value(), L"2");
    f = XmlNextSiblingNoCase(f, L"font");
    EXPECT_STREQ(f.attribute(L"a").value(), L"3");
    EXPECT_FALSE(XmlNextSiblingNoCase(f, L"font"));
    EXPECT_FALSE(XmlChildNoCase(pugi::xml_node(), L"x"));
}

TEST_F(XmlTest, MarksLiveInTheirScope)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<a w='1' h='2'><b/></a>"));
    pugi::xml_node a = doc.first_child();
    {
        XmlMarkScope scope;
        EXPECT_TRUE(scope.Mark(a.attribute(L"w")));
        EXPECT_TRUE(scope.Mark(a.first_child(), 5));
        EXPECT_TRUE(scope.Mark(pugi::xml_attribute()));
        EXPECT_EQ(XmlGetMark(a.attribute(L"w")), 1);
        EXPECT_EQ(XmlGetMark(a.attribute(L"h")), 0);
        EXPECT_EQ(XmlGetMark(a.first_child()), 5);
        EXPECT_EQ(XmlGetMark(a), 0);
        {
            XmlMarkScope inner;
            inner.Mark(a.attribute(L"h"), 2);
            EXPECT_EQ(XmlGetMark(a.attribute(L"h")), 2);
        }
        EXPECT_EQ(XmlGetMark(a.attribute(L"h")), 0);
        EXPECT_EQ(XmlGetMark(a.attribute(L"w")), 1);
    }
    EXPECT_EQ(XmlGetMark(a.attribute(L"w")), 0);
    EXPECT_EQ(XmlGetMark(a.first_child()), 0);
}

TEST_F(XmlTest, PrintBufferIsAllOrNothing)
{
    xml_writer_buff w;
    std::wstring chunk(100, L'x');
    w.write(chunk.data(), chunk.size() * 2);
    EXPECT_EQ(w.size(), 100);
    EXPECT_TRUE(w.ok());
    std::wstring big(xml_writer_buff::kMaxChars - 100, L'y');
    w.write(big.data(), big.size() * 2); // exactly fills
    EXPECT_EQ(w.size(), xml_writer_buff::kMaxChars);
    EXPECT_TRUE(w.ok());
    w.write(L"z", 2);
    EXPECT_FALSE(w.ok());
    EXPECT_EQ(w.size(), 0);
    EXPECT_STREQ(w.buffer(), L"");
    w.write(L"z", 2); // nothing after the first overflow
    EXPECT_EQ(w.size(), 0);
}

TEST_F(XmlTest, PropBagStoresAndPrints)
{
    SPropBag* bag = new SPropBag;
    EXPECT_EQ(bag->GetValue(L"k"), nullptr);
    SStringW xml;
    EXPECT_TRUE(bag->ToXml(&xml));
    EXPECT_STREQ(xml, L"<propbag />\n");

    EXPECT_FALSE(bag->SetKeyValue(L"", L"1"));
    EXPECT_FALSE(bag->SetKeyValue(nullptr, L"1"));
    EXPECT_TRUE(bag->SetKeyValue(L"k", L"1"));
    EXPECT_TRUE(bag->SetKeyValue(L"k", L"2"));
    EXPECT_EQ(bag->GetCount(), 1u);
    EXPECT_STREQ(bag->GetValue(L"k"), L"2");
    bag->SetKeyValue(L"q", L"a<b");
    EXPECT_TRUE(bag->ToXml(&xml));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml));
    EXPECT_STREQ(doc.child(L"propbag").attribute(L"q").value(), L"a<b");
    EXPECT_STREQ(doc.child(L"propbag").attribute(L"k").value(), L"2");
    EXPECT_TRUE(bag->RemoveKey(L"k"));
    EXPECT_FALSE(bag->RemoveKey(L"k"));
    bag->RemoveAll();
    EXPECT_EQ(bag->GetCount(), 0u);
    EXPECT_EQ(bag->Release(), 0);
}

TEST_F(XmlTest, PropBagTooLargeReportsFailure)
{
    SPropBag bag;
    std::wstring value(15000, L'v');
    bag.SetKeyValue(L"a", value.c_str());
    bag.SetKeyValue(L"b", value.c_str());
    SStringW xml(L"stale");
    EXPECT_FALSE(bag.ToXml(&xml));
    EXPECT_TRUE(xml.IsEmpty());
    bag.RemoveKey(L"b");
    EXPECT_TRUE(bag.ToXml(&xml));
    EXPECT_GT(xml.GetLength(), 15000);
}
