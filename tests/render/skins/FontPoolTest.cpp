// The font pool: descriptions to pooled fonts, and the default font.
#include <algorithm>
#include <cwchar>
#include <string>

#include "../RenderTestUtil.h"
#include "render/SFontPool.h"
#include "render/SSkinPool.h"

using namespace WUI;

namespace {

int CALLBACK TakeFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM out)
{
    wcsncpy(reinterpret_cast<wchar_t*>(out), lf->lfFaceName, LF_FACESIZE - 1);
    return lf->lfFaceName[0] == L'@';  // skip vertical faces
}

// Hands fonts to the real factory and keeps the property text each was made with.
class PropsRecorder : public TObjRefImpl<IRenderFactory> {
public:
    explicit PropsRecorder(IRenderFactory* real) : m_real(real) {}
    IImgDecoderFactory* GetImgDecoderFactory() override { return m_real->GetImgDecoderFactory(); }
    void SetImgDecoderFactory(IImgDecoderFactory* f) override { m_real->SetImgDecoderFactory(f); }
    BOOL CreateRenderTarget(IRenderTarget** out, int w, int h) override { return m_real->CreateRenderTarget(out, w, h); }
    BOOL CreateFont(IFont** out, const LOGFONTW& lf, LPCWSTR props) override
    {
        lastProps = props ? props : L"(none)";
        return m_real->CreateFont(out, lf, props);
    }
    BOOL CreateBitmap(IBitmap** out) override { return m_real->CreateBitmap(out); }
    BOOL CreateRegion(IRegion** out) override { return m_real->CreateRegion(out); }
    std::wstring lastProps;

private:
    IRenderFactory* m_real;
};

class FontPoolTest : public ::testing::Test {
protected:
    FontPoolTest() : pool(fx.render) {}
    IFont* Font(const wchar_t* description) { return pool.GetFontByDescription(SStringW(description)); }

    rendertest::Factories fx{nullptr};
    SFontPool pool;
};

