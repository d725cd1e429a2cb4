#include "LeakCheck.h"

#include "core/XmlBinary.h"
#include "support/CostMeter.h"

#include <sstream>
#include <string>
#include <vector>

using namespace WUI;

using XmlBinaryTest = LeakChecked;

namespace {

std::wstring Print(const pugi::xml_document& doc)
{
    std::wostringstream out;
    doc.save(out, L"", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

std::vector<unsigned char> Save(const pugi::xml_document& doc)
{
    XmlBinaryBuffer buf;
    EXPECT_TRUE(XmlSaveBinaryBuffer(doc, buf));
    return std::vector<unsigned char>(buf.data(), buf.data() + buf.size());
}

UINT Read32(const std::vector<unsigned char>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<UINT>(b[at + 3]) << 24);
}

const wchar_t kSample[] =
    L"<root a='1' b='x'><item a='1'>text</item><![CDATA[raw <data>]]><!--note--><item/><?pi skip?></root>";

} // namespace

TEST_F(XmlBinaryTest, RoundTripKeepsTheTree)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(kSample, pugi::parse_default | pugi::parse_comments | pugi::parse_pi));
    std::vector<unsigned char> bin = Save(doc);
    ASSERT_GE(bin.size(), 16u);
    EXPECT_EQ(std::string(bin.begin(), bin.begin() + 4), "sxml");
    EXPECT_EQ(Read32(bin, 4), 1u);
    // Distinct strings: root a 1 b x item text "raw <data>" note.
    EXPECT_EQ(Read32(bin, 8), 9u);

    pugi::xml_document back;
    ASSERT_EQ(XmlLoadBinaryBuffer(back, bin.data(), bin.size()), pugi::status_ok);
    EXPECT_EQ(Print(back), L"<root a=\"1\" b=\"x\"><item a=\"1\">text</item><![CDATA[raw <data>]]><!--note--><item/></root>");
}

TEST_F(XmlBinaryTest, EmptyDocumentAndNamelessAttributes)
{
    pugi::xml_document empty;
    std::vector<unsigned char> bin = Save(empty);
    EXPECT_EQ(bin.size(), 17u);
    pugi::xml_document back;
    ASSERT_TRUE(back.load_string(L"<old/>"));
    EXPECT_EQ(XmlLoadBinaryBuffer(back, bin.data(), bin.size()), pugi::status_ok);
    EXPECT_FALSE(back.first_child());

    pugi::xml_document doc;
    pugi::xml_node e = doc.append_child(L"e");
    e.append_attribute(L"").set_value(L"lost");
    e.append_attribute(L"k").set_value(L"");
    bin = Save(doc);
    ASSERT_EQ(XmlLoadBinaryBuffer(back, bin.data(), bin.size()), pugi::status_ok);
    EXPECT_EQ(Print(back), L"<e k=\"\"/>");
}

TEST_F(XmlBinaryTest, IndexWidthFollowsTheStringCount)
{
    struct Case {
        int strings;
        size_t width;
    } cases[] = {{254, 1}, {255, 2}, {65534, 2}, {65535, 4}};
    for (const Case& c : cases) {
        pugi::xml_document doc;
        pugi::xml_node root = doc.append_child(L"r"); // string 1
        for (int i = 1; i < c.strings; ++i) root.append_child(std::to_wstring(i).c_str());
        std::vector<unsigned char> bin = Save(doc);
        ASSERT_EQ(Read32(bin, 8), static_cast<UINT>(c.strings));
        size_t table = Read32(bin, 12) * 2;
        // Records: per element type byte, name, value, attribute end; per
        // children part one end byte; plus the document's end byte.
        size_t records = bin.size() - 16 - table;
        EXPECT_EQ(records, c.strings * (1 + 3 * c.width + 1) + 1) << c.strings;
        pugi::xml_document back;
        ASSERT_EQ(XmlLoadBinaryBuffer(back, bin.data(), bin.size()), pugi::status_ok);
        EXPECT_EQ(Print(back), Print(doc));
    }
}

