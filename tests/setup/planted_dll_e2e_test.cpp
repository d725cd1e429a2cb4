// A program run from a folder that also holds libraries named as system
// ones (a downloads folder with a planted "riched20.dll"): the setup, the
// uninstaller and the launcher load every library from elsewhere, and no
// planted code runs.
#include "ProgramDriver.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

using e2e::ProgramDriver;

namespace {

const DWORD kLong = 120000;  // a program's start, under emulation
const wchar_t* const kPlanted[] = {L"riched20.dll", L"urlmon.dll", L"gdiplus.dll"};
// Of those, what every program has loaded once its window shows: the rich
// edit's text services and the image decoder.
const wchar_t* const kLoadedAtStart[] = {L"riched20.dll", L"gdiplus.dll"};

std::string Narrow(const std::wstring& w)
{
    std::string s;
    for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }
std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }
bool SameText(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

std::wstring SystemFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetSystemDirectoryW(path, MAX_PATH);
    return path;
}

// The full paths of the modules a process holds; empty when it cannot be read.
std::vector<std::wstring> ModulesOf(DWORD pid)
{
    std::vector<std::wstring> paths;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return paths;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry))
        paths.push_back(entry.szExePath);
    CloseHandle(snapshot);
    return paths;
}

TEST(PlantedLibraries, NoProgramLoadsALibraryFromItsOwnFolder)
{
    struct Case {
        const wchar_t* what;
        const wchar_t* exe;
        const wchar_t* name;  // of the copy
        const wchar_t* window;
        const wchar_t* args;
    } cases[] = {
        {L"setup", ORVOSETUP_EXE, L"OrvoSetup.exe", L"selLangWindow", L""},
        {L"uninstaller", ORVOUNINSTALL_EXE, L"OrvoUninstall.exe", L"unmainWindow", L""},
        // A refused connection: the launcher shows its window with the failure.
        {L"launcher", ORVOMAIN_EXE, L"OrvoMain.exe", L"mainWindow",
         L"--appPath C:\\Downloads\\client --updateUrl http://127.0.0.1:9/updater.ini"},
    };
    CreateDirectoryW(L"C:\\Downloads", nullptr);
    CreateDirectoryW(L"C:\\Downloads\\client", nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.what));
        const std::wstring folder = std::wstring(L"C:\\Downloads\\") + c.what;
        CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring exe = folder + L"\\" + c.name;
        ASSERT_TRUE(CopyFileW(c.exe, exe.c_str(), FALSE));
        for (const wchar_t* dll : kPlanted)
            ASSERT_TRUE(CopyFileW(ORVO_PLANTED_DLL, (folder + L"\\" + dll).c_str(), FALSE)) << Narrow(dll);

        ProgramDriver p;
        ASSERT_TRUE(p.Start(exe, c.args));
        ASSERT_TRUE(p.WaitHost(c.window, kLong)) << "no window";
        const std::vector<std::wstring> modules = ModulesOf(p.ProcessId());
        ASSERT_FALSE(modules.empty()) << "the modules cannot be listed";
        EXPECT_TRUE(SameText(exe, modules.front())) << Narrow(modules.front());
        for (size_t i = 1; i < modules.size(); ++i) {
            EXPECT_FALSE(SameText(folder, FolderOf(modules[i]))) << Narrow(modules[i]) << " from the program's folder";
            for (const wchar_t* dll : kPlanted) {
                if (SameText(dll, NameOf(modules[i]))) {
                    EXPECT_TRUE(SameText(SystemFolder(), FolderOf(modules[i]))) << Narrow(modules[i]);
                }
            }
        }
        for (const wchar_t* dll : kLoadedAtStart) {
            bool loaded = false;
            for (const std::wstring& module : modules) loaded = loaded || SameText(dll, NameOf(module));
            EXPECT_TRUE(loaded) << Narrow(dll) << " is not loaded";
        }
        EXPECT_FALSE(Exists(folder + L"\\planted.txt")) << "a planted library ran";
    }
}

}  // namespace
