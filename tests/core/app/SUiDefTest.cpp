// The UI definition's font, skin and style steps and the image loads of the
// providers, through a real GDI render factory and image decoder.
#include "core/SApplication.h"
#include "core/SResProviderFiles.h"
#include "core/SResProviderPE.h"
#include "core/SWindow.h"
#include "render/IImgDecoder.h"
#include "render/IRenderTarget.h"
#include "render/SFontPool.h"
#include "render/SSkinImgList.h"
#include "render/SSkinPool.h"
#include "render/SStylePool.h"
#include "TempFolder.h"
#include "AdoptRef.h"
#include "../LeakCheck.h"
#include <gtest/gtest.h>
#include <cwchar>
#include <string>

using namespace WUI;

class SUiDefLeaks : public LeakChecked {};

namespace {

// A GDI render factory with a decoder for PNG and BMP bytes, or none.
struct Render {
    explicit Render(bool decoders = true)
    {
        CreateRenderFactory_GDI(&factory);
        IImgDecoderFactory *d = nullptr;
        if (decoders && CreateImgDecoderFactory(L"imgdecoder-stb", &d) && d) {
            factory->SetImgDecoderFactory(d);
            d->Release();
        }
    }
    ~Render() { factory->Release(); }
    IRenderFactory *factory = nullptr;
};

SAutoRefPtr<IResProvider> PeProvider()
{
    SAutoRefPtr<IResProvider> pe = AdoptRef<IResProvider>(new SResProviderPE);
    pe->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
    return pe;
}

SAutoRefPtr<IResProvider> FolderProvider(const TempFolder &dir)
{
    SAutoRefPtr<IResProvider> files = AdoptRef<IResProvider>(new SResProviderFiles);
    EXPECT_TRUE(files->Init(reinterpret_cast<WPARAM>(dir.Path().c_str())));
    return files;
}

// The raw bytes of one of this executable's resources.
std::string ResourceBytes(const wchar_t *type, const wchar_t *name)
{
    HRSRC res = FindResourceW(nullptr, name, type);
    HGLOBAL data = res ? LoadResource(nullptr, res) : nullptr;
    const char *bytes = data ? static_cast<const char *>(LockResource(data)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(nullptr, res)) : std::string();
}

DWORD PixelAt(IBitmap *bitmap, UINT x, UINT y)
{
    return static_cast<const DWORD *>(bitmap->GetPixelBits())[y * bitmap->Width() + x];
}

int CALLBACK FaceFound(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found)
{
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

bool ScreenHasFace(const wchar_t *face)
{
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy(lf.lfFaceName, face);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

const DWORD kRed = 0xFFFF0000, kBlue = 0xFF0000FF; // premultiplied, stored blue-green-red-alpha

} // namespace

TEST_F(SUiDefLeaks, FontSkinsStylesAndClassDefaultsComeWithTheirProvider)
{
    Render render;
    SApplication app(render.factory, GetModuleHandleW(nullptr), L"WUIHOST");
    SSkinPoolMgr *skins = SSkinPoolMgr::GetSingletonPtr();
    SStylePoolMgr *styles = SStylePoolMgr::GetSingletonPtr();
    SAutoRefPtr<IResProvider> pe = PeProvider();
    app.AddResProvider(pe.get(), L"UIDEF:XML_FULL");

    const LOGFONTW &lf = SFontPool::GetSingletonPtr()->GetDefaultLogFont();
    EXPECT_EQ(lf.lfHeight, -15);
    EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);
    // A face the screen lacks gives way to the framework's default face.
    EXPECT_STREQ(lf.lfFaceName, ScreenHasFace(L"Tahoma") ? L"Tahoma" : DefaultFontFace());

    // The skins were redirected to "values:skins"; their image comes from the
    // same provider through the render factory.
    EXPECT_EQ(skins->GetPoolCount(), 2);
    auto *redblue = dynamic_cast<SSkinImgList *>(skins->FindSkinByName(L"redblue"));
    ASSERT_NE(redblue, nullptr);
    IBitmap *image = redblue->GetImage();
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->Width(), 2u);
    ASSERT_EQ(image->Height(), 1u);
    EXPECT_EQ(PixelAt(image, 0, 0), kRed);
    EXPECT_EQ(PixelAt(image, 1, 0), kBlue);
    auto *broken = dynamic_cast<SSkinImgList *>(skins->FindSkinByName(L"broken"));
    EXPECT_TRUE(broken == nullptr || broken->GetImage() == nullptr);

    EXPECT_EQ(styles->GetPoolCount(), 1);
    EXPECT_STREQ(styles->FindStyle(L"caption").attribute(L"colorText").value(), L"#ff0000");

