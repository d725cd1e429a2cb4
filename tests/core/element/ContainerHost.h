// A real element container (the window-independent half a host window
// derives from) over a recorded native side, with elements that log the
// input they get: mouse, keyboard and focus run as in a host window, driven
// by scripted messages.
#pragma once

#include "core/SwndContainerImpl.h"
#include "element/ElementHost.h"

#include <string>
#include <vector>

namespace elemtest {

// The native side: answers what a host window answers, and records events.
class HostedContainer : public WUI::SwndContainerImpl {
public:
    // Render targets come from `target` (may be null).
    explicit HostedContainer(WUI::IRenderTarget* target);
    ~HostedContainer() override;

    BOOL OnFireEvent(WUI::EventArgs& args) override;
    HWND GetHostHwnd() override { return hostHwnd; }
    LPCWSTR GetTranslatorContext() override { return L""; }
    BOOL IsTranslucent() override { return FALSE; }
    BOOL IsSendWheel2Hover() override { return sendWheel2Hover; }
    RECT GetContainerRect() override { return GetPlacedRect(); }
    WUI::IRenderTarget* GetRenderTarget(const RECT& rect, int mode) override;
    void ReleaseRenderTarget(WUI::IRenderTarget* rt, const RECT& rect, int mode) override;
    void OnRedraw(const RECT&) override {}
    BOOL CreateCaret(WUI::SWND, HBITMAP, int, int) override { return FALSE; }
    BOOL ShowCaret(BOOL) override { return FALSE; }
    BOOL SetCaretPos(int, int) override { return FALSE; }
    void UpdateWindow() override {}
    void UpdateTooltip() override {}
    WUI::SMessageLoop* GetMsgLoop() override { return nullptr; }
    WUI::IScriptModule* GetScriptModule() override { return nullptr; }

    std::vector<int> hostEvents;  // ids of the events that reached the host
    HWND hostHwnd = nullptr;
    BOOL sendWheel2Hover = FALSE;

private:
    WUI::IRenderTarget* m_target;
};

// Logs "<name> <message>" for the input it gets (see ContainerHost::log).
// "dlgCode" sets what GetDlgCode answers; "takeKeys"="1" makes it handle
// key messages.
class ProbeElement : public WUI::SWindow {
    WUI_SWINDOW_CLASS(ProbeElement, WUI::SWindow, L"probe")
public:
    BOOL ProcessSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    HRESULT SetAttribute(const WUI::SStringW& name, const WUI::SStringW& value, BOOL loading) override;
    UINT GetDlgCode() const override { return dlgCode; }

    UINT dlgCode = 0;
    bool takeKeys = false;
    WPARAM lastFocusParam = 0;  // wParam of the last WM_SETFOCUS or WM_KILLFOCUS
};

// A radio-like member of a sibling group: the first checked one answers for it.
class GroupRadio : public ProbeElement {
    WUI_SWINDOW_CLASS(GroupRadio, ProbeElement, L"radio")
public:
    BOOL JoinsSiblingGroup() const override { return TRUE; }
    WUI::SWindow* GetCheckedSiblingInGroup() override;
};

class ContainerHost {
public:
    explicit ContainerHost(int width = 400, int height = 300);
    ~ContainerHost();
    ContainerHost(const ContainerHost&) = delete;
    ContainerHost& operator=(const ContainerHost&) = delete;

    HostedContainer& Container() { return *m_container; }
    WUI::SApplication& App() { return m_base.App(); }
    // Builds the layout's children under the container's root and lays them out.
    void Load(const wchar_t* xml);
    WUI::SWindow* Find(const wchar_t* name);
    WUI::SWND Swnd(const wchar_t* name);
    // Through DispatchHostMessage; handled: the root's handled flag after it.
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, BOOL* handled = nullptr);
    LRESULT Mouse(UINT msg, int x, int y, BOOL* handled = nullptr);
    // A key press with these modifiers held (the keyboard state is set for it).
    LRESULT Key(UINT vk, bool ctrl = false, bool shift = false, bool alt = false, BOOL* handled = nullptr);
    // The log since the last call, then emptied.
    std::vector<std::wstring> TakeLog();

    // The host of the probes logging now.
    static ContainerHost* Current() { return s_current; }
    std::vector<std::wstring> log;

private:
    ElementHost m_base;  // the application and its render target
    HostedContainer* m_container;
    static ContainerHost* s_current;
};

}  // namespace elemtest
