// What the launcher's tests share: the framework started as the launcher
// starts it, wide paths, the stand-in client and what it records.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <string>

#include "LauncherMain.h"

class LauncherApp
{
public:
    // The launcher's resources, skins and ids; with load, the translation
    // comes through it (else from the test's own resources).
    explicit LauncherApp(const TranslationLoader* load = nullptr);
    ~LauncherApp();
    LauncherApp(const LauncherApp&) = delete;
    LauncherApp& operator=(const LauncherApp&) = delete;

    WUI::SApplication& App() { return *m_app; }
    WUI::IRenderFactory* Factory() const { return m_factory; }
    bool Translated() const { return m_translated; }

private:
    WUI::IRenderFactory* m_factory = nullptr;
    WUI::IImgDecoderFactory* m_decoders = nullptr;
    WUI::ITranslatorMgr* m_translators = nullptr;
    std::unique_ptr<WUI::SApplication> m_app;
    bool m_translated = false;
};

std::wstring WideOf(const std::string& utf8);
std::string Utf8Of(const std::wstring& wide);
std::wstring FullPathOf(const std::wstring& path);
std::string ReadWide(const std::wstring& path);
void WriteWide(const std::wstring& path, const std::string& bytes);
bool ExistsWide(const std::wstring& path);
// Removes the folder and everything below it.
void RemoveTreeWide(const std::wstring& folder);
void MakeFoldersWide(const std::wstring& folder);

// The screen under a window (of any process) as a PNG; see hosttest::SaveScreenshot.
bool SaveWindowPicture(HWND window, const wchar_t* path);

// An inheritable event whose handle value ORVO_PROBE_HANDLE names to this
// process and those it starts: a stand-in client that was handed the handle
// signals it, one that was not cannot.
class InheritProbe
{
public:
    InheritProbe();
    ~InheritProbe();
    InheritProbe(const InheritProbe&) = delete;
    InheritProbe& operator=(const InheritProbe&) = delete;

    bool Valid() const { return m_event != nullptr; }
    // True once a process that holds the handle has signalled it.
    bool Signalled() const { return m_event && WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0; }

private:
    HANDLE m_event = nullptr;
};

// The stand-in client program, as bytes to serve.
std::string StandInClientBytes();
// What the stand-in client recorded in folder ("cwd=...\ninherited=N\n"),
// waited for up to ms; empty when it never started.
std::string WaitForClientRecord(const std::wstring& folder, DWORD ms);
