#include "core/STranslator.h"
#include "AdoptRef.h"
#include "../LeakCheck.h"
#include <gtest/gtest.h>

using namespace WUI;

class STranslatorLeaks : public LeakChecked {};
class STranslatorMgrLeaks : public LeakChecked {};
class SNullTranslatorLeaks : public LeakChecked {};

namespace {

const wchar_t kGuidA[] = L"{11111111-2222-3333-4444-555555555555}";
const wchar_t kGuidB[] = L"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";

// A translator loaded from a "language" element with one shared and one named context.
SAutoRefPtr<ITranslator> MakeTranslator(ITranslatorMgr *mgr, const wchar_t *guid, const wchar_t *hello)
{
    std::wstring xml = L"<language name='test' guid='";
    xml += guid;
    xml += L"'><context name='mainWindow'><message><source>Close</source><translation>"
           L"Shut</translation></message><message><source>Ok</source><translation>Fine"
           L"</translation></message></context><CONTEXT name=''><message><source>Hello</source>"
           L"<translation>";
    xml += hello;
    xml += L"</translation></message><message><source>Bare</source></message></CONTEXT></language>";
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(xml.c_str()));
    ITranslator *t = nullptr;
    EXPECT_TRUE(mgr->CreateTranslator(&t));
    pugi::xml_node lang = doc.child(L"language");
    EXPECT_TRUE(t->Load(&lang, 1));
    return AdoptRef<ITranslator>(t);
}

} // namespace

TEST_F(STranslatorLeaks, LookupWithContextFallback)
{
    ITranslatorMgr *mgr = nullptr;
    ASSERT_TRUE(CreateTranslatorMgr(&mgr));
    SAutoRefPtr<ITranslatorMgr> hold = AdoptRef<ITranslatorMgr>(mgr);
    SAutoRefPtr<ITranslator> a = MakeTranslator(mgr, kGuidA, L"Hi A");
    EXPECT_EQ(a->GetName(), L"test");
    GUID expected;
    IIDFromString(const_cast<LPOLESTR>(kGuidA), &expected);
    EXPECT_TRUE(IsEqualGUID(a->GetGuid(), expected));

    struct Case {
        const wchar_t *source, *context;
        BOOL found;
        const wchar_t *out;
    } cases[] = {
        {L"Close", L"mainWindow", TRUE, L"Shut"},
        {L"Ok", L"mainWindow", TRUE, L"Fine"},
        {L"Hello", L"mainWindow", TRUE, L"Hi A"}, // found in the shared context
        {L"Hello", L"", TRUE, L"Hi A"},
        {L"Close", L"", FALSE, L""},
        {L"Hello", L"noSuchContext", FALSE, L""}, // unknown context: no fallback
        {L"Bare", L"", TRUE, L""},                 // a message without translation
        {L"close", L"mainWindow", FALSE, L""},     // case counts
    };
    for (const Case &c : cases) {
        SStringW out;
        EXPECT_EQ(a->Translate(c.source, c.context, out), c.found) << c.source << L"/" << c.context;
        EXPECT_EQ(out, c.out) << c.source;
    }
    int dummy = 0;
    EXPECT_FALSE(a->Load(&dummy, 0));
}