TEST_F(FontPoolTest, Descriptions)
{
    struct Case {
        const wchar_t* description;
        LONG height, weight;
        BYTE italic, underline, strike;
        const wchar_t* face;  // null: the default face
    } cases[] = {
        {L"", -12, 400, 0, 0, 0, nullptr},
        {L"bold:1,bold:0", -12, 700, 0, 0, 0, nullptr},
        {L"bold:0,bold:1", -12, 400, 0, 0, 0, nullptr},
        {L"size:-14", -14, 400, 0, 0, 0, nullptr},
        {L"size:14", -14, 400, 0, 0, 0, nullptr},
        {L"adding:-2", -10, 400, 0, 0, 0, nullptr},
        {L"adding:2", -14, 400, 0, 0, 0, nullptr},
        {L"adding:2,size:20", -14, 400, 0, 0, 0, nullptr},
        {L"size:20,adding:2", -20, 400, 0, 0, 0, nullptr},
        {L"italic:no", -12, 400, 1, 0, 0, nullptr},
        {L"italic:0", -12, 400, 0, 0, 0, nullptr},
        {L"underline:1,strike:yes", -12, 400, 0, 1, 1, nullptr},
        {L"face:Arial,size:20", -20, 400, 0, 0, 0, L"arial"},
        {L"size:00000000000000000020", -20, 400, 0, 0, 0, nullptr},  // every digit counts
        {L"adding:-00000000000000000002", -10, 400, 0, 0, 0, nullptr},
        {L"bold,size:,:3,size:15:1,,bold:1", -12, 700, 0, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        IFont* font = Font(c.description);
        ASSERT_NE(nullptr, font) << c.description;
        const LOGFONTW* lf = font->LogFont();
        EXPECT_EQ(c.height, lf->lfHeight) << c.description;
        EXPECT_EQ(c.weight, lf->lfWeight) << c.description;
        EXPECT_EQ(c.italic, lf->lfItalic) << c.description;
        EXPECT_EQ(c.underline, lf->lfUnderline) << c.description;
        EXPECT_EQ(c.strike, lf->lfStrikeOut) << c.description;
        EXPECT_STREQ(c.face ? c.face : DefaultFontFace(), lf->lfFaceName) << c.description;
        EXPECT_EQ(CLEARTYPE_QUALITY, lf->lfQuality) << c.description;
    }
    EXPECT_EQ(134, Font(L"charset:134")->LogFont()->lfCharSet);
    EXPECT_EQ(134, Font(L"charset:0000000000000000134")->LogFont()->lfCharSet);
}

TEST_F(FontPoolTest, MalformedDescriptionsStillGiveAFont)
{
    const std::wstring longFace = L"face:" + std::wstring(5000, L'x');
    const std::wstring manyPieces = [] {
        std::wstring d;
        for (int i = 0; i < 2000; ++i) d += L"k" + std::to_wstring(i % 7) + L":v,";
        return d + L"bold:1";
    }();
    struct Case {
        std::wstring description;
        LONG height, weight;
    } cases[] = {
        {L",,,", -12, 400},
        {L":::", -12, 400},
        {L"bold:", -12, 400},
        {L":1", -12, 400},
        {L"bold:1:extra", -12, 400},
        {L"size:abc", 0, 400},
        {L"size:99999999999999999999", -1, 400},  // the low 16 bits of INT_MAX: -1
        {L"adding:70000", -12 - short(70000 & 0xFFFF), 400},
        {L"charset:-1,bold:1", -12, 700},
        {longFace, -12, 400},
        {manyPieces, -12, 700},
    };
    for (const Case& c : cases) {
        IFont* font = Font(c.description.c_str());
        ASSERT_NE(nullptr, font) << c.description.size();
        EXPECT_EQ(c.height, font->LogFont()->lfHeight) << std::string(c.description.begin(), c.description.begin() + std::min<size_t>(40, c.description.size()));
        EXPECT_EQ(c.weight, font->LogFont()->lfWeight);
    }
}

TEST_F(FontPoolTest, SameFontForCaseVariantsAndDistinctStyleWords)
{
    IFont* bold = Font(L"face:arial,bold:1");
    EXPECT_EQ(bold, Font(L"Face:Arial,BOLD:1"));
    EXPECT_EQ(bold, Font(L"bold:1,face:arial"));
    EXPECT_NE(Font(L"size:14"), Font(L"size:-14"));
    EXPECT_NE(Font(L"size:14"), Font(L"adding:2"));
    UINT before = pool.GetCount();
    Font(L"size:14");
    EXPECT_EQ(before, pool.GetCount());
}

TEST_F(FontPoolTest, UnknownKeysBecomeProperties)
{
    SAutoRefPtr<PropsRecorder> recorder;
    recorder.Attach(new PropsRecorder(fx.render));
    SFontPool own(recorder.get());
    EXPECT_EQ(L"(none)", recorder->lastProps);
    IFont* blurred = own.GetFontByDescription(SStringW(L"blur:2,bold:1,glow:Red"));
    ASSERT_NE(nullptr, blurred);
    EXPECT_NE(std::wstring::npos, recorder->lastProps.find(L"blur=\"2\"")) << std::string(recorder->lastProps.begin(), recorder->lastProps.end());
    EXPECT_NE(std::wstring::npos, recorder->lastProps.find(L"glow=\"red\""));
    EXPECT_NE(blurred, own.GetFontByDescription(SStringW(L"bold:1")));
    EXPECT_EQ(blurred, own.GetFontByDescription(SStringW(L"GLOW:red,BLUR:2,bold:1")));
    EXPECT_NE(own.GetFontByDescription(SStringW(L"blur:2")), own.GetFontByDescription(SStringW(L"blur:3")));
}

TEST_F(FontPoolTest, DefaultFaceMeansTheDefaultFont)
{
    IFont* def = pool.GetDefaultFont();
    ASSERT_NE(nullptr, def);
    EXPECT_EQ(-12, def->LogFont()->lfHeight);
    EXPECT_STREQ(DefaultFontFace(), def->LogFont()->lfFaceName);
    EXPECT_EQ(def, pool.GetFont(0, SStringW(DefaultFontFace()), SStringW()));
    EXPECT_EQ(def, pool.GetFont(0, SStringW(), SStringW()));
}

TEST_F(FontPoolTest, SetDefaultFontOnlyWhileItIsAlone)
{
    EXPECT_TRUE(pool.SetDefaultFont(SStringW(L"No Such Face Anywhere"), 16, DEFAULT_CHARSET));
    IFont* def = pool.GetDefaultFont();
    ASSERT_NE(nullptr, def);
    EXPECT_STREQ(DefaultFontFace(), def->LogFont()->lfFaceName);
    EXPECT_EQ(-16, def->LogFont()->lfHeight);
    EXPECT_EQ(-18, Font(L"adding:2")->LogFont()->lfHeight);  // relative to the new default
    EXPECT_FALSE(pool.SetDefaultFont(SStringW(L"Arial"), 20, 134));
    EXPECT_EQ(def, pool.GetDefaultFont());
    EXPECT_EQ(-16, pool.GetDefaultFont()->LogFont()->lfHeight);
}

TEST_F(FontPoolTest, SetDefaultFontKeepsAFaceTheScreenHas)
{
    // Whatever face this system has first.
    wchar_t face[LF_FACESIZE] = {};
    HDC dc = GetDC(nullptr);
    LOGFONTW any{};
    any.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &any, TakeFace, LPARAM(face), 0);
    ReleaseDC(nullptr, dc);
    ASSERT_NE(L'\0', face[0]);
    EXPECT_TRUE(pool.SetDefaultFont(SStringW(face), -20, 134));
    EXPECT_STREQ(face, pool.GetDefaultFont()->LogFont()->lfFaceName);
    EXPECT_EQ(-20, pool.GetDefaultFont()->LogFont()->lfHeight);
    EXPECT_EQ(134, pool.GetDefaultFont()->LogFont()->lfCharSet);
}

TEST_F(FontPoolTest, LongFacesAreCutInTheFontButKeptApartInThePool)
{
    const std::wstring stem(39, L'f');
    IFont* a = Font((L"face:" + stem + L"a").c_str());
    IFont* b = Font((L"face:" + stem + L"b").c_str());
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_NE(a, b);
    EXPECT_NE(pool.GetDefaultFont(), a);
    EXPECT_EQ(size_t(LF_FACESIZE - 1), wcslen(a->LogFont()->lfFaceName));
    EXPECT_EQ(stem.substr(0, LF_FACESIZE - 1), std::wstring(a->LogFont()->lfFaceName));
    EXPECT_EQ(a, Font((L"face:" + stem + L"A").c_str()));
}

}  // namespace
