// The install road driven end to end as a user would, in a fresh Wine prefix:
// the language dialog, the wizard's five pages, the questions (leaving,
// folders that cannot be made or hold other files, too little space), the
// install itself, the links, the Run value, the uninstall registration and
// the launcher started on finish. The English cases run with the prefix's
// default language; the Chinese ones (InstallCn.*) run in a second CTest
// entry whose system language is Chinese, and fail in any other.
#include "InstallSpace.h"
#include "ProgramDriver.h"
#include "TestFiles.h"

#include "syshelpers/RegistryEntries.h"
#include "syshelpers/Shortcuts.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <sddl.h>
#include <shlobj.h>

#include <string>
#include <vector>

using e2e::Element;
using e2e::ProgramDriver;

namespace {

const wchar_t kSetup[] = ORVOSETUP_EXE;
const wchar_t kUninstaller[] = ORVOUNINSTALL_EXE;
const DWORD kLong = 120000;  // a program's start, or an install, under emulation

std::wstring Special(int csidl)
{
    wchar_t buf[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
    return buf;
}

std::wstring DefaultFolder() { return Special(CSIDL_PROGRAM_FILES) + L"\\Orvoesports"; }

std::wstring Shot(const std::wstring& name) { return Cwd() + L"\\" + name + L".png"; }

std::string Narrow(const std::wstring& w)
{
    std::string s;
    for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

void MakeFolders(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

// Removes a folder and everything in it.
void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

uint64_t FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A value of the uninstall key, read into a zero-filled buffer (the
// helpers write text without its NUL).
bool ReadKeyValue(const wchar_t* name, DWORD* type, std::vector<BYTE>* bytes)
{
    const std::wstring path = std::wstring(kUninstallKeyPath) + L"\\" + kUninstallSubkey;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LSTATUS r = RegQueryValueExW(key, name, nullptr, type, nullptr, &size);
    bytes->assign(size + 4, 0);
    if (r == ERROR_SUCCESS) r = RegQueryValueExW(key, name, nullptr, type, bytes->data(), &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

std::wstring KeyText(const wchar_t* name)
{
    DWORD type = 0;
    std::vector<BYTE> bytes;
    if (!ReadKeyValue(name, &type, &bytes) || type != REG_SZ) return L"<missing>";
    return reinterpret_cast<const wchar_t*>(bytes.data());
}

DWORD KeyDword(const wchar_t* name)
{
    DWORD type = 0;
    std::vector<BYTE> bytes;
    if (!ReadKeyValue(name, &type, &bytes) || type != REG_DWORD) return 0xFFFFFFFF;
    return *reinterpret_cast<const DWORD*>(bytes.data());
}

bool UninstallKeyExists()
{
    HKEY key;
    const std::wstring path = std::wstring(kUninstallKeyPath) + L"\\" + kUninstallSubkey;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Makes the uninstall key exist with only reading allowed, so the install
// cannot write its registration. False when it cannot be made so.
bool MakeUninstallKeyReadOnly()
{
    const std::wstring path = std::wstring(kUninstallKeyPath) + L"\\" + kUninstallSubkey;
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    bool ok = ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly,
                                                                   nullptr) &&
              RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
    LocalFree(readOnly);
    RegCloseKey(key);
    return ok;
}

// The Run value's text; empty when it is absent.
std::wstring RunValue()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
    wchar_t buf[1024] = {};
    DWORD size = sizeof(buf) - sizeof(wchar_t);
    const bool ok = RegQueryValueExW(key, kAutoRunValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size) ==
                    ERROR_SUCCESS;
    RegCloseKey(key);
    return ok ? buf : L"";
}

// The target of a shell link; empty when it cannot be read.
std::wstring LinkTarget(const std::wstring& link)
{
    IShellLinkW* shell = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shell))))
        return L"";
    std::wstring target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) && SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shell->Release();
    return target;
}

bool SameFile(const std::wstring& a, const std::wstring& b)
{
    wchar_t la[MAX_PATH] = {}, lb[MAX_PATH] = {};
    GetLongPathNameW(a.c_str(), la, MAX_PATH);
    GetLongPathNameW(b.c_str(), lb, MAX_PATH);
    return la[0] && _wcsicmp(la, lb) == 0;
}

// A copy of the setup whose client archive is the fixture named; one per
// system language, as both languages' runs may go at once.
std::wstring SetupWithArchive(const std::wstring& archive)
{
    const std::wstring folder = Cwd() + L"\\work\\setup-" + archive + L"-" + std::to_wstring(GetSystemDefaultLCID());
    MakeFolders(folder);
    const std::wstring exe = folder + L"\\OrvoSetup.exe";
    std::string bytes = ReadBytes(Cwd() + L"\\install_fixtures\\" + archive + L".7z");
    if (bytes.empty() || !CopyFileW(kSetup, exe.c_str(), FALSE)) return L"";
    HANDLE update = BeginUpdateResourceW(exe.c_str(), FALSE);
    if (!update) return L"";
    UpdateResourceW(update, L"_7Z", L"profile", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &bytes[0],
                    static_cast<DWORD>(bytes.size()));
    return EndUpdateResourceW(update, FALSE) ? exe : L"";
}

bool Hidden(HWND window) { return !IsWindow(window) || !IsWindowVisible(window); }

void PostKey(HWND w, UINT key)
{
    PostMessageW(w, WM_KEYDOWN, key, 1);
    PostMessageW(w, WM_KEYUP, key, 0xC0000001);
}

// Replaces the text of an edit as typed: a click to focus it, End and
// Backspace until it is empty, then each character.
bool TypeInto(ProgramDriver& p, HWND w, const wchar_t* name, const std::wstring& text)
{
    if (!p.Click(w, name)) return false;
    PostKey(w, VK_END);
    for (int i = 0; i < 120; ++i) PostKey(w, VK_BACK);
    for (wchar_t c : text) PostMessageW(w, WM_CHAR, c, 1);
    return true;
}

// Language and wording of one run.
struct Language {
    const wchar_t* tag;  // in screenshot names
    DWORD index;         // "ILang"
    const wchar_t* name; // the translation of "Orvoesports": links, display name
    const wchar_t* uninstallLink;
    const wchar_t* publisher;
};
const Language kEnglish = {L"en", 1, L"Orvoesports", L"Uninstall Orvoesports", L"Orvo Esports"};
const Language kChinese = {L"cn", 0, L"Orvo对战平台", L"卸载Orvo对战平台", L"Orvo电竞"};

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override { com_ = SUCCEEDED(CoInitialize(nullptr)); }
    void TearDown() override
    {
        if (com_) CoUninitialize();
    }
    bool com_ = false;

