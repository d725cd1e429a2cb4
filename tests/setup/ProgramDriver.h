// Drives a real program of this project as a user would, from a test process
// in the same Wine prefix: starts it, finds its windows and message boxes,
// reads its element trees through the host's inspection queries (names,
// ids, places, visibility), clicks elements by posted mouse messages or by
// real input, presses message-box buttons, and saves screenshots.
//
//   ProgramDriver p;
//   ASSERT_TRUE(p.Start(exe));
//   HWND w = p.WaitHost(L"unmainWindow");
//   p.Screenshot(w, L"page.png");
//   ASSERT_TRUE(p.Click(w, L"btn_to_uninstall"));
//   ASSERT_TRUE(p.WaitVisible(w, L"page_unend", 60000));
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// One element of a host window, as its inspection answer gives it.
struct Element {
    DWORD swnd = 0;
    int id = 0;
    std::wstring name;
    std::wstring className;
    RECT rect = {};        // in the host window's client coordinates
    bool visible = false;  // the element and all its ancestors
};

class ProgramDriver {
public:
    ProgramDriver();
    // Ends a program it started that still runs, so no test leaves one behind.
    ~ProgramDriver();
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // Starts exe with args (a command-line tail) in workDir (null: the
    // exe's folder). False when it cannot be started.
    bool Start(const std::wstring& exe, const std::wstring& args = L"", const wchar_t* workDir = nullptr);
    DWORD ProcessId() const { return pid_; }
    // Waits for the program to end; false after ms. exitCode gets its code.
    bool WaitExit(DWORD ms, DWORD* exitCode = nullptr) const;
    bool Running() const { return !WaitExit(0); }

    // A visible host window of the program whose root element is named
    // rootName ("unmainWindow", "queryWindow"); null after ms.
    HWND WaitHost(const wchar_t* rootName, DWORD ms = 60000) const;
    // A visible standard message box of the program; null after ms.
    HWND WaitMessageBox(DWORD ms = 60000) const;
    // The message text and the title of a message box.
    static std::wstring MessageBoxText(HWND box);
    static std::wstring WindowTitle(HWND window);
    // Clicks the message box's button with that id (IDOK, IDCANCEL).
    static bool PressMessageBoxButton(HWND box, int id);

    // Every element of the host's tree, in tree order; empty when the
    // window does not answer.
    std::vector<Element> Elements(HWND host) const;
    // The first element named name (or, for a name of the form "#<n>", of
    // id n); false when there is none.
    bool Find(HWND host, const std::wstring& name, Element* out = nullptr) const;
    // Waits until the element exists and is visible (with its ancestors).
    bool WaitVisible(HWND host, const std::wstring& name, DWORD ms = 60000) const;
    // Posts a left click (move, down, up) at the centre of the visible
    // element. False when it is missing or hidden.
    bool Click(HWND host, const std::wstring& name) const;
    // The same through real input: the cursor moves there and the button
    // goes down and up as if pressed by hand.
    bool ClickReal(HWND host, const std::wstring& name) const;

    // The screen under the window as a PNG at path, after raising it above
    // other windows and letting it repaint. False when it cannot be saved.
    static bool Screenshot(HWND window, const std::wstring& path);

    // Calls test every 100 ms until it holds or ms pass; whether it held.
    static bool WaitFor(const std::function<bool()>& test, DWORD ms);

private:
    std::vector<HWND> VisibleWindows() const;
    static LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND receiver_ = nullptr;  // gets the inspection answers
};

}  // namespace e2e
