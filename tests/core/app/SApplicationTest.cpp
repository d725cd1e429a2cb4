#include "core/SApplication.h"
#include "core/CSimpleWnd.h"
#include "core/CSimpleWndHelper.h"
#include "core/SDefMsgLoopFactory.h"
#include "core/SMessageBoxTemplate.h"
#include "core/SObjDefAttr.h"
#include "core/SObject.h"
#include "core/SResProviderFiles.h"
#include "core/SResProviderPE.h"
#include "core/SRicheditMenuDef.h"
#include "core/SScriptTimer.h"
#include "core/STextServiceHelper.h"
#include "core/STimer2.h"
#include "core/SWindowFinder.h"
#include "core/SWindowMgr.h"
#include "render/IRenderTarget.h"
#include "render/SFontPool.h"
#include "render/SSkinPool.h"
#include "render/SStylePool.h"
#include "TempFolder.h"
#include "AdoptRef.h"
#include "../LeakCheck.h"
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace WUI;

class SApplicationLeaks : public LeakChecked {};

namespace {

SAutoRefPtr<IResProvider> PeProvider()
{
    SAutoRefPtr<IResProvider> pe = AdoptRef<IResProvider>(new SResProviderPE);
    pe->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
    return pe;
}

// Counts the loops it makes and destroys; can be told to make none.
class CountingFactory : public TObjRefImpl<IMsgLoopFactory> {
public:
    explicit CountingFactory(bool makes = true) : m_makes(makes) {}
    SMessageLoop *CreateMsgLoop() override
    {
        if (!m_makes)
            return nullptr;
        ++created;
        return new SMessageLoop;
    }
    void DestroyMsgLoop(SMessageLoop *loop) override
    {
        if (loop)
            ++destroyed;
        delete loop;
    }
    int created = 0;
    int destroyed = 0;

private:
    bool m_makes;
};

} // namespace

TEST_F(SApplicationLeaks, SingletonsLiveWithTheApplication)
{
    {
        SApplication app(GetModuleHandleW(nullptr), L"WUIHOST");
        EXPECT_EQ(SApplication::GetSingletonPtr(), &app);
        EXPECT_NE(SWindowMgr::GetSingletonPtr(), nullptr);
        EXPECT_NE(STimer2::GetSingletonPtr(), nullptr);
        EXPECT_NE(SScriptTimer::GetSingletonPtr(), nullptr);
        EXPECT_NE(SWindowFinder::GetSingletonPtr(), nullptr);
        EXPECT_NE(SRicheditMenuDef::GetSingletonPtr(), nullptr);
        EXPECT_NE(CSimpleWndHelper::GetSingletonPtr(), nullptr);
        ASSERT_NE(app.GetTranslator(), nullptr);
        EXPECT_EQ(app.GetTranslator()->Translate(L"Hello", L""), L"Hello");
        EXPECT_NE(app.GetMsgLoop(), nullptr);
        EXPECT_NE(app.GetToolTipFactory(), nullptr);
        EXPECT_EQ(app.GetInstance(), GetModuleHandleW(nullptr));

        SStringW exe = SApplication::ModuleFileName(nullptr);
        EXPECT_EQ(app.GetAppDir() + L"\\core_app_test.exe", exe);
    }
    EXPECT_EQ(SApplication::GetSingletonPtr(), nullptr);
    EXPECT_EQ(SWindowMgr::GetSingletonPtr(), nullptr);
    EXPECT_EQ(STimer2::GetSingletonPtr(), nullptr);
    EXPECT_EQ(SScriptTimer::GetSingletonPtr(), nullptr);
    EXPECT_EQ(SWindowFinder::GetSingletonPtr(), nullptr);
    EXPECT_EQ(SRicheditMenuDef::GetSingletonPtr(), nullptr);
    // The support object was made by the test before the application, so it stays.
    EXPECT_NE(CSimpleWndHelper::GetSingletonPtr(), nullptr);
}

