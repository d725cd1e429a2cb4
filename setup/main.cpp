// Entry point of the setup program and of the uninstaller, which is the same
// program built without the client archive.
#include "CSelLangDlg.h"
#include "CUnMainDlg.h"
#include "SetupNamedIds.h"
#include "SetupStartup.h"

#include "core/SApplication.h"
#include "core/SMessageBoxTemplate.h"
#include "core/SystemLibrary.h"
#include "core/SResProviderPE.h"
#include "itemviews/FrameworkTags.h"
#include "render/IImgDecoder.h"
#include "render/IRenderTarget.h"
#include "render/SSkinScrollbar.h"
#include "syshelpers/Processes.h"
#include "syshelpers/SafePaths.h"

#include <ole2.h>

namespace {

// Creates the program's first window from its layout, centred and shown, and
// runs the application's loop until it is destroyed. The loop's exit code;
// 0 when the window cannot be made.
template <class Dialog>
int RunFirstDialog(WUI::SApplication& app)
{
    Dialog dialog;
    if (!dialog.Create(GetActiveWindow(), 0, 0, 0, 0)) return 0;
    dialog.SendMessage(WM_INITDIALOG, 0, 0);
    dialog.CenterWindow(dialog.m_hWnd);
    dialog.ShowWindow(SW_SHOWNORMAL);
    return app.Run(dialog.m_hWnd);
}

// The framework with the program's resources, translation and first window.
int RunUserInterface(HINSTANCE instance)
{
    // Relative paths of the framework resolve beside the install folder.
    SetCurrentDirectoryW((GetModuleFolder(instance) + L"\\..").c_str());

    WUI::SAutoRefPtr<WUI::IRenderFactory> renderFactory;
    WUI::SAutoRefPtr<WUI::IImgDecoderFactory> decoders;
    {
        WUI::IRenderFactory* factory = nullptr;
        WUI::IImgDecoderFactory* decoderFactory = nullptr;
        WUI::CreateRenderFactory_GDI(&factory);
        renderFactory.Attach(factory);
        WUI::CreateImgDecoderFactory(L"imgdecoder-gdip", &decoderFactory);
        decoders.Attach(decoderFactory);
        if (renderFactory && decoders) renderFactory->SetImgDecoderFactory(decoders);
    }

    WUI::AddFrameworkTags();
    int result = 0;
    {
        WUI::SApplication app(renderFactory, instance, L"WUIHOST");
        {
            WUI::SAutoRefPtr<WUI::IResProvider> system;
            system.Attach(new WUI::SResProviderPE);
            system->Init(reinterpret_cast<WPARAM>(instance));
            app.LoadSystemResources(system);
        }
        WUI::SAutoRefPtr<WUI::IResProvider> resources;
        resources.Attach(new WUI::SResProviderPE);
        resources->Init(reinterpret_cast<WPARAM>(instance));
        {
            WUI::TplSkinFactory<WUI::SSkinVScrollbar> vscrollbar;
            app.RegisterFactory(vscrollbar);
        }
        app.InitXmlNamedID(kNamedIdTable, kNamedIdCount, true);
        app.AddResProvider(resources, L"uidef:xml_init");

        WUI::SAutoRefPtr<WUI::ITranslatorMgr> translators;
        {
            WUI::ITranslatorMgr* manager = nullptr;
            WUI::CreateTranslatorMgr(&manager);
            translators.Attach(manager);
        }
        const bool installing = HasClientArchive(instance);
        const LCID language = StartupLanguage(installing);
        if (translators) {
            app.SetTranslator(translators);
            InstallTranslation(TranslationFor(language));
        }

        result = installing ? RunFirstDialog<CSelLangDlg>(app) : RunFirstDialog<CUnMainDlg>(app);
    }
    WUI::ReleaseGlobalMsgBoxTemplate();
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // Before anything loads a library: none may come from the program's folder.
    WUI::RestrictLibrarySearchToSystem();
    OleInitialize(nullptr);
    EnableShutdownPrivilege();
    int result = 0;
    UniqueHandle setupMutex = RunStartupChecks();
    if (setupMutex.Valid()) {
        result = RunUserInterface(instance);
        ReleaseMutex(setupMutex.Get());
    }
    OleUninitialize();
    return result;
}
