#include "SetupStartup.h"

#include "syshelpers/Processes.h"
#include "syshelpers/RegistryEntries.h"

#include "core/SApplication.h"

const wchar_t kSetupMutexName[] = L"Global\\OrvoInstall_Mutxt_Object";
const wchar_t kClientMutexName[] = L"Fraymark";
const wchar_t kStartupTitle[] = L"Orvo安装";
const wchar_t kAnotherSetupRuns[] = L"当前已经有Orvo安装程序在运行中，确定继续安装，取消退出安装";
const wchar_t kClientRuns[] = L"当前正在运行Orvo客户端，是否继续安装？";

namespace {

const wchar_t kMutexErrorTitle[] = L"Orvo安装程序";

bool MutexExists(const wchar_t* name, UniqueHandle* opened)
{
    UniqueHandle mutex(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name));
    const bool exists = mutex.Valid();
    if (opened) *opened = std::move(mutex);
    return exists;
}

// Another setup runs: the user may stop it and go on. False when the
// program must end.
bool TakeOverFromRunningSetup()
{
    UniqueHandle running;
    if (!MutexExists(kSetupMutexName, &running)) return true;
    if (MessageBoxW(nullptr, kAnotherSetupRuns, kStartupTitle, MB_OKCANCEL) != IDOK) return false;
    KillProcessesByName(L"OrvoSetup");
    // The mutex is never owned, so a setup that is still alive does not
    // block this; a failed wait means the handle is unusable.
    const DWORD wait = WaitForSingleObject(running.Get(), 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(running.Get());
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

// The client runs: the user may stop it and go on. False when the program must end.
bool StopRunningClient()
{
    if (!MutexExists(kClientMutexName, nullptr)) return true;
    if (MessageBoxW(nullptr, kClientRuns, kStartupTitle, MB_OKCANCEL) != IDOK) return false;
    KillProcessesByName(L"OrvoMain.exe");
    return true;
}

}  // namespace

UniqueHandle RunStartupChecks()
{
    if (!TakeOverFromRunningSetup() || !StopRunningClient()) return UniqueHandle();
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kSetupMutexName));
    if (!mutex.Valid()) {
        wchar_t text[64];
        wsprintfW(text, L"安装程序运行出错, 代码:%d", static_cast<int>(GetLastError()));
        MessageBoxW(nullptr, text, kMutexErrorTitle, MB_OK);
    }
    return mutex;
}

bool HasClientArchive(HMODULE module)
{
    HRSRC archive = FindResourceW(module, L"profile", L"_7Z");
    return archive && SizeofResource(module, archive) != 0;
}

LCID StartupLanguage(bool installing)
{
    if (installing) return GetSystemDefaultLCID();
    return ReadInstalledLanguage() != 0 ? 1033 : 2052;
}

const wchar_t* TranslationFor(LCID language)
{
    return language == 1028 || language == 2052 ? L"lang_cn" : L"lang_en";
}

const wchar_t* TranslationForIndex(int languageIndex)
{
    return languageIndex == 0 ? L"lang_cn" : L"lang_en";
}

bool InstallTranslation(const wchar_t* name)
{
    WUI::SApplication* app = WUI::SApplication::GetSingletonPtr();
    WUI::ITranslatorMgr* manager = app ? app->GetTranslator() : nullptr;
    pugi::xml_document doc;
    if (!manager || !app->LoadXmlDocument(doc, name, L"translator")) return false;
    pugi::xml_node language = doc.child(L"language");
    WUI::SAutoRefPtr<WUI::ITranslator> translator;
    WUI::ITranslator* made = nullptr;
    if (!language || !manager->CreateTranslator(&made) || !made) return false;
    translator.Attach(made);
    return translator->Load(&language, 1) && manager->InstallTranslator(translator);
}