namespace {

// One letter per framework singleton that exists, in the order of their
// making ('.' for one that does not): Application, window Manager, Timer,
// scRipt timer, Font pool, sKin pools, Style pools, class Defaults, Window
// finder, Edit menu.
std::string LiveSingletons()
{
    const bool live[] = {SApplication::GetSingletonPtr() != nullptr,  SWindowMgr::GetSingletonPtr() != nullptr,
                         STimer2::GetSingletonPtr() != nullptr,       SScriptTimer::GetSingletonPtr() != nullptr,
                         SFontPool::GetSingletonPtr() != nullptr,     SSkinPoolMgr::GetSingletonPtr() != nullptr,
                         SStylePoolMgr::GetSingletonPtr() != nullptr, SObjDefAttr::GetSingletonPtr() != nullptr,
                         SWindowFinder::GetSingletonPtr() != nullptr, SRicheditMenuDef::GetSingletonPtr() != nullptr};
    std::string text;
    for (size_t i = 0; i < sizeof(live) / sizeof(live[0]); ++i)
        text += live[i] ? "AMTRFKSDWE"[i] : '.';
    return text;
}

// A render factory over the GDI one that notes which singletons exist when
// it makes a font and when a reference to it is dropped. The test owns it.
class WatchingFactory : public IRenderFactory {
public:
    WatchingFactory() { CreateRenderFactory_GDI(&m_real); }
    ~WatchingFactory() { m_real->Release(); }
    long AddRef() override { return ++refs; }
    long Release() override
    {
        notes.push_back("release " + LiveSingletons());
        return --refs;
    }
    void OnFinalRelease() override {}
    IImgDecoderFactory *GetImgDecoderFactory() override { return m_real->GetImgDecoderFactory(); }
    void SetImgDecoderFactory(IImgDecoderFactory *f) override { m_real->SetImgDecoderFactory(f); }
    BOOL CreateRenderTarget(IRenderTarget **out, int w, int h) override { return m_real->CreateRenderTarget(out, w, h); }
    BOOL CreateFont(IFont **out, const LOGFONTW &lf, LPCWSTR props) override
    {
        notes.push_back("font " + LiveSingletons());
        return m_real->CreateFont(out, lf, props);
    }
    BOOL CreateBitmap(IBitmap **out) override { return m_real->CreateBitmap(out); }
    BOOL CreateRegion(IRegion **out) override { return m_real->CreateRegion(out); }

    std::vector<std::string> notes;
    long refs = 1;

private:
    IRenderFactory *m_real = nullptr;
};

class WatchingProvider : public SResProviderPE {
public:
    explicit WatchingProvider(std::vector<std::string> &notes) : m_notes(notes) {}
    ~WatchingProvider() override { m_notes.push_back("provider " + LiveSingletons()); }

private:
    std::vector<std::string> &m_notes;
};

class WatchingTips : public TObjRefImpl<IToolTipFactory> {
public:
    explicit WatchingTips(std::vector<std::string> &notes) : m_notes(notes) {}
    ~WatchingTips() override { m_notes.push_back("tips " + LiveSingletons()); }
    IToolTip *CreateToolTip(HWND) override { return nullptr; }
    void DestroyToolTip(IToolTip *) override {}

private:
    std::vector<std::string> &m_notes;
};

class WatchingLoops : public CountingFactory {
public:
    explicit WatchingLoops(std::vector<std::string> &notes) : m_notes(notes) {}
    void DestroyMsgLoop(SMessageLoop *loop) override
    {
        m_notes.push_back("loop " + LiveSingletons());
        CountingFactory::DestroyMsgLoop(loop);
    }

private:
    std::vector<std::string> &m_notes;
};

} // namespace

// Made in the order window manager, timer, script timer, font pool, skin
// pools, style pools, class defaults, finder, edit menu; the main loop and the
// providers go first, then the singletons in reverse, then the tooltip
// factory, and the render factory last.
TEST_F(SApplicationLeaks, SingletonsMadeAndDestroyedInOrder)
{
    const bool helperBefore = CSimpleWndHelper::GetSingletonPtr() != nullptr;
    EXPECT_EQ(LiveSingletons(), "..........");
    WatchingFactory render;
    {
        SApplication app(&render, GetModuleHandleW(nullptr), L"WUIHOST");
        ASSERT_EQ(render.notes, std::vector<std::string>{"font AMTRF....."});
        EXPECT_EQ(LiveSingletons(), "AMTRFKSDWE");
        SAutoRefPtr<WatchingLoops> loops = AdoptRef(new WatchingLoops(render.notes));
        ASSERT_TRUE(app.SetMsgLoopFactory(loops.get()));
        app.SetToolTipFactory(AdoptRef(new WatchingTips(render.notes)).get());
        WatchingProvider *provider = new WatchingProvider(render.notes);
        provider->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
        app.AddResProvider(provider);
        provider->Release(); // the application's entry holds the last reference
        render.notes.clear();
    }
    const std::vector<std::string> expected = {"loop AMTRFKSDWE", "provider AMTRFKSDWE", "release AMTRF....E",
                                               "tips A.........", "release A........."};
    EXPECT_EQ(render.notes, expected);
    EXPECT_EQ(render.refs, 1);
    EXPECT_EQ(LiveSingletons(), "..........");
    EXPECT_EQ(CSimpleWndHelper::GetSingletonPtr() != nullptr, helperBefore);
}

