// The built programs are what we ship: 32-bit Windows GUI executables that need
// no MinGW DLL, the setup carrying the client archive and the uninstaller not.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "DataModule.h"

namespace {

struct Program {
    const wchar_t* path;
    bool carriesArchive;
};

const Program kPrograms[] = {
    {ORVOSETUP_EXE, true},
    {ORVOUNINSTALL_EXE, false},
    {ORVOMAIN_EXE, false},
};

// Reads the PE headers straight from the file.
bool ReadHeaders(const wchar_t* path, IMAGE_NT_HEADERS32* nt)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    IMAGE_DOS_HEADER dos{};
    DWORD got = 0;
    bool ok = ReadFile(file, &dos, sizeof dos, &got, nullptr) && got == sizeof dos && dos.e_magic == IMAGE_DOS_SIGNATURE &&
              SetFilePointer(file, dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
              ReadFile(file, nt, sizeof *nt, &got, nullptr) && got == sizeof *nt && nt->Signature == IMAGE_NT_SIGNATURE;
    CloseHandle(file);
    return ok;
}

TEST(Deliverables, AreLargeAddressAware32BitGuiPrograms)
{
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(testing::Message() << std::wstring(p.path).c_str());
        IMAGE_NT_HEADERS32 nt{};
        ASSERT_TRUE(ReadHeaders(p.path, &nt));
        EXPECT_EQ(IMAGE_FILE_MACHINE_I386, nt.FileHeader.Machine);
        EXPECT_TRUE(nt.FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
        EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt.OptionalHeader.Subsystem);
        // Windows 7 (6.1) is the oldest system the programs declare.
        EXPECT_EQ(6, nt.OptionalHeader.MajorSubsystemVersion);
        EXPECT_EQ(1, nt.OptionalHeader.MinorSubsystemVersion);
    }
}

// The names of the libraries the program imports, in lower case; empty when
// it cannot be mapped or has no import table.
std::vector<std::string> ImportedLibraries(const wchar_t* path)
{
    std::vector<std::string> names;
    HMODULE m = LoadLibraryExW(path, nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!m) return names;
    auto* base = reinterpret_cast<const BYTE*>(m);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress) {
        for (auto* imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; imp++) {
            std::string dll = reinterpret_cast<const char*>(base + imp->Name);
            for (char& c : dll) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            names.push_back(dll);
        }
    }
    FreeLibrary(m);
    return names;
}

TEST(Deliverables, ImportNoMinGwRuntimeDll)
{
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(testing::Message() << std::wstring(p.path).c_str());
        const std::vector<std::string> dlls = ImportedLibraries(p.path);
        ASSERT_FALSE(dlls.empty());
        for (const std::string& dll : dlls) {
            EXPECT_EQ(std::string::npos, dll.find("libstdc++")) << dll;
            EXPECT_EQ(std::string::npos, dll.find("libgcc")) << dll;
            EXPECT_EQ(std::string::npos, dll.find("libwinpthread")) << dll;
        }
    }
}

// Imports are resolved before the program runs, from its own folder first
// for any library the system does not always take from its own list of
// known libraries: a library planted beside a downloaded setup would load.
// Only those known on every supported system (7 and later) may be imported;
// any other is loaded later, from the system folder.
TEST(Deliverables, ImportOnlyLibrariesTheSystemAlwaysKnows)
{
    const std::set<std::string> known = {
        "advapi32.dll", "clbcatq.dll",  "comdlg32.dll", "difxapi.dll", "gdi32.dll",   "imagehlp.dll",
        "imm32.dll",    "kernel32.dll", "msctf.dll",    "msvcrt.dll",  "normaliz.dll", "nsi.dll",
        "ole32.dll",    "oleaut32.dll", "psapi.dll",    "rpcrt4.dll",  "sechost.dll", "setupapi.dll",
        "shell32.dll",  "shlwapi.dll",  "user32.dll",   "wldap32.dll", "ws2_32.dll",
    };
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(testing::Message() << std::wstring(p.path).c_str());
        const std::vector<std::string> dlls = ImportedLibraries(p.path);
        ASSERT_FALSE(dlls.empty());
        for (const std::string& dll : dlls) EXPECT_TRUE(known.count(dll)) << dll << " is imported";
    }
}

TEST(Deliverables, OnlyTheSetupCarriesTheClientArchive)
{
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(testing::Message() << std::wstring(p.path).c_str());
        DataModule m(p.path);
        ASSERT_NE(nullptr, m.get());
        HRSRC res = FindResourceW(m.get(), L"profile", L"_7Z");
        ASSERT_EQ(p.carriesArchive, res != nullptr);
        if (!res) continue;
        DWORD size = SizeofResource(m.get(), res);
        const void* data = LockResource(LoadResource(m.get(), res));
        ASSERT_NE(nullptr, data);
        ASSERT_GT(size, 32u);
        EXPECT_EQ(0, std::memcmp(data, "7z\xBC\xAF\x27\x1C", 6)) << "a 7z archive";
    }
}

}  // namespace

namespace {

// The framework's own definitions that the programs load at start.
TEST(Deliverables, CarryTheFrameworksSystemResources)
{
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(testing::Message() << std::wstring(p.path).c_str());
        DataModule module(p.path);
        ASSERT_NE(nullptr, module.get());
        for (const wchar_t* name : {L"SYS_XML_SKIN", L"SYS_XML_EDITMENU", L"SYS_XML_MSGBOX", L"SYS_WND_BKGND"})
            EXPECT_NE(nullptr, FindResourceW(module.get(), name, name[4] == L'X' ? L"XML" : L"PNG"))
                << std::wstring(name).size();
    }
}

}  // namespace
