// The start-up's decisions without windows: the language and translation it
// starts with, and which folder an uninstall may empty.
#include "SetupNamedIds.h"
#include "SetupStartup.h"
#include "UninstallFolder.h"

#include "syshelpers/RegistryEntries.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace {

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::wstring Special(int csidl)
{
    wchar_t buf[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
    return buf;
}

TEST(SetupStartup, TranslationByLanguage)
{
    const struct {
        LCID language;
        const wchar_t* translation;
    } cases[] = {{2052, L"lang_cn"}, {1028, L"lang_cn"}, {1033, L"lang_en"}, {1041, L"lang_en"},
                 {3076, L"lang_en"}, {0, L"lang_en"}};
    for (const auto& c : cases) EXPECT_STREQ(c.translation, TranslationFor(c.language)) << c.language;
    EXPECT_STREQ(L"lang_cn", TranslationForIndex(0));
    EXPECT_STREQ(L"lang_en", TranslationForIndex(1));
}

TEST(SetupStartup, UninstallerLanguageFollowsTheStoredIndex)
{
    DeleteUninstallKey();
    EXPECT_EQ(2052u, StartupLanguage(false)) << "no registration: Chinese";
    for (DWORD index : {0u, 1u}) {
        UninstallInfo info;
        info.uninstallerPath = L"C:\\Orvo\\OrvoUninstall.exe";
        info.languageIndex = index;
        ASSERT_EQ(ERROR_SUCCESS, WriteUninstallKey(info));
        EXPECT_EQ(index ? 1033u : 2052u, StartupLanguage(false));
    }
    EXPECT_EQ(GetSystemDefaultLCID(), StartupLanguage(true));
    DeleteUninstallKey();
}

TEST(SetupStartup, NamedIdsAreSortedAndUnique)
{
    for (int i = 1; i < kNamedIdCount; ++i) {
        EXPECT_LT(wcscmp(kNamedIdTable[i - 1].name, kNamedIdTable[i].name), 0) << Narrow(kNamedIdTable[i].name);
        EXPECT_EQ(kNamedIdTable[i].name, kElementNames[i]);
        for (int j = 0; j < i; ++j) EXPECT_NE(kNamedIdTable[i].value, kNamedIdTable[j].value);
    }
}

TEST(UninstallFolder, OnlyItsOwnRegisteredFolder)
{
    const std::wstring games = L"C:\\Games\\Orvoesports";
    CreateDirectoryW(L"C:\\Games", nullptr);
    CreateDirectoryW(games.c_str(), nullptr);
    const std::wstring desktop = Special(CSIDL_DESKTOPDIRECTORY);
    const struct {
        std::wstring own, registered, expected;
    } cases[] = {
        {games, games, games},
        {games, L"c:\\games\\ORVOESPORTS\\", games},
        {games, L"C:/Games/Orvoesports", games},
        {games, L"C:\\Games\\x\\..\\Orvoesports", games},
        {games, L"C:\\Games", L""},
        {L"C:\\Games", games, L""},
        {games, L"", L""},
        {L"", games, L""},
        {games, L"Games\\Orvoesports", L""},
        {L"C:\\", L"C:\\", L""},
        {L"C:", L"C:", L""},
        {desktop, desktop, L""},
        {Special(CSIDL_PROGRAM_FILES), Special(CSIDL_PROGRAM_FILES), L""},
        {Special(CSIDL_WINDOWS), Special(CSIDL_WINDOWS), L""},
        {Special(CSIDL_PROFILE), Special(CSIDL_PROFILE), L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, UninstallFolderFor(c.own, c.registered)) << Narrow(c.own) << " | " << Narrow(c.registered);
}

}  // namespace