TEST_F(SApplicationLeaks, SystemResourcesComeFromTheGivenProviderOnly)
{
    SApplication app(GetModuleHandleW(nullptr), L"WUIHOST");
    SAutoRefPtr<IResProvider> pe = PeProvider();
    EXPECT_EQ(app.LoadSystemResources(pe.get()), 0);
    pugi::xml_node menu = SRicheditMenuDef::GetSingletonPtr()->GetMenu();
    EXPECT_STREQ(menu.name(), L"editmenu");
    EXPECT_EQ(menu.attribute(L"itemHeight").as_int(), 26);
    EXPECT_EQ(std::distance(menu.children(L"item").begin(), menu.children(L"item").end()), 5);
    pugi::xml_node msgbox = GetMessageBoxTemplate();
    EXPECT_STREQ(msgbox.attribute(L"minSize").value(), L"300,132");
    EXPECT_STREQ(msgbox.attribute(L"title").value(), L"mesagebox");
    EXPECT_EQ(app.FindProvider(L"XML", L"SYS_XML_SKIN"), nullptr); // removed again

    // A provider that lacks them gets 7, even while another one has them all.
    TempFolder dir(L"app_sys");
    dir.Write(L"uires.idx", "<resource/>");
    SAutoRefPtr<IResProvider> files = AdoptRef<IResProvider>(new SResProviderFiles);
    ASSERT_TRUE(files->Init(reinterpret_cast<WPARAM>(dir.Path().c_str())));
    app.AddResProvider(pe.get());
    EXPECT_EQ(app.LoadSystemResources(files.get()), kMissingSysSkin | kMissingEditMenu | kMissingMsgBox);
    EXPECT_EQ(app.FindProvider(L"XML", L"SYS_XML_SKIN"), pe.get());
    app.RemoveResProvider(pe.get());
    EXPECT_EQ(app.FindProvider(L"XML", L"SYS_XML_SKIN"), nullptr);
    EXPECT_EQ(app.LoadSystemResources(nullptr), 7);
    ReleaseGlobalMsgBoxTemplate();
}

// The message box takes only a "WUI" root with both frame and minimum sizes;
// anything else leaves the template it had.
TEST_F(SApplicationLeaks, MessageBoxTemplateNeedsFrameAndMinimumSize)
{
    const struct Case {
        const wchar_t *xml;
        BOOL taken;
    } cases[] = {
        {L"<WUI frameSize='1,2,3,4' minSize='10,20'><root/></WUI>", TRUE},
        {L"<wui frameSize='1,2,3,4' minSize='30,40'/>", TRUE},
        {L"<WUI minSize='10,20'/>", FALSE},
        {L"<WUI frameSize='1,2,3,4' minSize=''/>", FALSE},
        {L"<layout frameSize='1,2,3,4' minSize='10,20'/>", FALSE},
    };
    for (const Case &c : cases) {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(c.xml));
        EXPECT_EQ(SetMessageBoxTemplate(doc.first_child()), c.taken) << std::wstring(c.xml).size();
    }
    EXPECT_STREQ(GetMessageBoxTemplate().attribute(L"minSize").value(), L"30,40");
    EXPECT_FALSE(SetMessageBoxTemplate(pugi::xml_node()));
    ReleaseGlobalMsgBoxTemplate();
    EXPECT_FALSE(GetMessageBoxTemplate());
}

