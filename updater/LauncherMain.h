// The launcher's entry: it stops a running launcher, starts the framework
// with the program's resources and translation, shows the progress window
// and runs the message loop.
#pragma once
#include <winsock2.h>  // before windows.h, as the update engine needs
#include <windows.h>

#include <functional>

#include "core/SApplication.h"

// Runs the launcher: the message loop's exit code.
int LauncherMain(HINSTANCE instance);

// Loads the translation "lang_cn" and, only when that cannot be loaded,
// "lang_en", through load (a resource of type "translator" by name), and
// installs it in the application's translator manager. False when neither
// loads (texts then stay as the layout has them).
using TranslationLoader = std::function<bool(pugi::xml_document& doc, LPCWSTR name)>;
bool InstallLauncherTranslation(WUI::SApplication& app, const TranslationLoader& load);
// The same with the application's own resources.
bool InstallLauncherTranslation(WUI::SApplication& app);

// Registers what the launcher's layout needs beyond the application's own
// setup: the element ids by name, the scroll-bar skin and the UI
// definition "uidef:xml_init" from provider.
void PrepareLauncherUi(WUI::SApplication& app, WUI::IResProvider* provider);