    // The class defaults were redirected to "values:objattr" and reach every
    // element made by tag.
    SAutoRefPtr<SWindow> made = AdoptRef(app.CreateWindowByName(L"window"));
    ASSERT_NE(made.get(), nullptr);
    EXPECT_EQ(made->GetStyle().m_rcMargin.left, 2);
    EXPECT_EQ(made->GetStyle().GetTextColor(0), 0xFF00FF00u);

    app.RemoveResProvider(pe.get());
    EXPECT_EQ(skins->GetPoolCount(), 1);
    EXPECT_EQ(skins->FindSkinByName(L"redblue"), nullptr);
    EXPECT_EQ(styles->GetPoolCount(), 0);
    EXPECT_FALSE(styles->FindStyle(L"caption"));
}

TEST_F(SUiDefLeaks, SkinAndStyleRedirectionAndTheNewestPoolFirst)
{
    Render render;
    SApplication app(render.factory, GetModuleHandleW(nullptr), L"WUIHOST");
    TempFolder dir(L"uidef_pools");
    dir.Write(L"uires.idx", "<resource><uidef><file name='a' path='a.xml'/><file name='b' path='b.xml'/></uidef>"
                            "<values><file name='styles' path='styles.xml'/></values></resource>");
    // a: the skin's src does not load, so its own element serves; the style comes from styles.xml.
    dir.Write(L"a.xml", "<UIDEF><SKIN src='values:none'><colorrect name='fill' normal='#ff0000'/></SKIN>"
                        "<Style src='values:styles'><class name='own' x='inline'/></Style></UIDEF>");
    dir.Write(L"styles.xml", "<style><class name='caption' x='a'/></style>");
    dir.Write(L"b.xml", "<uidef><style><class name='caption' x='b'/></style></uidef>");
    SAutoRefPtr<IResProvider> files = FolderProvider(dir);
    SAutoRefPtr<IResProvider> again = FolderProvider(dir);
    app.AddResProvider(files.get(), L"uidef:a");
    EXPECT_NE(SSkinPoolMgr::GetSingletonPtr()->FindSkinByName(L"fill"), nullptr);
    SStylePoolMgr *styles = SStylePoolMgr::GetSingletonPtr();
    EXPECT_STREQ(styles->FindStyle(L"caption").attribute(L"x").value(), L"a");
    EXPECT_FALSE(styles->FindStyle(L"own"));

    app.AddResProvider(again.get(), L"uidef:b");
    EXPECT_STREQ(styles->FindStyle(L"caption").attribute(L"x").value(), L"b");
    // Removing the older entry takes out its own pools, not the newest ones.
    app.RemoveResProvider(files.get());
    EXPECT_STREQ(styles->FindStyle(L"caption").attribute(L"x").value(), L"b");
    EXPECT_EQ(SSkinPoolMgr::GetSingletonPtr()->FindSkinByName(L"fill"), nullptr);
    EXPECT_EQ(styles->GetPoolCount(), 1);
}

TEST_F(SUiDefLeaks, FontAttributesOutOfRangeFallBack)
{
    Render render;
    SApplication app(render.factory, GetModuleHandleW(nullptr), L"WUIHOST");
    TempFolder dir(L"uidef_font");
    dir.Write(L"uires.idx", "<resource><uidef><file name='u' path='u.xml'/></uidef></resource>");
    struct Case {
        const char *font;
        LONG height;
        BYTE charset;
    } cases[] = {
        {"<font size='20' charset='0'/>", -20, ANSI_CHARSET},
        {"<FONT SIZE='-18'/>", -18, ANSI_CHARSET}, // charset 1 keeps the one before
        {"<font/>", -12, ANSI_CHARSET},
        {"<font size='abc' charset='x'/>", -12, ANSI_CHARSET},
        {"<font size='14pt'/>", -12, ANSI_CHARSET},
        {"<font size='-99999999999'/>", -12, ANSI_CHARSET},
        {"<font size='40000' charset='300'/>", -12, ANSI_CHARSET},
        {"<font size='9' charset='2'/>", -9, SYMBOL_CHARSET},
    };
    for (const Case &c : cases) {
        dir.Write(L"u.xml", std::string("<uidef>") + c.font + "</uidef>");
        SAutoRefPtr<IResProvider> files = FolderProvider(dir);
        app.AddResProvider(files.get(), L"uidef:u");
        const LOGFONTW &lf = SFontPool::GetSingletonPtr()->GetDefaultLogFont();
        EXPECT_EQ(lf.lfHeight, c.height) << c.font;
        EXPECT_EQ(lf.lfCharSet, c.charset) << c.font;
        app.RemoveResProvider(files.get());
    }
}

TEST_F(SUiDefLeaks, UiDefinitionWithoutAnApplicationKeepsItsNamedValuesOnly)
{
    SResProviderMgr mgr;
    SAutoRefPtr<IResProvider> pe = PeProvider();
    mgr.AddResProvider(pe.get(), L"UIDEF:XML_FULL"); // no pools to push to: nothing made, no crash
    mgr.AddResProvider(pe.get(), L"UIDEF:XML_INIT");
    EXPECT_EQ(mgr.GetColor(L"@color/grey"), 0xFF808080u);
    mgr.RemoveAll();
}