TEST_F(SApplicationLeaks, RealWindowHandlerAndScriptFactoryAreHeldByReference)
{
    struct Handler : TObjRefImpl<IRealWindowHandler> {
        HWND OnRealWindowCreate(SRealWnd *) override { return nullptr; }
        void OnRealWindowDestroy(SRealWnd *) override {}
        void OnRealWindowInit(SRealWnd *) override {}
        BOOL OnRealWindowSize(SRealWnd *) override { return FALSE; }
    };
    struct Module : TObjRefImpl<IScriptModule> {
        int RunHandler(LPCSTR, EventArgs &) override { return 0; }
        int LoadScriptBuffer(const char *, size_t) override { return 1; }
    };
    struct Factory : TObjRefImpl<IScriptFactory> {
        HRESULT CreateScriptModule(IScriptModule **out) override
        {
            *out = new Module;
            return S_OK;
        }
    };
    SAutoRefPtr<Handler> handler = AdoptRef(new Handler);
    SAutoRefPtr<Factory> factory = AdoptRef(new Factory);
    {
        SApplication app(GetModuleHandleW(nullptr), L"WUIHOST");
        EXPECT_EQ(app.GetRealWndHandler(), nullptr);
        IScriptModule *module = reinterpret_cast<IScriptModule *>(1);
        EXPECT_EQ(app.CreateScriptModule(&module), E_FAIL);
        EXPECT_EQ(module, nullptr);
        app.SetRealWndHandler(handler.get());
        app.SetScriptFactory(factory.get());
        app.SetScriptFactory(factory.get()); // the same pointer again changes nothing
        EXPECT_EQ(app.GetRealWndHandler(), handler.get());
        EXPECT_EQ(app.CreateScriptModule(&module), S_OK);
        ASSERT_NE(module, nullptr);
        module->Release();
        EXPECT_EQ(handler->AddRef(), 3); // ours, the application's, this call's
        handler->Release();
        EXPECT_NE(STextServiceHelper::GetSingletonPtr(), nullptr);
    }
    EXPECT_EQ(handler->AddRef(), 2); // released with the application
    handler->Release();
    EXPECT_EQ(factory->AddRef(), 2);
    factory->Release();
    EXPECT_EQ(STextServiceHelper::GetSingletonPtr(), nullptr);
}

TEST_F(SApplicationLeaks, XmlDocumentsByIdAndFromFiles)
{
    SApplication app(GetModuleHandleW(nullptr), L"WUIHOST");
    SAutoRefPtr<IResProvider> pe = PeProvider();
    app.AddResProvider(pe.get());
    struct Case {
        const wchar_t *id;
        bool loads;
    } cases[] = {
        {L"LAYOUT:XML_MAINWND", true},
        {L"layout:xml_mainwnd", true},
        {L"LAYOUT", false},
        {L"LAYOUT:MISSING", false},
        {L"LAYOUT:BROKEN", false},
        {L"", false},
    };
    for (const Case &c : cases) {
        pugi::xml_document doc;
        EXPECT_EQ(app.LoadXmlDocumentById(doc, c.id), c.loads) << c.id;
    }
    TempFolder dir(L"app_xml");
    dir.Write(L"a.xml", "<WUI><root/></WUI>");
    pugi::xml_document doc;
    ASSERT_TRUE(app.LoadXmlDocument(doc, dir.File(L"a.xml").c_str(), L"file"));
    EXPECT_TRUE(doc.child(L"WUI").child(L"root"));
    EXPECT_FALSE(app.LoadXmlDocument(doc, dir.File(L"b.xml").c_str(), L"file"));
}

TEST_F(SApplicationLeaks, NamedIds)
{
    SApplication app(GetModuleHandleW(nullptr), L"WUIHOST");
    const SNamedID::TableEntry table[] = {{L"btn_close", 101}, {L"btn_min", 102}, {L"a", 1}};
    app.InitXmlNamedID(table, 3, false);
    EXPECT_EQ(app.GetNamedId(L"btn_min"), 102);
    EXPECT_EQ(app.GetNamedId(L"a"), 1);
    EXPECT_EQ(app.GetNamedId(L"missing"), 0);
}

TEST_F(SApplicationLeaks, MessageLoopFactoryAndRun)
{
    SApplication app(GetModuleHandleW(nullptr), L"WUIHOST");
    SMessageLoop *first = app.GetMsgLoop();
    EXPECT_FALSE(app.SetMsgLoopFactory(nullptr));
    SAutoRefPtr<CountingFactory> none = AdoptRef<CountingFactory>(new CountingFactory(false));
    EXPECT_FALSE(app.SetMsgLoopFactory(none.get()));
    EXPECT_EQ(app.GetMsgLoop(), first);

    SAutoRefPtr<CountingFactory> counting = AdoptRef<CountingFactory>(new CountingFactory);
    ASSERT_TRUE(app.SetMsgLoopFactory(counting.get()));
    EXPECT_EQ(counting->created, 1);
    SMessageLoop *second = app.GetMsgLoop();
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(app.GetMsgLoopFactory(), counting.get());

    // While the loop runs, replacing the factory is refused.
    SAutoRefPtr<CountingFactory> late = AdoptRef<CountingFactory>(new CountingFactory);
    BOOL duringRun = TRUE;
    struct Poster : WUI::IIdleHandler {
        std::function<void()> f;
        BOOL OnIdle() override
        {
            f();
            return FALSE;
        }
    } idle;
    idle.f = [&] {
        duringRun = app.SetMsgLoopFactory(late.get());
        PostQuitMessage(17);
    };
    second->AddIdleHandler(&idle);
    HWND main = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(app.Run(main), 17);
    EXPECT_EQ(app.GetMainWnd(), main);
    EXPECT_FALSE(duringRun);
    EXPECT_EQ(late->created, 0);
    EXPECT_EQ(app.GetMsgLoop(), second);
    second->RemoveIdleHandler(&idle);

    ASSERT_TRUE(app.SetMsgLoopFactory(late.get()));
    EXPECT_EQ(counting->destroyed, 1); // the old loop went back to its own factory
}

