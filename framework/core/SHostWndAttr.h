// The window attributes of a host layout's "WUI" root: size, title, styles,
// resize borders, translucency, icons and the window type.
#pragma once

#include "core/SObject.h"

namespace WUI {

// What destroying a host window posts: see SHostWnd.
enum HostWndType {
    kWndTypeUndefine = 0,  // quits for an ordinary overlapped window only
    kWndTypeAppMain = 1,   // always quits
    kWndTypeNormal = 2,    // never quits
};

class SHostWndAttr : public SObject {
    WUI_CLASS_NAME(SHostWndAttr, SObject, L"hostwndattr")
public:
    SHostWndAttr() { Reset(); }
    // Destroys both icons.
    ~SHostWndAttr() override;
    SHostWndAttr(const SHostWndAttr&) = delete;
    SHostWndAttr& operator=(const SHostWndAttr&) = delete;

    // The defaults, before each load (icons destroyed).
    void Reset();

    // Numbers are decimal (text that is no number reads 0); a list that is
    // malformed, a style that is not a whole unsigned 32-bit decimal number
    // or a "wndType" word that is unknown is refused (E_FAIL) and the field
    // keeps its value; unknown names are refused too.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Through the application's translator in this window's own context.
    SStringW TranslateText(const SStringW& text) override;

    SStringW m_strTrCtx;
    SStringW m_strTitle;
    SIZE m_size;
    RECT m_rcMargin;    // resize borders
    SIZE m_szMin;       // minimum tracking size
    RECT m_rcMaxInset;  // of the maximised window beyond the work area
    DWORD m_dwStyle;
    DWORD m_dwExStyle;
    BOOL m_bResizable;
    BOOL m_bAppWnd;
    BOOL m_bToolWnd;
    BOOL m_bTranslucent;
    BOOL m_bAllowSpy;
    BOOL m_bSendWheel2Hover;
    BYTE m_byAlpha;
    BYTE m_byWndType;
    HICON m_hAppIconSmall = nullptr;
    HICON m_hAppIconBig = nullptr;

private:
    HRESULT SetIcon(HICON& icon, const SStringW& spec);
    void DestroyIcons();
};

}  // namespace WUI
