// The framework's own run-time loads, made from a folder that holds planted
// "riched20.dll" and "urlmon.dll" beside the test program: the libraries
// loaded are the system's, and no planted code runs.
#include "LeakCheck.h"
#include "controls/SAxContainer.h"
#include "core/STextServiceHelper.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace WUI;

namespace {

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

// The module's file; the program's own for null.
std::wstring ModulePath(HMODULE module)
{
    wchar_t path[MAX_PATH] = {};
    return GetModuleFileNameW(module, path, MAX_PATH) ? path : L"";
}

std::wstring SystemFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetSystemDirectoryW(path, MAX_PATH);
    return path;
}

bool SameText(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

std::wstring OwnFolder() { return Folder(ModulePath(nullptr)); }

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

class PlantedLibrary : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        // The planted copies stand where the program would look first.
        for (const wchar_t* name : {L"riched20.dll", L"urlmon.dll"})
            ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((OwnFolder() + L"\\" + name).c_str())) << Narrow(name);
    }
    void TearDown() override
    {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((OwnFolder() + L"\\planted.txt").c_str()))
            << "a planted library ran";
        LeakChecked::TearDown();
    }

    // The library named, loaded and from the system folder.
    static void ExpectFromSystemFolder(const wchar_t* name)
    {
        HMODULE module = GetModuleHandleW(name);
        ASSERT_TRUE(module) << Narrow(name) << " is not loaded";
        const std::wstring path = ModulePath(module);
        EXPECT_TRUE(SameText(SystemFolder(), Folder(path))) << Narrow(path);
    }
};

TEST_F(PlantedLibrary, TextServicesComeFromTheSystemFolder)
{
    STextServiceHelper helper;
    EXPECT_TRUE(helper.IsAvailable());
    ExpectFromSystemFolder(L"riched20.dll");
}

TEST_F(PlantedLibrary, UrlMonikersComeFromTheSystemFolder)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    SAxContainerImpl* container = new SAxContainerImpl(nullptr);
    IMoniker* moniker = nullptr;
    EXPECT_EQ(S_OK, container->CreateMoniker(const_cast<LPOLESTR>(L"http://127.0.0.1/x.swf"), nullptr, &moniker, 0));
    if (moniker) moniker->Release();
    container->Release();
    ExpectFromSystemFolder(L"urlmon.dll");
    CoUninitialize();
}

}  // namespace