TEST_F(XmlBinaryTest, MalformedBlocksAreRejected)
{
    auto header = [](const char* magic, UINT version, UINT n, UINT units) {
        std::vector<unsigned char> b(magic, magic + 4);
        for (UINT v : {version, n, units})
            for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
        return b;
    };
    auto with = [](std::vector<unsigned char> b, std::initializer_list<unsigned char> tail) {
        b.insert(b.end(), tail);
        return b;
    };
    // One string "a": 'a' 0.
    std::vector<unsigned char> one = with(header("sxml", 1, 1, 2), {'a', 0, 0, 0});
    // One string of 32767 characters named by 20000 elements: 165 KB that
    // would copy out to 1.3 GB of names.
    auto manyNames = [&] {
        std::vector<unsigned char> b = header("sxml", 1, 1, 32768);
        b.insert(b.end(), 32767 * 2, 'n');
        b.insert(b.end(), {0, 0});
        for (int i = 0; i < 20000; ++i) b.insert(b.end(), {2, 1, 0, 0, 0});
        b.push_back(0);
        return b;
    };
    struct Case {
        const char* what;
        std::vector<unsigned char> block;
        pugi::xml_parse_status status = pugi::status_bad_doctype;
    } cases[] = {
        {"short header", {'s', 'x', 'm', 'l', 1, 0}},
        {"wrong magic", with(header("sxmL", 1, 0, 0), {0})},
        {"wrong version", with(header("sxml", 2, 0, 0), {0})},
        {"table past the end", with(header("sxml", 1, 1, 0x7FFFFFFF), {0})},
        {"table length wraps", with(header("sxml", 1, 1, 0x80000001u), {'a', 0, 0, 0, 0})},
        {"more strings than units", with(header("sxml", 1, 3, 2), {'a', 0, 0, 0, 0})},
        {"table not terminated", with(header("sxml", 1, 1, 1), {'a', 0, 0})},
        {"fewer strings than said", with(header("sxml", 1, 2, 2), {'a', 0, 0, 0, 0})},
        {"no records", one},
        {"index beyond the table", with(one, {2, 2, 0, 0, 0, 0})},
        {"child type 1", with(one, {1, 1, 0, 0, 0, 0})},
        {"child type 6", with(one, {6, 1, 0, 0, 0, 0})},
        {"text with a name", with(one, {3, 1, 0, 0, 0, 0})},
        {"element with a value", with(one, {2, 1, 1, 0, 0, 0})},
        {"text with an attribute", with(one, {3, 0, 1, 1, 0, 0, 0})},
        {"child under text", with(one, {3, 0, 1, 0, 2, 1, 0, 0, 0, 0, 0})},
        {"missing end bytes", with(one, {2, 1, 0, 0})},
        {"trailing bytes", with(one, {2, 1, 0, 0, 0, 0, 7})},
        // An attribute named by an empty string would not survive a save.
        {"empty string names an attribute", with(header("sxml", 1, 1, 1), {0, 0, 2, 0, 0, 1, 0, 0, 0, 0})},
        {"empty string among others", with(header("sxml", 1, 2, 3), {'a', 0, 0, 0, 0, 0, 2, 1, 0, 0, 0, 0})},
        {"text past its bound", manyNames(), pugi::status_out_of_memory},
    };
    for (const Case& c : cases) {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(L"<keep/>"));
        CostMeter cost;
        EXPECT_EQ(XmlLoadBinaryBuffer(doc, c.block.data(), c.block.size()), c.status) << c.what;
        EXPECT_FALSE(doc.first_child()) << c.what;
        EXPECT_LT(cost.PeakRise(), 64 << 20) << c.what;
        EXPECT_LT(cost.CpuMs(), 1000.0) << c.what;
    }
    // The well-formed neighbour of those cases loads.
    std::vector<unsigned char> good = with(one, {2, 1, 0, 0, 0, 0});
    pugi::xml_document doc;
    EXPECT_EQ(XmlLoadBinaryBuffer(doc, good.data(), good.size()), pugi::status_ok);
    EXPECT_STREQ(doc.first_child().name(), L"a");
    EXPECT_EQ(XmlLoadBinaryBuffer(doc, nullptr, 5), pugi::status_bad_doctype);
}

