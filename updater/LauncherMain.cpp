#include "LauncherMain.h"

#include <ole2.h>

#include "core/SResProviderPE.h"
#include "core/SMessageBoxTemplate.h"
#include "itemviews/FrameworkTags.h"
#include "render/IImgDecoder.h"
#include "render/SSkinScrollbar.h"
#include "syshelpers/Processes.h"

#include "CMainDlg.h"

namespace {

// Sorted by name, as the table is installed without sorting.
const WUI::SNamedID::TableEntry kNamedIds[] = {
    {L"btn_close", 65536},       {L"btn_min", 65538},    {L"btn_restore", 65537},  {L"current_version", 65545},
    {L"progress", 65542},        {L"server_status", 65544}, {L"txt_notice", 65539}, {L"txt_number", 65541},
    {L"txt_progress", 65543},    {L"txt_speed", 65540},
};

// The folder above the executable's, where the client's data lies.
void EnterParentFolder()
{
    std::wstring folder = WUI::SApplication::ModuleFileName(nullptr).c_str();
    size_t cut = folder.find_last_of(L'\\');
    if (cut != std::wstring::npos)
        SetCurrentDirectoryW((folder.substr(0, cut) + L"\\..").c_str());
}

bool LoadTranslator(WUI::ITranslatorMgr* manager, pugi::xml_document& doc)
{
    pugi::xml_node language = doc.child(L"language");
    WUI::ITranslator* translator = nullptr;
    if (!language || !manager->CreateTranslator(&translator) || !translator)
        return false;
    bool ok = translator->Load(&language, 1) && manager->InstallTranslator(translator);
    translator->Release();
    return ok;
}

} // namespace

bool InstallLauncherTranslation(WUI::SApplication& app, const TranslationLoader& load)
{
    WUI::ITranslatorMgr* manager = app.GetTranslator();
    if (!manager)
        return false;
    for (LPCWSTR name : {L"lang_cn", L"lang_en"}) {
        pugi::xml_document doc;
        if (load(doc, name) && LoadTranslator(manager, doc))
            return true;
    }
    return false;
}

bool InstallLauncherTranslation(WUI::SApplication& app)
{
    return InstallLauncherTranslation(
        app, [&app](pugi::xml_document& doc, LPCWSTR name) { return app.LoadXmlDocument(doc, name, L"translator"); });
}

void PrepareLauncherUi(WUI::SApplication& app, WUI::IResProvider* provider)
{
    app.InitXmlNamedID(kNamedIds, int(sizeof kNamedIds / sizeof kNamedIds[0]), true);
    app.RegisterFactory(WUI::TplSkinFactory<WUI::SSkinVScrollbar>());
    app.AddResProvider(provider, L"uidef:xml_init");
}

int LauncherMain(HINSTANCE instance)
{
    // A launcher left running beside the client would update the folder under it.
    if (HANDLE running = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, L"Fraymark")) {
        CloseHandle(running);
        KillProcessesByName(L"OrvoMain.exe");
    }
    OleInitialize(nullptr);
    EnterParentFolder();
    WUI::AddFrameworkTags();
    WUI::IRenderFactory* factory = nullptr;
    WUI::IImgDecoderFactory* decoders = nullptr;
    WUI::CreateRenderFactory_GDI(&factory);
    if (factory && WUI::CreateImgDecoderFactory(L"imgdecoder-gdip", &decoders))
        factory->SetImgDecoderFactory(decoders);
    int exitCode = 0;
    {
        WUI::SApplication app(factory, instance, L"WUIHOST");
        {
            WUI::SAutoRefPtr<WUI::IResProvider> system;
            system.Attach(new WUI::SResProviderPE);
            system->Init(reinterpret_cast<WPARAM>(instance));
            app.LoadSystemResources(system);
        }
        WUI::SAutoRefPtr<WUI::IResProvider> provider;
        provider.Attach(new WUI::SResProviderPE);
        provider->Init(reinterpret_cast<WPARAM>(instance));
        PrepareLauncherUi(app, provider);
        WUI::ITranslatorMgr* translators = nullptr;
        if (WUI::CreateTranslatorMgr(&translators) && translators) {
            app.SetTranslator(translators);
            InstallLauncherTranslation(app);
        }
        {
            CMainDlg dialog(OrvoClientUpdater::GetInstance());
            dialog.Create(GetActiveWindow());
            ::SendMessageW(dialog.m_hWnd, WM_INITDIALOG, 0, 0);
            dialog.CenterWindow(dialog.m_hWnd);
            dialog.ShowWindow(SW_SHOWNORMAL);
            exitCode = app.Run(dialog.m_hWnd);
        }
        if (translators)
            translators->Release();
    }
    WUI::ReleaseGlobalMsgBoxTemplate();
    if (decoders)
        decoders->Release();
    if (factory)
        factory->Release();
    OleUninitialize();
    return exitCode;
}
