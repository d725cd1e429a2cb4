// What the setup program decides before its first window: whether it may
// run (one setup at a time, the client not running), whether it installs or
// uninstalls, and in which language it starts.
#pragma once

#include "syshelpers/WinHandles.h"

#include <windows.h>

// Names the checks and the tests share.
extern const wchar_t kSetupMutexName[];   // owned by the running setup or uninstaller for its whole life
extern const wchar_t kClientMutexName[];  // held by the running client
extern const wchar_t kStartupTitle[];
extern const wchar_t kAnotherSetupRuns[];
extern const wchar_t kClientRuns[];

// The single-instance and client checks, asking the user with a message box
// where another setup or uninstaller or the client runs (OK stops it, Cancel
// ends the program). The setup's mutex, owned by the calling thread, on
// success; none when the program must end: the user cancelled, or the
// mutex could not be made or is still owned by another setup or
// uninstaller that could not be stopped (both reported).
UniqueHandle RunStartupChecks();

// True when module carries the client archive (the install road); false
// for the uninstaller, which is the same program built without it.
bool HasClientArchive(HMODULE module);

// The language the program starts in: the system default when installing;
// when uninstalling, English if the install stored a non-zero language
// index, else Chinese simplified.
LCID StartupLanguage(bool installing);

// "lang_cn" for the Chinese languages (1028, 2052), "lang_en" for any other.
const wchar_t* TranslationFor(LCID language);
// The same for the wizard's language index (0 Chinese, 1 English).
const wchar_t* TranslationForIndex(int languageIndex);

// Loads the translation table named (type "translator") from the
// application's resources and installs it in the application's translator
// manager, ahead of those installed before. False, with nothing changed,
// when the resource is missing or malformed or there is no manager.
bool InstallTranslation(const wchar_t* name);
