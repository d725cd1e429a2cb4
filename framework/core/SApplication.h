#pragma once
#include "core/IMsgLoopFactory.h"
#include "core/IRealWindowHandler.h"
#include "core/IScriptFactory.h"
#include "core/IToolTip.h"
#include "core/SNamedValue.h"
#include "core/SResProviderMgr.h"
#include "core/SSingleton.h"
#include "core/STranslator.h"
#include "core/SWindowFactoryMgr.h"
#include "core/TStringT.h"
#include "render/SSkinFactoryMgr.h"
#include <memory>

namespace WUI {

class CSimpleWndHelper;
struct IRenderFactory;
class SFontPool;
class SObjDefAttr;
class SSkinPoolMgr;
class SStylePoolMgr;
class SRicheditMenuDef;
class SScriptTimer;
class STextServiceHelper;
class STimer2;
class SWindowFinder;
class SWindowMgr;

// Bits of LoadSystemResources' result: what the provider lacked.
enum {
    kMissingSysSkin = 1,
    kMissingEditMenu = 2,
    kMissingMsgBox = 4,
};

// The one object a program makes before any window: it owns the window and
// skin factories, the resource providers, the translator manager, the
// tooltip and message-loop factories, the main loop, the named ids, and
// creates and destroys the framework singletons.
class SApplication : public SSingleton<SApplication>,
                     public SWindowFactoryMgr,
                     public SSkinFactoryMgr,
                     public SResProviderMgr {
public:
    using SSkinFactoryMgr::RegisterFactory;
    using SWindowFactoryMgr::RegisterFactory;
    using SWindowFactoryMgr::HasFactory;
    using SSkinFactoryMgr::HasFactory;

    // The render factory (add-ref'd; may be null, then no font or image can be made)
    // serves the font pool and the skins' images.
    SApplication(IRenderFactory *renderFactory, HINSTANCE instance, LPCWSTR hostClassName);
    SApplication(HINSTANCE instance, LPCWSTR hostClassName) : SApplication(nullptr, instance, hostClassName) {}
    ~SApplication() override;

    // Loads "XML:SYS_XML_SKIN", "XML:SYS_XML_EDITMENU" and "XML:SYS_XML_MSGBOX" from
    // this provider alone; returns the bits of those it lacked (0 = all there).
    int LoadSystemResources(IResProvider *provider);

    void InitXmlNamedID(const SNamedID::TableEntry *entries, int count, bool sorted);
    // 0 when the name is not in the table.
    int GetNamedId(LPCWSTR name) const { return m_namedIds.Get(name); }

    // Type "file": the file at path name; else the newest provider's resource.
    // False when it is missing or does not parse.
    bool LoadXmlDocument(pugi::xml_document &doc, LPCWSTR name, LPCWSTR type);
    // id "TYPE:NAME"; false for an id of any other shape, without asking a provider.
    bool LoadXmlDocumentById(pugi::xml_document &doc, LPCWSTR id);

    // Runs the main loop for the main window; returns the loop's exit code.
    int Run(HWND mainWnd);

    // Same manager: nothing; null is refused.
    void SetTranslator(ITranslatorMgr *mgr);
    ITranslatorMgr *GetTranslator() const { return m_translator.get(); }
    // Refused (FALSE) while the main loop runs, for null, and for a factory
    // that makes no loop; the old loop then stays.
    BOOL SetMsgLoopFactory(IMsgLoopFactory *factory);
    IMsgLoopFactory *GetMsgLoopFactory() const { return m_msgLoopFactory.get(); }
    SMessageLoop *GetMsgLoop() const { return m_msgLoop; }

    // Null means no tooltips: hosts then show none.
    void SetToolTipFactory(IToolTipFactory *factory) { m_toolTipFactory = factory; }
    IToolTipFactory *GetToolTipFactory() const { return m_toolTipFactory.get(); }

    // What "realwnd" elements ask to make their native windows; null (the
    // default) makes none. The same pointer again does nothing.
    void SetRealWndHandler(IRealWindowHandler *handler);
    IRealWindowHandler *GetRealWndHandler() const { return m_realWndHandler.get(); }
    // Where hosts get script modules for their layouts; null (the default) runs no script.
    void SetScriptFactory(IScriptFactory *factory);
    IScriptFactory *GetScriptFactory() const { return m_scriptFactory.get(); }
    // A new module from the script factory (one reference, the caller's) in
    // out; E_FAIL and null without a factory, else the factory's result.
    HRESULT CreateScriptModule(IScriptModule **out);

    IRenderFactory *GetRenderFactory() const { return m_renderFactory.get(); }
    // A 1 x 1 target of the running application's render factory, to
    // measure text on (0 x 0 bitmaps cannot be made); null without an
    // application or a factory, or when the target cannot be made.
    static SAutoRefPtr<IRenderTarget> NewMeasureTarget();
    HINSTANCE GetInstance() const { return m_instance; }
    HWND GetMainWnd() const { return m_mainWnd; }
    // The module's folder, without a trailing backslash.
    const SStringW &GetAppDir() const { return m_appDir; }

    // Puts a layered window's new image on screen; where user32 lacks the
    // indirect form, the record's fields go to UpdateLayeredWindow. FALSE on failure.
    BOOL UpdateLayered(HWND hWnd, const UPDATELAYEREDWINDOWINFO *info) const;
    static BOOL UpdateLayeredByFields(HWND hWnd, const UPDATELAYEREDWINDOWINFO *info);

    // The module's full file name, whatever its length; empty on failure.
    static SStringW ModuleFileName(HMODULE module);

private:
    void CreateSingletons(LPCWSTR hostClassName);
    void DestroySingletons();

    SAutoRefPtr<IRealWindowHandler> m_realWndHandler;
    SAutoRefPtr<IScriptFactory> m_scriptFactory;
    SAutoRefPtr<IRenderFactory> m_renderFactory;
    SAutoRefPtr<ITranslatorMgr> m_translator;
    SAutoRefPtr<IToolTipFactory> m_toolTipFactory;
    SAutoRefPtr<IMsgLoopFactory> m_msgLoopFactory;
    SNamedID m_namedIds;
    SStringW m_appDir;
    HINSTANCE m_instance;
    HWND m_mainWnd = nullptr;
    SMessageLoop *m_msgLoop = nullptr;
    typedef BOOL(WINAPI *FnUpdateLayeredIndirect)(HWND, const UPDATELAYEREDWINDOWINFO *);
    FnUpdateLayeredIndirect m_updateLayeredIndirect = nullptr;

    std::unique_ptr<SWindowMgr> m_windowMgr;
    std::unique_ptr<STimer2> m_timer;
    std::unique_ptr<SScriptTimer> m_scriptTimer;
    std::unique_ptr<SFontPool> m_fontPool;
    std::unique_ptr<SSkinPoolMgr> m_skinPoolMgr;
    std::unique_ptr<SStylePoolMgr> m_stylePoolMgr;
    std::unique_ptr<SObjDefAttr> m_defAttr;
    std::unique_ptr<SWindowFinder> m_finder;
    std::unique_ptr<CSimpleWndHelper> m_wndHelper;   // null when one existed before
    std::unique_ptr<STextServiceHelper> m_textServices; // null when one existed before
    std::unique_ptr<SRicheditMenuDef> m_editMenuDef;    // null when one existed before
};

} // namespace WUI