    // Starts exe and goes from the language dialog (its choice left as the
    // system's) to the wizard's welcome page. Shots of the language dialog
    // when shotTag is given.
    HWND OpenWizard(ProgramDriver& p, const std::wstring& exe, const std::wstring& shotTag = L"")
    {
        if (!p.Start(exe)) return nullptr;
        HWND lang = p.WaitHost(L"selLangWindow", kLong);
        if (!lang) return nullptr;
        if (!shotTag.empty()) {
            EXPECT_TRUE(ProgramDriver::Screenshot(lang, Shot(L"install_" + shotTag + L"_language")));
        }
        if (!p.Click(lang, L"btn_goon")) return nullptr;
        HWND w = p.WaitHost(L"mainWindow", kLong);
        if (w) { EXPECT_TRUE(p.WaitVisible(w, L"page_begin", 10000)); }
        return w;
    }

    // Goes from the welcome page to the options page, straight or through the agreement.
    void ToOptions(ProgramDriver& p, HWND w, bool throughLicense, const std::wstring& shotTag = L"")
    {
        if (throughLicense) {
            ASSERT_TRUE(p.Click(w, L"link_to_license"));
            ASSERT_TRUE(p.WaitVisible(w, L"page_license", 10000));
            if (!shotTag.empty()) {
                EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"install_" + shotTag + L"_license")));
            }
            ASSERT_TRUE(p.Click(w, L"btn_from_license_to_config"));
        } else {
            ASSERT_TRUE(p.Click(w, L"btn_to_config"));
        }
        ASSERT_TRUE(p.WaitVisible(w, L"page_config", 10000));
        if (!shotTag.empty()) { EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"install_" + shotTag + L"_options"))); }
    }

    // Clicks "Next" on the options page and expects the one-button question
    // that refuses; answers it and checks the page stays.
    void ExpectRefusal(ProgramDriver& p, HWND w, const std::wstring& shot)
    {
        ASSERT_TRUE(p.Click(w, L"btn_to_install"));
        HWND q = p.WaitHost(L"queryWindow", 30000);
        ASSERT_TRUE(q) << "no question";
        Element ok, cancel;
        ASSERT_TRUE(p.Find(q, L"#1", &ok));
        ASSERT_TRUE(p.Find(q, L"#2", &cancel));
        EXPECT_TRUE(ok.visible);
        EXPECT_FALSE(cancel.visible) << "a refusal has OK alone";
        EXPECT_TRUE(ProgramDriver::Screenshot(q, Shot(shot)));
        ASSERT_TRUE(p.Click(q, L"#1"));
        ASSERT_TRUE(ProgramDriver::WaitFor([&] { return Hidden(q); }, 30000));
        EXPECT_TRUE(p.WaitVisible(w, L"page_config", 5000)) << "the options page stays";
        Element installing;
        ASSERT_TRUE(p.Find(w, L"page_installing", &installing));
        EXPECT_FALSE(installing.visible);
    }

    // Closes the wizard by its close button, answering the question with OK.
    void CloseAndConfirm(ProgramDriver& p, HWND w)
    {
        ASSERT_TRUE(p.Click(w, L"btn_close"));
        HWND q = p.WaitHost(L"queryWindow", 30000);
        ASSERT_TRUE(q) << "closing did not ask";
        ASSERT_TRUE(p.Click(q, L"#1"));
        ASSERT_TRUE(p.WaitExit(30000)) << "the wizard did not end";
    }

    // What an install into folder leaves: the files, the registration as read
    // back, the links and the Run value (only when its box was checked).
    void CheckInstalled(const std::wstring& folder, const Language& lang, bool autoRun)
    {
        // What the archive held is there, byte for byte for the uninstaller.
        const uint64_t unpacked = FileSize(folder + L"\\OrvoMain.exe") + FileSize(folder + L"\\OrvoUninstall.exe");
        EXPECT_GT(FileSize(folder + L"\\OrvoMain.exe"), 0u);
        EXPECT_EQ(ReadBytes(kUninstaller), ReadBytes(folder + L"\\OrvoUninstall.exe"));

        // The registration, as read back.
        EXPECT_EQ(L"\"" + folder + L"\\OrvoUninstall.exe\"", KeyText(L"UninstallString"));
        EXPECT_EQ(folder + L"\\OrvoMain.exe", KeyText(L"DisplayIcon"));
        EXPECT_EQ(L"1", KeyText(L"IsClientApp"));
        EXPECT_EQ(lang.name, KeyText(L"DisplayName"));
        EXPECT_EQ(L"3.0.0.462", KeyText(L"DisplayVersion"));
        EXPECT_EQ(lang.publisher, KeyText(L"Publisher"));
        EXPECT_EQ(static_cast<DWORD>(unpacked / 1024), KeyDword(L"EstimatedSize"));
        EXPECT_EQ(lang.index, KeyDword(L"ILang"));

        // Links to the launcher.
        const std::wstring desktop = Special(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\" + lang.name + L".lnk";
        const std::wstring menu = Special(CSIDL_COMMON_PROGRAMS) + L"\\" + lang.name;
        EXPECT_TRUE(SameFile(folder + L"\\OrvoMain.exe", LinkTarget(desktop))) << Narrow(LinkTarget(desktop));
        EXPECT_TRUE(SameFile(folder + L"\\OrvoMain.exe", LinkTarget(menu + L"\\" + lang.name + L".lnk")));
        EXPECT_TRUE(SameFile(folder + L"\\OrvoUninstall.exe",
                             LinkTarget(menu + L"\\" + lang.uninstallLink + L".lnk")));
        if (autoRun) {
            EXPECT_EQ(L"\"" + folder + L"\\OrvoMain.exe\"", RunValue());
        } else {
            EXPECT_EQ(L"", RunValue()) << "the Run value exists though its box was not checked";
        }
    }

    // The whole install into the default folder in the given language, the
    // links and registration checked; then the launcher started by the
    // finish button, or the finish page closed.
    void InstallIntoDefaultFolder(const Language& lang, bool autoRun, bool closeOnFinishPage)
    {
        const std::wstring folder = DefaultFolder();
        DeleteUninstallKey();
        ProgramDriver p;
        HWND w = OpenWizard(p, kSetup, lang.tag);
        ASSERT_TRUE(w);
        EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"install_" + std::wstring(lang.tag) + L"_welcome")));

        // Leaving before the finish page asks; Cancel keeps the wizard.
        ASSERT_TRUE(p.Click(w, L"btn_close"));
        HWND q = p.WaitHost(L"queryWindow", 30000);
        ASSERT_TRUE(q) << "closing the welcome page did not ask";
        EXPECT_TRUE(ProgramDriver::Screenshot(q, Shot(L"install_" + std::wstring(lang.tag) + L"_query_exit")));
        ASSERT_TRUE(p.Click(q, L"#2"));
        ASSERT_TRUE(ProgramDriver::WaitFor([&] { return Hidden(q); }, 30000));
        EXPECT_TRUE(p.Running());

        ToOptions(p, w, true, lang.tag);
        if (autoRun) { ASSERT_TRUE(p.Click(w, L"check_auto_run")); }
        ASSERT_TRUE(p.Click(w, L"btn_to_install"));
        ASSERT_TRUE(p.WaitVisible(w, L"page_end", kLong));
        EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"install_" + std::wstring(lang.tag) + L"_finish")));

        CheckInstalled(folder, lang, autoRun);

        ASSERT_TRUE(CopyFileW(L"orvo_launch_marker.exe", (folder + L"\\OrvoMain.exe").c_str(), FALSE));
        if (closeOnFinishPage) {
            // Closing the finish page ends the wizard at once, without a question.
            ASSERT_TRUE(p.Click(w, L"btn_close"));
            ASSERT_TRUE(p.WaitExit(30000)) << "closing the finish page asked or hung";
            return;
        }
        // Finish with run-now checked starts the launcher in its folder.
        ASSERT_TRUE(p.Click(w, L"btn_finish"));
        ASSERT_TRUE(p.WaitExit(30000));
        ASSERT_TRUE(ProgramDriver::WaitFor([&] { return Exists(folder + L"\\launched.txt"); }, 60000))
            << "the launcher was not started";
        const std::string cwd = ReadBytes(folder + L"\\launched.txt");
        EXPECT_TRUE(SameFile(folder, std::wstring(reinterpret_cast<const wchar_t*>(cwd.data()), cwd.size() / 2)))
            << "started elsewhere than its folder";
    }

    // An install of many files closed part way: the question, then the
    // worker stops and the program ends in time, taking back the folder it
    // made with every file in it (no uninstaller would remove them: there is
    // no registration). Shots of the installing page on the way.
    void CloseWhileInstalling(const std::wstring& tag)
    {
        const std::wstring folder = DefaultFolder();
        RemoveTree(folder);
        DeleteUninstallKey();
        const std::wstring exe = SetupWithArchive(L"many");
        ASSERT_FALSE(exe.empty());
        ProgramDriver p;
        HWND w = OpenWizard(p, exe);
        ASSERT_TRUE(w);
        ToOptions(p, w, false);
        ASSERT_TRUE(p.Click(w, L"btn_to_install"));
        ASSERT_TRUE(p.WaitVisible(w, L"page_installing", 30000));
        EXPECT_TRUE(ProgramDriver::WaitFor([&] { return Exists(folder + L"\\part003.bin"); }, kLong));
        EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"install_" + tag + L"_installing")));
        // The carousel has moved on after its pause.
        Element first;
        ASSERT_TRUE(p.Find(w, L"img_feather_show_01", &first));
        EXPECT_TRUE(ProgramDriver::WaitFor(
            [&] {
                Element now;
                return p.Find(w, L"img_feather_show_01", &now) && now.rect.left != first.rect.left;
            },
            20000))
            << "the carousel does not slide";

        CloseAndConfirm(p, w);
        EXPECT_FALSE(Exists(folder)) << ReadTree(folder).size() << " files left by a stopped install";
        EXPECT_FALSE(UninstallKeyExists());
        RemoveTree(folder);
    }
};