TEST_F(STranslatorMgrLeaks, NewestFirstDuplicatesRefusedAndUninstall)
{
    ITranslatorMgr *raw = nullptr;
    CreateTranslatorMgr(&raw);
    SAutoRefPtr<ITranslatorMgr> mgr = AdoptRef<ITranslatorMgr>(raw);
    SAutoRefPtr<ITranslator> a = MakeTranslator(raw, kGuidA, L"Hi A");
    SAutoRefPtr<ITranslator> b = MakeTranslator(raw, kGuidB, L"Hi B");
    SAutoRefPtr<ITranslator> a2 = MakeTranslator(raw, kGuidA, L"Hi A2");
    EXPECT_EQ(mgr->Translate(L"Hello", L"x"), L"Hello"); // nothing installed
    ASSERT_TRUE(mgr->InstallTranslator(a.get()));
    ASSERT_TRUE(mgr->InstallTranslator(b.get()));
    EXPECT_FALSE(mgr->InstallTranslator(a2.get()));
    EXPECT_EQ(mgr->Translate(L"Hello", L"mainWindow"), L"Hi B");
    EXPECT_EQ(mgr->Translate(L"Unknown", L"mainWindow"), L"Unknown");
    EXPECT_EQ(mgr->Translate(L"", L"mainWindow"), L"");

    GUID gb;
    IIDFromString(const_cast<LPOLESTR>(kGuidB), &gb);
    EXPECT_TRUE(mgr->UninstallTranslator(gb));
    EXPECT_FALSE(mgr->UninstallTranslator(gb));
    EXPECT_EQ(mgr->Translate(L"Hello", L"mainWindow"), L"Hi A");
    // The manager held one reference of its own.
    EXPECT_EQ(b->AddRef(), 2);
    b->Release();
}

TEST_F(STranslatorLeaks, MalformedDocumentsKeepWhatIsWellFormed)
{
    struct Case {
        const wchar_t *xml, *source, *context;
        BOOL found;
        const wchar_t *out;
    } cases[] = {
        {L"<language/>", L"S", L"", FALSE, L""},
        // A context without a name is the one named "".
        {L"<language><context><message><source>S</source><translation>T</translation></message></context>"
         L"</language>",
         L"S", L"", TRUE, L"T"},
        // Stray text and comments between the elements are skipped.
        {L"<language>junk<!--c--><context name='c'>x<message>y<source>S</source>z<translation>T</translation>"
         L"</message></context></language>",
         L"S", L"c", TRUE, L"T"},
        {L"<language><context name='c'><message><source><![CDATA[a<b]]></source><translation>T</translation>"
         L"</message></context></language>",
         L"a<b", L"c", TRUE, L"T"},
        // Markup inside a translation is no text.
        {L"<language><context name='c'><message><source>S</source><translation><b>bold</b></translation>"
         L"</message></context></language>",
         L"S", L"c", TRUE, L""},
        // A message nested in a message is not one of the context's.
        {L"<language><context name='c'><message><message><source>S</source><translation>T</translation>"
         L"</message></message></context></language>",
         L"S", L"c", FALSE, L""},
    };
    for (const Case &c : cases) {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(c.xml)) << c.xml;
        SAutoRefPtr<ITranslator> t = AdoptRef<ITranslator>(new STranslator);
        pugi::xml_node lang = doc.child(L"language");
        ASSERT_TRUE(t->Load(&lang, 1)) << c.xml;
        EXPECT_TRUE(IsEqualGUID(t->GetGuid(), GUID_NULL)) << c.xml;
        SStringW out;
        EXPECT_EQ(t->Translate(c.source, c.context, out), c.found) << c.xml;
        EXPECT_EQ(out, c.out) << c.xml;
    }
}

TEST_F(STranslatorLeaks, GuidTexts)
{
    std::wstring longText(100, L'{');
    struct Case {
        const wchar_t *text;
        bool valid;
    } cases[] = {
        {kGuidA, true},
        {L"", false},
        {L"not a guid", false},
        {L"{11111111-2222-3333-4444-55555555555}", false},
        {longText.c_str(), false},
    };
    for (const Case &c : cases) {
        GUID g = STranslator::ParseGuid(c.text);
        EXPECT_EQ(!IsEqualGUID(g, GUID_NULL), c.valid) << c.text;
    }
}

TEST_F(SNullTranslatorLeaks, TranslatesNothing)
{
    SAutoRefPtr<ITranslatorMgr> mgr = AdoptRef<ITranslatorMgr>(new SNullTranslator);
    ITranslator *t = reinterpret_cast<ITranslator *>(1);
    EXPECT_FALSE(mgr->CreateTranslator(&t));
    EXPECT_EQ(t, nullptr);
    EXPECT_EQ(mgr->Translate(L"Hello", L"x"), L"Hello");
    EXPECT_FALSE(mgr->UninstallTranslator(GUID_NULL));
}