TEST_F(XmlBinaryTest, EveryPrefixAndByteCorruptionIsSafe)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(kSample, pugi::parse_default | pugi::parse_comments));
    std::vector<unsigned char> bin = Save(doc);
    for (size_t n = 0; n < bin.size(); ++n) {
        pugi::xml_document back;
        EXPECT_NE(XmlLoadBinaryBuffer(back, bin.data(), n), pugi::status_ok) << n;
        EXPECT_FALSE(back.first_child());
    }
    // A changed byte either fails cleanly or yields some tree; never a crash.
    int rejected = 0;
    for (size_t i = 0; i < bin.size(); ++i) {
        for (unsigned char flip : {0x01, 0x80, 0xFF}) {
            std::vector<unsigned char> bad = bin;
            bad[i] ^= flip;
            pugi::xml_document back;
            if (XmlLoadBinaryBuffer(back, bad.data(), bad.size()) != pugi::status_ok) {
                ++rejected;
                EXPECT_FALSE(back.first_child());
            }
        }
    }
    EXPECT_GT(rejected, 0);
}

TEST_F(XmlBinaryTest, StructuralCorruptionIsRejected)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<r><a x='1'/>t</r>"));
    std::vector<unsigned char> bin = Save(doc);
    size_t records = 16 + Read32(bin, 12) * 2;
    // Every record byte is a type, an index (1 byte here) or an end mark;
    // raising any of them past the table or the type range must fail.
    for (size_t i = records; i < bin.size(); ++i) {
        std::vector<unsigned char> bad = bin;
        bad[i] = 0xEE;
        pugi::xml_document back;
        EXPECT_EQ(XmlLoadBinaryBuffer(back, bad.data(), bad.size()), pugi::status_bad_doctype) << i;
    }
}

TEST_F(XmlBinaryTest, DeepNestingNeedsNoRecursion)
{
    const int depth = 20000;
    pugi::xml_document doc;
    pugi::xml_node n = doc;
    for (int i = 0; i < depth; ++i) n = n.append_child(L"d");
    std::vector<unsigned char> bin = Save(doc);
    pugi::xml_document back;
    ASSERT_EQ(XmlLoadBinaryBuffer(back, bin.data(), bin.size()), pugi::status_ok);
    int levels = 0;
    for (pugi::xml_node c = back.first_child(); c; c = c.first_child()) ++levels;
    EXPECT_EQ(levels, depth);
}

TEST_F(XmlBinaryTest, FilesByWideAndNarrowName)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<f v='\x4E2D'/>"));
    ASSERT_TRUE(XmlSaveBinary(doc, L"sxml_test.bin"));
    pugi::xml_document back;
    ASSERT_EQ(XmlLoadBinary(back, "sxml_test.bin"), pugi::status_ok);
    EXPECT_STREQ(back.first_child().attribute(L"v").value(), L"\x4E2D");
    ASSERT_TRUE(XmlSaveBinary(doc, "sxml_test.bin"));
    EXPECT_EQ(XmlLoadBinary(back, L"sxml_test.bin"), pugi::status_ok);
    DeleteFileW(L"sxml_test.bin");

    EXPECT_EQ(XmlLoadBinary(back, L"no such file.bin"), pugi::status_io_error);
    EXPECT_FALSE(back.first_child());
    EXPECT_FALSE(XmlSaveBinary(doc, L"no such dir\\x.bin"));
    // A text file is not a binary document.
    FILE* f = _wfopen(L"plain.xml", L"wb");
    ASSERT_NE(f, nullptr);
    fputs("<xml/>", f);
    fclose(f);
    EXPECT_EQ(XmlLoadBinary(back, L"plain.xml"), pugi::status_bad_doctype);
    DeleteFileW(L"plain.xml");
}