using InstallEn = InstallTest;

// Runs in the CTest entry install_e2e_cn, whose system language is Chinese;
// anywhere else these cases fail, so a locale that never reached Wine is
// not taken for a pass.
class InstallCn : public InstallTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(2052u, GetSystemDefaultLCID()) << "the system language is not Chinese: the zh_CN locale is missing";
        InstallTest::SetUp();
    }
};

// ---- English: the system's default language ----

TEST_F(InstallEn, RefusesAFolderHoldingOtherFiles)
{
    const std::wstring folder = DefaultFolder();
    RemoveTree(folder);
    MakeFolders(folder);
    ASSERT_TRUE(WriteBytes(folder + L"\\notes.txt", "mine"));
    ProgramDriver p;
    HWND w = OpenWizard(p, kSetup);
    ASSERT_TRUE(w);
    ToOptions(p, w, false);
    ExpectRefusal(p, w, L"install_en_query_other_files");
    EXPECT_EQ("mine", ReadBytes(folder + L"\\notes.txt"));
    EXPECT_EQ(1u, ReadTree(folder).size()) << "something was written into the refused folder";
    // Leaving from the options page asks, and OK ends the program.
    CloseAndConfirm(p, w);
    RemoveTree(folder);
}

TEST_F(InstallEn, RefusesTooLittleSpace)
{
    const std::wstring folder = DefaultFolder();
    RemoveTree(folder);
    const std::wstring exe = SetupWithArchive(L"huge");
    ASSERT_FALSE(exe.empty());
    ProgramDriver p;
    HWND w = OpenWizard(p, exe);
    ASSERT_TRUE(w);
    ToOptions(p, w, false);
    ExpectRefusal(p, w, L"install_en_query_space");
    EXPECT_FALSE(Exists(folder)) << "the refused folder was left behind";
    CloseAndConfirm(p, w);
}

