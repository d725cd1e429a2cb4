#include "core/SApplication.h"
#include "core/CSimpleWndHelper.h"
#include "core/SDefMsgLoopFactory.h"
#include "core/SDefToolTipFactory.h"
#include "core/SMessageBoxTemplate.h"
#include "core/SObjDefAttr.h"
#include "core/SResProviderFiles.h"
#include "core/SRicheditMenuDef.h"
#include "core/SScriptTimer.h"
#include "core/STextServiceHelper.h"
#include "core/STimer2.h"
#include "core/SWindowFinder.h"
#include "core/SWindowMgr.h"
#include "core/TranslateTextHook.h"
#include "core/XmlLookup.h"
#include "render/SFontPool.h"
#include "render/SSkinPool.h"
#include "render/SStylePool.h"
#include <cwchar>

namespace WUI {

SStringW SApplication::ModuleFileName(HMODULE module)
{
    for (int size = MAX_PATH; size <= 32768; size *= 2) {
        SStringW name;
        wchar_t *buf = name.GetBuffer(size);
        if (!buf)
            return SStringW();
        DWORD n = ::GetModuleFileNameW(module, buf, static_cast<DWORD>(size));
        if (!n)
            return SStringW();
        // A cut-off result fills the buffer and may lack its NUL: only the length counts.
        if (static_cast<int>(n) < size) {
            name.ReleaseBuffer(static_cast<int>(n));
            return name;
        }
    }
    return SStringW();
}

namespace {

// How objects built from XML reach the application's translator.
SStringW TranslateThroughApp(const SStringW &text, const SStringW &context)
{
    SApplication *app = SApplication::GetSingletonPtr();
    ITranslatorMgr *mgr = app ? app->GetTranslator() : nullptr;
    return mgr ? mgr->Translate(text, context) : text;
}

} // namespace

SApplication::SApplication(IRenderFactory *renderFactory, HINSTANCE instance, LPCWSTR hostClassName)
    : m_renderFactory(renderFactory), m_instance(instance)
{
    if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll"))
        m_updateLayeredIndirect = reinterpret_cast<FnUpdateLayeredIndirect>(
            reinterpret_cast<void *>(::GetProcAddress(user32, "UpdateLayeredWindowIndirect")));
    CreateSingletons(hostClassName);
    m_translator.Attach(new SNullTranslator);
    m_toolTipFactory.Attach(new SDefToolTipFactory);
    m_msgLoopFactory.Attach(new SDefMsgLoopFactory);

    const SStringW exe = ModuleFileName(instance);
    const wchar_t *slash = wcsrchr(exe, L'\\');
    m_appDir = slash ? exe.Left(static_cast<int>(slash - exe.c_str())) : SStringW();

    m_msgLoop = m_msgLoopFactory->CreateMsgLoop();
    SetTranslateTextHook(TranslateThroughApp);
}

// The order is fixed: what is made later may use what came before.
void SApplication::CreateSingletons(LPCWSTR hostClassName)
{
    m_windowMgr.reset(new SWindowMgr);
    m_timer.reset(new STimer2);
    m_scriptTimer.reset(new SScriptTimer);
    m_fontPool.reset(new SFontPool(m_renderFactory.get()));
    m_skinPoolMgr.reset(new SSkinPoolMgr);
    m_stylePoolMgr.reset(new SStylePoolMgr);
    m_defAttr.reset(new SObjDefAttr);
    m_finder.reset(new SWindowFinder);
    if (!CSimpleWndHelper::GetSingletonPtr())
        m_wndHelper.reset(CSimpleWndHelper::Create(m_instance, hostClassName));
    if (!STextServiceHelper::GetSingletonPtr())
        m_textServices.reset(new STextServiceHelper);
    if (!SRicheditMenuDef::GetSingletonPtr())
        m_editMenuDef.reset(new SRicheditMenuDef);
}

// In the reverse of their making; those made elsewhere stay.
void SApplication::DestroySingletons()
{
    m_finder.reset();
    m_defAttr.reset();
    m_stylePoolMgr.reset();
    m_skinPoolMgr.reset();
    m_fontPool.reset();
    m_scriptTimer.reset();
    m_timer.reset();
    m_windowMgr.reset();
    m_wndHelper.reset();
    m_textServices.reset();
    m_editMenuDef.reset();
}

SApplication::~SApplication()
{
    SetTranslateTextHook(nullptr);
    if (m_msgLoopFactory)
        m_msgLoopFactory->DestroyMsgLoop(m_msgLoop);
    m_msgLoop = nullptr;
    RemoveAll();
    DestroySingletons();
    m_appDir.Empty();
    m_msgLoopFactory = nullptr;
    m_toolTipFactory = nullptr;
    m_translator = nullptr;
    m_renderFactory = nullptr;
    m_scriptFactory = nullptr;
    m_realWndHandler = nullptr;
}

int SApplication::LoadSystemResources(IResProvider *provider)
{
    if (!provider)
        return kMissingSysSkin | kMissingEditMenu | kMissingMsgBox;
    AddResProvider(provider);
    int missing = 0;
    pugi::xml_document skin, menu, msgbox;
    pugi::xml_node skins;
    if (LoadXmlFromProvider(provider, L"XML:SYS_XML_SKIN", skin))
        skins = XmlChildNoCase(skin, L"skin");
    if (skins)
        m_skinPoolMgr->GetBuiltinPool()->LoadSkins(skins);
    else
        missing |= kMissingSysSkin;
    pugi::xml_node editmenu;
    if (LoadXmlFromProvider(provider, L"XML:SYS_XML_EDITMENU", menu))
        editmenu = XmlChildNoCase(menu, L"editmenu");
    if (editmenu && SRicheditMenuDef::GetSingletonPtr())
        SRicheditMenuDef::GetSingletonPtr()->SetMenu(editmenu);
    else
        missing |= kMissingEditMenu;
    if (!LoadXmlFromProvider(provider, L"XML:SYS_XML_MSGBOX", msgbox) ||
        !SetMessageBoxTemplate(XmlChildNoCase(msgbox, L"WUI")))
        missing |= kMissingMsgBox;
    RemoveResProvider(provider);
    return missing;
}

BOOL SApplication::UpdateLayered(HWND hWnd, const UPDATELAYEREDWINDOWINFO *info) const
{
    if (!info)
        return FALSE;
    return m_updateLayeredIndirect ? m_updateLayeredIndirect(hWnd, info) : UpdateLayeredByFields(hWnd, info);
}

BOOL SApplication::UpdateLayeredByFields(HWND hWnd, const UPDATELAYEREDWINDOWINFO *info)
{
    if (!info)
        return FALSE;
    return ::UpdateLayeredWindow(hWnd, info->hdcDst, const_cast<POINT *>(info->pptDst),
                                 const_cast<SIZE *>(info->psize), info->hdcSrc, const_cast<POINT *>(info->pptSrc),
                                 info->crKey, const_cast<BLENDFUNCTION *>(info->pblend),
                                 info->dwFlags & ~static_cast<DWORD>(ULW_EX_NORESIZE));
}

void SApplication::InitXmlNamedID(const SNamedID::TableEntry *entries, int count, bool sorted)
{
    m_namedIds.InitFromTable(entries, count, sorted);
}

bool SApplication::LoadXmlDocument(pugi::xml_document &doc, LPCWSTR name, LPCWSTR type)
{
    SResBuffer bytes;
    if (!name || !type || !ReadResource(type, name, bytes))
        return false;
    return ParseXmlBytes(bytes, doc);
}

bool SApplication::LoadXmlDocumentById(pugi::xml_document &doc, LPCWSTR id)
{
    SStringW parts[2];
    if (ParseResId(id, parts) != 2)
        return false;
    return LoadXmlDocument(doc, parts[1], parts[0]);
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

void SApplication::SetRealWndHandler(IRealWindowHandler *handler)
{
    m_realWndHandler = handler;
}

void SApplication::SetScriptFactory(IScriptFactory *factory)
{
    m_scriptFactory = factory;
}

HRESULT SApplication::CreateScriptModule(IScriptModule **out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    return m_scriptFactory ? m_scriptFactory->CreateScriptModule(out) : E_FAIL;
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

SAutoRefPtr<IRenderTarget> SApplication::NewMeasureTarget()
{
    SAutoRefPtr<IRenderTarget> target;
    SApplication *app = GetSingletonPtr();
    IRenderFactory *factory = app ? app->GetRenderFactory() : nullptr;
    IRenderTarget *rt = nullptr;
    if (factory && factory->CreateRenderTarget(&rt, 1, 1) && rt) target.Attach(rt);
    return target;
}

} // namespace WUI
