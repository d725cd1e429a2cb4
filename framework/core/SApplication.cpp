#include "core/SApplication.h"
#include "core/CSimpleWndHelper.h"
#include "core/SDefMsgLoopFactory.h"
#include "core/SResProviderFiles.h"
#include "core/SRicheditMenuDef.h"
#include "core/STimer2.h"
#include "core/SWindowFinder.h"
#include "core/SWindowMgr.h"
#include "core/XmlLookup.h"
#include <vector>

namespace WUI {

std::wstring SApplication::ModuleFileName(HMODULE module)
{
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = ::GetModuleFileNameW(module, buf.data(), static_cast<DWORD>(buf.size()));
        if (!n)
            return std::wstring();
        // A cut-off result fills the buffer and may lack its NUL: use the length only.
        if (n < buf.size())
            return std::wstring(buf.data(), n);
        if (buf.size() >= 32768)
            return std::wstring();
        buf.resize(buf.size() * 2);
    }
}

SApplication::SApplication(HINSTANCE instance, LPCWSTR hostClassName) : m_instance(instance)
{
    CreateSingletons(hostClassName);
    m_translator.Attach(new SNullTranslator);
    m_msgLoopFactory.Attach(new SDefMsgLoopFactory);

    m_appDir = ModuleFileName(instance);
    size_t slash = m_appDir.rfind(L'\\');
    m_appDir.resize(slash == std::wstring::npos ? 0 : slash);

    m_msgLoop = m_msgLoopFactory->CreateMsgLoop();
}

// Singletons whose code is not in this library yet take their places in the
// order: window manager, timer, [script timer, font pool, skin pool manager,
// style pool manager, default attributes], finder; then the native-window
// support, [text services], the rich-edit menu definition.
void SApplication::CreateSingletons(LPCWSTR hostClassName)
{
    m_windowMgr.reset(new SWindowMgr);
    m_timer.reset(new STimer2);
    m_finder.reset(new SWindowFinder);
    if (!CSimpleWndHelper::GetSingletonPtr())
        m_wndHelper.reset(CSimpleWndHelper::Create(m_instance, hostClassName));
    if (!SRicheditMenuDef::GetSingletonPtr())
        m_editMenuDef.reset(new SRicheditMenuDef);
}

void SApplication::DestroySingletons()
{
    m_finder.reset();
    m_timer.reset();
    m_windowMgr.reset();
    m_wndHelper.reset();
    m_editMenuDef.reset();
}

SApplication::~SApplication()
{
    if (m_msgLoopFactory)
        m_msgLoopFactory->DestroyMsgLoop(m_msgLoop);
    m_msgLoop = nullptr;
    RemoveAll();
    DestroySingletons();
    m_appDir.clear();
    m_msgLoopFactory = nullptr;
    m_translator = nullptr;
}

int SApplication::LoadSystemResources(IResProvider *provider)
{
    if (!provider)
        return kMissingSysSkin | kMissingEditMenu | kMissingMsgBox;
    AddResProvider(provider);
    int missing = 0;
    pugi::xml_document skin, menu, msgbox;
    // The built-in skin pool and the message-box template take these documents
    // once their code exists; here they are only checked for being there.
    if (!LoadXmlFromProvider(provider, L"XML:SYS_XML_SKIN", skin) || !XmlChildNoCase(skin, L"skin"))
        missing |= kMissingSysSkin;
    pugi::xml_node editmenu;
    if (LoadXmlFromProvider(provider, L"XML:SYS_XML_EDITMENU", menu))
        editmenu = XmlChildNoCase(menu, L"editmenu");
    if (editmenu && SRicheditMenuDef::GetSingletonPtr())
        SRicheditMenuDef::GetSingletonPtr()->SetMenu(editmenu);
    else
        missing |= kMissingEditMenu;
    if (!LoadXmlFromProvider(provider, L"XML:SYS_XML_MSGBOX", msgbox) || !XmlChildNoCase(msgbox, L"WUI"))
        missing |= kMissingMsgBox;
    RemoveResProvider(provider);
    return missing;
}

void SApplication::InitXmlNamedID(const SNamedID::TableEntry *entries, int count, bool sorted)
{
    m_namedIds.InitFromTable(entries, count, sorted);
}

bool SApplication::LoadXmlDocument(pugi::xml_document &doc, LPCWSTR name, LPCWSTR type)
{
    std::vector<char> bytes;
    if (!name || !type || !ReadResource(type, name, bytes))
        return false;
    return ParseXmlBytes(bytes, doc);
}

bool SApplication::LoadXmlDocumentById(pugi::xml_document &doc, LPCWSTR id)
{
    std::wstring parts[2];
    if (ParseResId(id, parts) != 2)
        return false;
    return LoadXmlDocument(doc, parts[1].c_str(), parts[0].c_str());
}

int SApplication::Run(HWND mainWnd)
{
    m_mainWnd = mainWnd;
    return m_msgLoop ? m_msgLoop->Run() : -1;
}

void SApplication::SetTranslator(ITranslatorMgr *mgr)
{
    if (mgr)
        m_translator = mgr;
}

BOOL SApplication::SetMsgLoopFactory(IMsgLoopFactory *factory)
{
    if (!factory || (m_msgLoop && m_msgLoop->IsRunning()))
        return FALSE;
    if (factory == m_msgLoopFactory.get())
        return TRUE;
    SMessageLoop *loop = factory->CreateMsgLoop();
    if (!loop)
        return FALSE;
    m_msgLoopFactory->DestroyMsgLoop(m_msgLoop);
    m_msgLoopFactory = factory;
    m_msgLoop = loop;
    return TRUE;
}

} // namespace WUI