TEST_F(InstallEn, ClosingWhileInstallingStopsTheWorker) { CloseWhileInstalling(L"en"); }

TEST_F(InstallEn, InstallsIntoTheDefaultFolder)
{
    // An earlier install's folder is taken, and its other files stay; what
    // it left elsewhere goes: its start at logon (unticked now) and its
    // start-menu folder in the other language.
    MakeFolders(DefaultFolder());
    ASSERT_TRUE(WriteBytes(DefaultFolder() + L"\\OrvoMain.exe", "old launcher"));
    ASSERT_TRUE(WriteBytes(DefaultFolder() + L"\\settings.ini", "kept"));
    ASSERT_TRUE(SetAutoRun(DefaultFolder() + L"\\OrvoMain.exe"));
    ASSERT_TRUE(CreateStartMenuShortcuts(DefaultFolder() + L"\\OrvoMain.exe", kChinese.name,
                                         DefaultFolder() + L"\\OrvoUninstall.exe", kChinese.uninstallLink));
    const std::wstring earlierMenu = Special(CSIDL_COMMON_PROGRAMS) + L"\\" + kChinese.name;
    ASSERT_TRUE(Exists(earlierMenu));
    InstallIntoDefaultFolder(kEnglish, false, false);
    EXPECT_EQ("kept", ReadBytes(DefaultFolder() + L"\\settings.ini"));
    EXPECT_FALSE(Exists(earlierMenu)) << "the earlier install's start-menu folder stays";
}

