#include "controls/SLink.h"

#include "core/SApplication.h"

#include <shellapi.h>

namespace WUI {

namespace {

bool OpenThroughShell(HWND owner, LPCWSTR target)
{
    const HINSTANCE result = ::ShellExecuteW(owner, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

SLink::FnOpenTarget g_openTarget = &OpenThroughShell;

bool StartsWithNoCase(LPCWSTR text, LPCWSTR prefix)
{
    return _wcsnicmp(text, prefix, wcslen(prefix)) == 0;
}

// Characters no address or path we open holds: controls, blanks at the ends
// (a target is one token), quotes that could start arguments.
bool HasUnsafeCharacters(LPCWSTR text)
{
    const size_t n = wcslen(text);
    if (n == 0 || iswspace(text[0]) || iswspace(text[n - 1])) return true;
    for (size_t i = 0; i < n; ++i)
        if (text[i] < 0x20 || text[i] == 0x7F || text[i] == L'"') return true;
    return false;
}

// A colon anywhere but after a drive letter names a scheme (mailto:,
// file:, or one a program registered).
bool IsPlainPath(LPCWSTR text)
{
    LPCWSTR colon = wcschr(text, L':');
    if (!colon) return true;
    const bool driveLetter = colon == text + 1 && iswalpha(text[0]) && (colon[1] == L'\\' || colon[1] == L'/');
    return driveLetter && !wcschr(colon + 1, L':');
}

}  // namespace

SLink::FnOpenTarget SLink::SetTargetOpener(FnOpenTarget opener)
{
    FnOpenTarget previous = g_openTarget;
    g_openTarget = opener ? opener : &OpenThroughShell;
    return previous;
}

bool SLink::IsOpenableTarget(LPCWSTR target, bool fromLayout)
{
    if (!target || HasUnsafeCharacters(target)) return false;
    for (LPCWSTR scheme : {L"http://", L"https://"})
        if (StartsWithNoCase(target, scheme)) return target[wcslen(scheme)] != 0 && !wcschr(target, L' ');
    return fromLayout && IsPlainPath(target);
}

SLink::SLink()
{
    m_style.SetAttribute(L"align", L"left", TRUE);
}

HRESULT SLink::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"href") != 0) return SWindow::SetAttribute(name, value, loading);
    SApplication* app = SApplication::GetSingletonPtr();
    m_strHref = app ? app->GetString(value) : value;
    m_bHrefFromLayout = loading != FALSE;
    return AfterSetAttribute(name, value, S_FALSE);
}

void SLink::OnInitFinished(pugi::xml_node node)
{
    SWindow::OnInitFinished(node);
    if (m_strToolTip.IsEmpty()) m_strToolTip = m_strHref;
}

BOOL SLink::OnSetCursor(POINT pt)
{
    if (!InText(pt)) return FALSE;
    SWindow::OnSetCursor(pt);
    return TRUE;
}

void SLink::DrawText(IRenderTarget* rt, LPCWSTR text, int length, RECT* rect, UINT format)
{
    if (!(format & DT_CALCRECT)) {
        RECT measured = *rect;
        SWindow::DrawText(rt, text, length, &measured, format | DT_CALCRECT);
        const int w = measured.right - measured.left, h = measured.bottom - measured.top;
        RECT placed = *rect;
        if (format & DT_CENTER) placed.left += (rect->right - rect->left - w) / 2;
        else if (format & DT_RIGHT) placed.left = rect->right - w;
        if (format & DT_VCENTER) placed.top += (rect->bottom - rect->top - h) / 2;
        else if (format & DT_BOTTOM) placed.top = rect->bottom - h;
        placed.right = placed.left + w;
        placed.bottom = placed.top + h;
        // Text past the rectangle is clipped away: it cannot be clicked.
        if (!::IntersectRect(&m_rcText, &placed, rect)) m_rcText = RECT{0, 0, 0, 0};
    }
    SWindow::DrawText(rt, text, length, rect, format);
}

void SLink::OnLinkButtonDown(UINT flags, POINT pt)
{
    if (InText(pt)) SWindow::OnLButtonDown(flags, pt);
}

// Only a click that began and ended on the text opens the target: a press
// beside it, or a second click's release after a double click, does not.
void SLink::OnLinkButtonUp(UINT flags, POINT pt)
{
    if (!InText(pt)) {
        // A press released beside the text is cancelled: it must not stay pushed.
        ReleaseCapture();
        if (m_dwState & WndState_PushDown) ModifyState(0, WndState_PushDown, TRUE);
        return;
    }
    const bool clicked = (m_dwState & WndState_PushDown) != 0;
    SWindow::OnLButtonUp(flags, pt);
    if (!clicked || IsDestroyed() || !IsOpenableTarget(m_strHref, m_bHrefFromLayout)) return;
    HWND owner = m_pContainer ? m_pContainer->GetHostHwnd() : nullptr;
    g_openTarget(owner, m_strHref);
}

void SLink::OnLinkMouseMove(UINT flags, POINT pt)
{
    const bool hovered = (m_dwState & WndState_Hover) != 0;
    if (InText(pt) && !hovered) SWindow::OnMouseHover(flags, pt);
    else if (!InText(pt) && hovered) SWindow::OnMouseLeave();
}

void SLink::OnLinkMouseHover(UINT flags, POINT pt)
{
    if (InText(pt)) SWindow::OnMouseHover(flags, pt);
}

}  // namespace WUI
