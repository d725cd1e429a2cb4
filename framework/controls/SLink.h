// A link ("link"): text that acts only where the text is. A click on the text
// fires the command and opens the target in "href" through the shell, when
// the target is a web address or a path the layout gave.
#pragma once

#include "core/SWindow.h"

namespace WUI {

class SLink : public SWindow {
    WUI_SWINDOW_CLASS(SLink, SWindow, L"link")
public:
    // What opens a target; true when it started. The default asks the shell
    // for its "open" verb with a normal window.
    typedef bool (*FnOpenTarget)(HWND owner, LPCWSTR target);
    // Installs the opener (null: the shell's again); returns the one before.
    static FnOpenTarget SetTargetOpener(FnOpenTarget opener);
    // Whether a target may be opened: an http or https address always; a
    // plain path (no other scheme, no quotes or control characters) only when
    // it came from the layout. An empty target never.
    static bool IsOpenableTarget(LPCWSTR target, bool fromLayout);

    // Aligned left unless the layout says otherwise.
    SLink();

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // An element without a tip shows its target as the tip.
    void OnInitFinished(pugi::xml_node node) override;
    // The style's cursor over the text; false elsewhere (the host then shows the arrow).
    BOOL OnSetCursor(POINT pt) override;
    // Draws the text and, unless measuring, notes where it lies.
    void DrawText(IRenderTarget* rt, LPCWSTR text, int length, RECT* rect, UINT format) override;

    const SStringW& GetHref() const { return m_strHref; }
    // Where the text was last drawn; empty before the first paint.
    const RECT& GetLinkRect() const { return m_rcText; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnLinkButtonDown)
        WUI_MSG_MOUSE(WM_LBUTTONUP, OnLinkButtonUp)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnLinkMouseMove)
        WUI_MSG_MOUSE(WM_MOUSEHOVER, OnLinkMouseHover)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    bool InText(POINT pt) const { return ::PtInRect(&m_rcText, pt) != FALSE; }
    void OnLinkButtonDown(UINT flags, POINT pt);
    void OnLinkButtonUp(UINT flags, POINT pt);
    void OnLinkMouseMove(UINT flags, POINT pt);
    void OnLinkMouseHover(UINT flags, POINT pt);

    RECT m_rcText = {0, 0, 0, 0};
    SStringW m_strHref;
    bool m_bHrefFromLayout = false;
};

}  // namespace WUI
