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
// How long a stopped setup or uninstaller may take to end.
const DWORD kTakeOverWaitMs = 10000;

bool MutexExists(const wchar_t* name, UniqueHandle* opened)
{
    UniqueHandle mutex(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name));
    const bool exists = mutex.Valid();
    if (opened) *opened = std::move(mutex);
    return exists;
}

void ReportStartupError(DWORD code)
{
    wchar_t text[64];
    wsprintfW(text, L"安装程序运行出错, 代码:%d", static_cast<int>(code));
    MessageBoxW(nullptr, text, kMutexErrorTitle, MB_OK);
}

// Takes the setup mutex, which a running setup or uninstaller owns for its
// whole life; false, after reporting, when another still owns it after
// waitMs (or the wait fails).
bool Own(HANDLE mutex, DWORD waitMs)
{
    const DWORD wait = WaitForSingleObject(mutex, waitMs);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return true;
    ReportStartupError(wait == WAIT_TIMEOUT ? WAIT_TIMEOUT : GetLastError());
    return false;
}

// Another setup or uninstaller runs: the user may stop it and go on. Both
// names are stopped, as either may write or remove the client's files. The
// mutex, owned, when the program may go on; none when it must end (the user
// cancelled, or the other could not be stopped, which is reported).
bool TakeOverFromRunningSetup(UniqueHandle* owned)
{
    UniqueHandle running;
    if (!MutexExists(kSetupMutexName, &running)) return true;
    if (MessageBoxW(nullptr, kAnotherSetupRuns, kStartupTitle, MB_OKCANCEL) != IDOK) return false;
    KillProcessesByName(L"OrvoSetup");
    KillProcessesByName(L"OrvoUninstall");
    if (!Own(running.Get(), kTakeOverWaitMs)) return false;
    *owned = std::move(running);
    return true;
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
    UniqueHandle mutex;
    if (!TakeOverFromRunningSetup(&mutex) || !StopRunningClient()) return UniqueHandle();
    if (mutex.Valid()) return mutex;
    HANDLE made = CreateMutexW(nullptr, TRUE, kSetupMutexName);
    const DWORD error = GetLastError();
    mutex.Reset(made);
    if (!mutex.Valid()) {
        ReportStartupError(error);
        return mutex;
    }
    // Made by another start since the check: ours only once that one ends.
    if (error == ERROR_ALREADY_EXISTS && !Own(mutex.Get(), 0)) return UniqueHandle();
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