TEST_F(SApplicationLeaks, TranslatorReplacement)
{
    SApplication app(GetModuleHandleW(nullptr), L"WUIHOST");
    ITranslatorMgr *mgr = nullptr;
    ASSERT_TRUE(CreateTranslatorMgr(&mgr));
    app.SetTranslator(mgr);
    EXPECT_EQ(app.GetTranslator(), mgr);
    app.SetTranslator(nullptr); // refused: callers rely on a translator being there
    EXPECT_EQ(app.GetTranslator(), mgr);
    EXPECT_EQ(mgr->AddRef(), 3);
    mgr->Release();
    mgr->Release();
}

TEST_F(SApplicationLeaks, ObjectsTranslateThroughTheApplication)
{
    SObject plain;
    {
        SApplication app(GetModuleHandleW(nullptr), L"WUIHOST");
        ITranslatorMgr *mgr = nullptr;
        ASSERT_TRUE(CreateTranslatorMgr(&mgr));
        SAutoRefPtr<ITranslatorMgr> hold = AdoptRef(mgr);
        ITranslator *t = nullptr;
        ASSERT_TRUE(mgr->CreateTranslator(&t));
        SAutoRefPtr<ITranslator> holdT = AdoptRef(t);
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(L"<language name='x' guid='{11111111-2222-3333-4444-555555555555}'>"
                                    L"<context name=''><message><source>Yes</source>"
                                    L"<translation>Ja</translation></message></context></language>"));
        pugi::xml_node lang = doc.first_child();
        ASSERT_TRUE(t->Load(&lang, 1));
        ASSERT_TRUE(mgr->InstallTranslator(t));
        app.SetTranslator(mgr);
        EXPECT_EQ(plain.TranslateText(L"Yes"), L"Ja");
        EXPECT_EQ(plain.TranslateText(L"No"), L"No");
    }
    EXPECT_EQ(plain.TranslateText(L"Yes"), L"Yes"); // no application: unchanged
}

namespace {

// Sends a 32-bit premultiplied image of the given size to a layered window.
BOOL ShowImage(HWND hWnd, int cx, int cy, bool byFields, const SApplication &app)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    for (int i = 0; i < cx * cy; ++i)
        static_cast<DWORD *>(bits)[i] = 0x80400000; // half-transparent blue, premultiplied
    SIZE size = {cx, cy};
    POINT src = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UPDATELAYEREDWINDOWINFO info = {};
    info.cbSize = sizeof(info);
    info.psize = &size;
    info.hdcSrc = dc;
    info.pptSrc = &src;
    info.pblend = &blend;
    info.dwFlags = ULW_ALPHA;
    BOOL ok = byFields ? SApplication::UpdateLayeredByFields(hWnd, &info) : app.UpdateLayered(hWnd, &info);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
    return ok;
}

} // namespace

TEST_F(SApplicationLeaks, LayeredWindowUpdateWithAndWithoutTheIndirectForm)
{
    SApplication app(GetModuleHandleW(nullptr), L"WUIHOST");
    CSimpleWnd w;
    ASSERT_NE(w.Create(L"layered", WS_POPUP, WS_EX_LAYERED, 10, 10, 50, 50, nullptr, nullptr), nullptr);
    RECT rc;
    ASSERT_TRUE(ShowImage(w.m_hWnd, 20, 10, false, app));
    w.GetWindowRect(&rc);
    EXPECT_EQ(rc.right - rc.left, 20);
    EXPECT_EQ(rc.bottom - rc.top, 10);
    ASSERT_TRUE(ShowImage(w.m_hWnd, 30, 15, true, app));
    w.GetWindowRect(&rc);
    EXPECT_EQ(rc.right - rc.left, 30);
    EXPECT_EQ(rc.bottom - rc.top, 15);
    EXPECT_FALSE(app.UpdateLayered(w.m_hWnd, nullptr));
    w.DestroyWindow();
}