// The files are written but the uninstall key cannot be: the install is
// reported as failed (the uninstaller would refuse it for lack of a
// registration), with no finish page, nothing linked to it and its files
// taken back.
TEST_F(InstallEn, ARegistrationThatCannotBeWrittenFailsTheInstall)
{
    const std::wstring folder = DefaultFolder();
    RemoveTree(folder);
    DeleteUninstallKey();
    RemoveAutoRun();
    DeleteDesktopShortcut(kEnglish.name);
    DeleteStartMenuFolder(kEnglish.name);
    ASSERT_TRUE(MakeUninstallKeyReadOnly());
    ProgramDriver p;
    HWND w = OpenWizard(p, kSetup);
    ASSERT_TRUE(w);
    ToOptions(p, w, false);
    ASSERT_TRUE(p.Click(w, L"check_auto_run"));
    ASSERT_TRUE(p.Click(w, L"btn_to_install"));
    HWND q = nullptr;
    Element end;
    ASSERT_TRUE(ProgramDriver::WaitFor(
        [&] {
            q = p.WaitHost(L"queryWindow", 0);
            return q || (p.Find(w, L"page_end", &end) && end.visible);
        },
        kLong));
    ASSERT_TRUE(q) << "the finish page shows for an install that cannot be removed";
    EXPECT_TRUE(p.Find(w, L"page_end", &end) && !end.visible);
    Element cancel;
    ASSERT_TRUE(p.Find(q, L"#2", &cancel));
    EXPECT_FALSE(cancel.visible) << "a failure has OK alone";
    EXPECT_TRUE(ProgramDriver::Screenshot(q, Shot(L"install_en_query_failed")));
    ASSERT_TRUE(p.Click(q, L"#1"));
    ASSERT_TRUE(p.WaitExit(30000));
    EXPECT_FALSE(Exists(folder)) << "the files of a failed install are left";
    EXPECT_EQ(L"", RunValue());
    EXPECT_FALSE(Exists(Special(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\" + kEnglish.name + L".lnk"));
    EXPECT_FALSE(Exists(Special(CSIDL_COMMON_PROGRAMS) + L"\\" + kEnglish.name));
    EXPECT_EQ(ERROR_SUCCESS, DeleteUninstallKey());
    RemoveTree(folder);
}

// ---- Chinese: the system's language is Chinese ----

TEST_F(InstallCn, ClosingWhileInstallingStopsTheWorker) { CloseWhileInstalling(L"cn"); }

TEST_F(InstallCn, InstallsIntoTheDefaultFolderWithAutoRun)
{
    RemoveTree(DefaultFolder());
    InstallIntoDefaultFolder(kChinese, true, true);
}

TEST_F(InstallCn, EnglishChosenAndATypedFolderWithSpacesAndChineseCharacters)
{
    const std::wstring parent = L"C:\\Orvo 游戏 目录";
    const std::wstring folder = parent + L"\\Orvo 客户端 新";
    RemoveTree(parent);
    MakeFolders(parent);
    DeleteUninstallKey();
    RemoveAutoRun();
    ProgramDriver p;
    ASSERT_TRUE(p.Start(kSetup));
    HWND lang = p.WaitHost(L"selLangWindow", kLong);
    ASSERT_TRUE(lang);
    ASSERT_TRUE(p.Click(lang, L"item_english"));
    EXPECT_TRUE(ProgramDriver::Screenshot(lang, Shot(L"install_cn_language_english_chosen")));
    ASSERT_TRUE(p.Click(lang, L"btn_goon"));
    HWND w = p.WaitHost(L"mainWindow", kLong);
    ASSERT_TRUE(w);
    ToOptions(p, w, false);

    // A folder whose parent is missing is refused, and the parent is not made.
    ASSERT_TRUE(TypeInto(p, w, L"edit_location", L"C:\\没有的目录\\Orvoesports"));
    ExpectRefusal(p, w, L"install_en_query_no_parent");
    EXPECT_FALSE(Exists(L"C:\\没有的目录"));

    ASSERT_TRUE(TypeInto(p, w, L"edit_location", folder));
    EXPECT_TRUE(ProgramDriver::Screenshot(w, Shot(L"install_en_options_typed")));
    ASSERT_TRUE(p.Click(w, L"btn_to_install"));
    ASSERT_TRUE(p.WaitVisible(w, L"page_end", kLong));
    CheckInstalled(folder, kEnglish, false);

    ASSERT_TRUE(CopyFileW(L"orvo_launch_marker.exe", (folder + L"\\OrvoMain.exe").c_str(), FALSE));
    ASSERT_TRUE(p.Click(w, L"check_run_right_now"));  // off: finish starts nothing
    ASSERT_TRUE(p.Click(w, L"btn_finish"));
    ASSERT_TRUE(p.WaitExit(30000));
    Sleep(3000);
    EXPECT_FALSE(Exists(folder + L"\\launched.txt")) << "the launcher started with its box unchecked";
}

}  // namespace
