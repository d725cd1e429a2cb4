// Reserves a rectangle of the element tree for a native child window that
// the application's real-window handler makes, and keeps that window's
// position and visibility in step with the element.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class SRealWnd : public SWindow {
    WUI_SWINDOW_CLASS(SRealWnd, SWindow, L"realwnd")
public:
    SRealWnd() = default;

    // The element's own, with the "params" child kept for the handler;
    // with "init" the window is made at once.
    BOOL InitFromXml(pugi::xml_node node) override;
    BOOL RedrawsOnStateChange() const override { return FALSE; }
    BOOL ProcessSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    WUI_ATTRS_BEGIN()
        WUI_ATTR_STRING(L"wndclass", m_strClassName, S_FALSE)
        WUI_ATTR_STRING(L"wndname", m_strWindowName, S_FALSE)
        WUI_ATTR_INT(L"style", m_dwStyle, S_FALSE)
        WUI_ATTR_INT(L"exstyle", m_dwExStyle, S_FALSE)
        WUI_ATTR_INT(L"init", m_bInit, S_FALSE)
    WUI_ATTRS_END(SWindow)

    // The native window; with create, made first when "init" is off and
    // there is none yet. Null without a window (or a handler to make one).
    HWND GetRealHwnd(BOOL create = TRUE);

    const SStringW& GetWndClass() const { return m_strClassName; }
    const SStringW& GetWndName() const { return m_strWindowName; }
    DWORD GetWndStyle() const { return m_dwStyle; }
    DWORD GetWndExStyle() const { return m_dwExStyle; }
    // The "params" element of the layout; empty when it had none.
    pugi::xml_node GetParams() const { return m_params.first_child(); }
    ULONG_PTR GetData() const { return m_lpData; }
    void SetData(ULONG_PTR data) { m_lpData = data; }

private:
    // Asks the handler for the window; false when it made none.
    BOOL InitRealWnd();
    void OnShow(BOOL show, UINT status);
    void OnResize();
    void OnDestroyRealWnd();
    BOOL HasLiveWindow() const { return m_hRealWnd && ::IsWindow(m_hRealWnd); }

    SStringW m_strClassName;
    SStringW m_strWindowName;
    DWORD m_dwStyle = WS_CHILD;
    DWORD m_dwExStyle = 0;
    pugi::xml_document m_params;
    int m_bInit = 0;
    HWND m_hRealWnd = nullptr;
    ULONG_PTR m_lpData = 0;
};

}  // namespace WUI