TEST_F(SUiDefLeaks, ImagesFromProvidersAndFiles)
{
    Render render;
    SApplication app(render.factory, GetModuleHandleW(nullptr), L"WUIHOST");
    TempFolder dir(L"res_images");
    dir.Write(L"uires.idx", "<resource><png><file name='redblue' path='red.bmp'/><file name='rb' path='rb.png'/>"
                            "<file name='gone' path='gone.png'/><file name='junk' path='junk.png'/></png></resource>");
    dir.Write(L"rb.png", ResourceBytes(L"PNG", L"REDBLUE"));
    dir.Write(L"red.bmp", ResourceBytes(L"BMPFILE", L"REDFILE"));
    dir.Write(L"junk.png", "not an image");
    SAutoRefPtr<IResProvider> pe = PeProvider(), files = FolderProvider(dir);
    app.AddResProvider(pe.get());
    const std::wstring path = dir.File(L"rb.png"), missing = dir.File(L"none.png");

    struct Case {
        const wchar_t *type, *name;
        UINT width; // 0: nothing loads
    } cases[] = {
        {L"PNG", L"REDBLUE", 2},
        {L"png", L"redblue", 2},
        {L"PNG", L"BROKEN", 0}, // bytes that do not decode
        {L"PNG", L"MISSING", 0},
        {L"XML", L"SYS_XML_SKIN", 0},
        {L"file", path.c_str(), 2},
        {L"FILE", path.c_str(), 2},
        {L"file", missing.c_str(), 0},
        {L"file", L"", 0},
        {nullptr, L"REDBLUE", 0},
    };
    for (const Case &c : cases) {
        SAutoRefPtr<IBitmap> bitmap = AdoptRef(app.LoadImage(c.type, c.name));
        SAutoRefPtr<IImgX> img = AdoptRef(app.LoadImgX(c.type, c.name));
        const wchar_t *label = c.name ? c.name : L"(null)";
        EXPECT_EQ(bitmap ? bitmap->Width() : 0u, c.width) << label;
        UINT w = 0, h = 0;
        IImgFrame *frame = img ? img->GetFrame(0) : nullptr;
        if (frame)
            frame->GetSize(&w, &h);
        EXPECT_EQ(w, c.width) << label;
    }

    // The folder, added last, answers first; files that are missing or junk load nothing.
    app.AddResProvider(files.get());
    struct IdCase {
        const wchar_t *id;
        UINT width;
    } ids[] = {
        {L"PNG:REDBLUE", 4}, {L"png:rb", 2}, {L"png:gone", 0}, {L"png:junk", 0},
        {L"PNG", 0},         {L"", 0},       {L":REDBLUE", 0}, {nullptr, 0},
    };
    for (const IdCase &c : ids) {
        SAutoRefPtr<IBitmap> bitmap = AdoptRef(app.LoadImageById(c.id));
        EXPECT_EQ(bitmap ? bitmap->Width() : 0u, c.width) << (c.id ? c.id : L"(null)");
    }
    app.RemoveResProvider(files.get());
    SAutoRefPtr<IBitmap> back = AdoptRef(app.LoadImageById(L"PNG:REDBLUE"));
    ASSERT_NE(back.get(), nullptr);
    EXPECT_EQ(back->Width(), 2u);
    EXPECT_EQ(PixelAt(back, 1, 0), kBlue);
}

TEST_F(SUiDefLeaks, NoImagesWithoutARenderFactoryOrDecoder)
{
    SAutoRefPtr<IResProvider> pe = PeProvider();
    {
        SResProviderMgr bare; // no application at all
        bare.AddResProvider(pe.get());
        EXPECT_EQ(bare.LoadImage(L"PNG", L"REDBLUE"), nullptr);
        EXPECT_EQ(bare.LoadImgX(L"PNG", L"REDBLUE"), nullptr);
    }
    {
        SApplication app(nullptr, GetModuleHandleW(nullptr), L"WUIHOST");
        app.AddResProvider(pe.get());
        EXPECT_EQ(app.LoadImage(L"PNG", L"REDBLUE"), nullptr);
        EXPECT_EQ(app.LoadImgX(L"PNG", L"REDBLUE"), nullptr);
    }
    Render noDecoder(false);
    SApplication app(noDecoder.factory, GetModuleHandleW(nullptr), L"WUIHOST");
    app.AddResProvider(pe.get());
    EXPECT_EQ(app.LoadImage(L"PNG", L"REDBLUE"), nullptr);
    EXPECT_EQ(app.LoadImgX(L"PNG", L"REDBLUE"), nullptr);
}
