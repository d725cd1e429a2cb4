#include "LauncherTestSupport.h"

#include <shellapi.h>

#include <fstream>
#include <sstream>

#include "core/SMessageBoxTemplate.h"
#include "core/SResProviderPE.h"
#include "host/HostTestSupport.h"
#include "itemviews/FrameworkTags.h"
#include "render/IImgDecoder.h"

LauncherApp::LauncherApp(const TranslationLoader* load)
{
    WUI::AddFrameworkTags();
    WUI::CreateRenderFactory_GDI(&m_factory);
    if (WUI::CreateImgDecoderFactory(L"imgdecoder-gdip", &m_decoders))
        m_factory->SetImgDecoderFactory(m_decoders);
    m_app.reset(new WUI::SApplication(m_factory, GetModuleHandleW(nullptr), L"WUIHOST"));
    WUI::SAutoRefPtr<WUI::IResProvider> pe;
    pe.Attach(new WUI::SResProviderPE);
    pe->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
    m_app->LoadSystemResources(pe);
    PrepareLauncherUi(*m_app, pe);
    if (WUI::CreateTranslatorMgr(&m_translators) && m_translators) {
        m_app->SetTranslator(m_translators);
        m_translated = load ? InstallLauncherTranslation(*m_app, *load) : InstallLauncherTranslation(*m_app);
    }
}

LauncherApp::~LauncherApp()
{
    m_app.reset();
    WUI::ReleaseGlobalMsgBoxTemplate();
    if (m_translators)
        m_translators->Release();
    if (m_decoders)
        m_decoders->Release();
    m_factory->Release();
}

std::wstring WideOf(const std::string& utf8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? size_t(n) : 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &out[0], n);
    out.resize(wcslen(out.c_str()));
    return out;
}

std::string Utf8Of(const std::wstring& wide)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? size_t(n) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(strlen(out.c_str()));
    return out;
}

std::wstring FullPathOf(const std::wstring& path)
{
    wchar_t full[1024];
    DWORD n = GetFullPathNameW(path.c_str(), 1024, full, nullptr);
    return n && n < 1024 ? std::wstring(full, n) : path;
}

std::string ReadWide(const std::wstring& path)
{
    FILE* in = _wfopen(path.c_str(), L"rb");
    if (!in)
        return std::string();
    std::string bytes;
    char block[65536];
    size_t n;
    while ((n = fread(block, 1, sizeof block, in)) > 0)
        bytes.append(block, n);
    fclose(in);
    return bytes;
}

void WriteWide(const std::wstring& path, const std::string& bytes)
{
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out)
        return;
    fwrite(bytes.data(), 1, bytes.size(), out);
    fclose(out);
}

bool ExistsWide(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTreeWide(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = folder + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTreeWide(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

void MakeFoldersWide(const std::wstring& folder)
{
    for (size_t i = 0; (i = folder.find_first_of(L"\\/", i + 1)) != std::wstring::npos;)
        CreateDirectoryW(folder.substr(0, i).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
}

bool SaveWindowPicture(HWND window, const wchar_t* path)
{
    // PNG files are written by the PNG decoder's encoder.
    WUI::IRenderFactory* factory = nullptr;
    WUI::IImgDecoderFactory* png = nullptr;
    if (!WUI::CreateRenderFactory_GDI(&factory) || !WUI::CreateImgDecoderFactory(L"imgdecoder-png", &png))
        return false;
    factory->SetImgDecoderFactory(png);
    bool saved = hosttest::SaveScreenshot(factory, window, path);
    png->Release();
    factory->Release();
    return saved;
}

InheritProbe::InheritProbe()
{
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    m_event = CreateEventW(&inheritable, TRUE, FALSE, nullptr);
    if (m_event)
        SetEnvironmentVariableW(L"ORVO_PROBE_HANDLE", std::to_wstring(uintptr_t(m_event)).c_str());
}

InheritProbe::~InheritProbe()
{
    SetEnvironmentVariableW(L"ORVO_PROBE_HANDLE", nullptr);
    if (m_event)
        CloseHandle(m_event);
}

std::string StandInClientBytes() { return ReadWide(STAND_IN_CLIENT_EXE); }

std::string WaitForClientRecord(const std::wstring& folder, DWORD ms)
{
    const std::wstring path = folder + L"\\client_started.txt";
    DWORD start = GetTickCount();
    do {
        std::string record = ReadWide(path);
        // Written whole by the client: complete once its last line ends.
        if (!record.empty() && record.back() == '\n' && record.find("inherited=") != std::string::npos)
            return record;
        Sleep(50);
    } while (GetTickCount() - start < ms);
    return std::string();
}
