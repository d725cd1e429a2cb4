#include "MenuEnv.h"

#include "core/STranslator.h"
#include "render/IImgDecoder.h"

#include <string>

using namespace WUI;

namespace menutest {

namespace {

// "context:text" for the listed contexts.
class MarkingTranslator : public TObjRefImpl<ITranslatorMgr> {
public:
    explicit MarkingTranslator(const wchar_t* contexts) : m_contexts(std::wstring(L";") + contexts + L";") {}
    BOOL CreateTranslator(ITranslator**) override { return FALSE; }
    BOOL InstallTranslator(ITranslator*) override { return FALSE; }
    BOOL UninstallTranslator(REFGUID) override { return FALSE; }
    SStringW Translate(const SStringW& source, const SStringW& context) override
    {
        if (m_contexts.find(L";" + std::wstring(context.c_str()) + L";") == std::wstring::npos) return source;
        return context + L":" + source;
    }

private:
    std::wstring m_contexts;
};

}  // namespace

MenuEnv::MenuEnv()
{
    CreateRenderFactory_GDI(&m_factory);
    // The built-in skins' images decode as the programs decode them.
    IImgDecoderFactory* decoders = nullptr;
    if (m_factory && CreateImgDecoderFactory(L"imgdecoder-gdip", &decoders) && decoders) {
        m_factory->SetImgDecoderFactory(decoders);
        decoders->Release();
    }
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    m_app.reset(new SApplication(m_factory, module, L"WUIHOST"));
    IResProvider* pe = nullptr;
    if (CreateResProvider(0, &pe) && pe) {
        pe->Init(reinterpret_cast<WPARAM>(module));
        m_app->LoadSystemResources(pe);
        m_app->AddResProvider(pe);
        pe->Release();
    }
}

MenuEnv::~MenuEnv()
{
    if (m_skins) SSkinPoolMgr::GetSingletonPtr()->PopSkinPool(m_skins);
    m_skins = nullptr;
    m_app.reset();
    if (m_factory) m_factory->Release();
}

void MenuEnv::AddSkins(const wchar_t* xml)
{
    pugi::xml_document doc;
    doc.load_string(xml);
    if (!m_skins) {
        m_skins.Attach(new SSkinPool);
        SSkinPoolMgr::GetSingletonPtr()->PushSkinPool(m_skins);
    }
    m_skins->LoadSkins(doc.first_child());
}

void MenuEnv::TranslateIn(const wchar_t* contexts)
{
    SAutoRefPtr<ITranslatorMgr> translator;
    translator.Attach(new MarkingTranslator(contexts));
    m_app->SetTranslator(translator);
}

SAutoRefPtr<IRenderTarget> MenuEnv::NewTarget(int width, int height)
{
    SAutoRefPtr<IRenderTarget> rt;
    IRenderTarget* made = nullptr;
    if (m_factory && m_factory->CreateRenderTarget(&made, width, height)) rt.Attach(made);
    return rt;
}

void MenuTest::SetUp()
{
    LeakChecked::SetUp();
    m_env.reset(new MenuEnv);
}

void MenuTest::TearDown()
{
    m_env.reset();
    LeakChecked::TearDown();
}

bool MenuTest::Load(SMenu& menu, const wchar_t* xml)
{
    pugi::xml_document doc;
    if (!doc.load_string(xml)) return false;
    return menu.LoadMenu(doc.first_child()) != FALSE;
}

MENUITEMINFOW ItemInfo(HMENU menu, int position)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
    if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) info.fMask = 0;
    return info;
}

const SMenuItemData* ItemData(HMENU menu, int position)
{
    return reinterpret_cast<const SMenuItemData*>(ItemInfo(menu, position).dwItemData);
}

}  // namespace menutest
