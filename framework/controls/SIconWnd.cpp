#include "controls/SIconWnd.h"

#include "core/SApplication.h"
#include "render/GdiHandles.h"

namespace WUI {

SIconWnd::~SIconWnd()
{
    if (m_hIcon) ::DestroyIcon(m_hIcon);
}

HRESULT SIconWnd::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"src") != 0) return SWindow::SetAttribute(name, value, loading);
    SApplication* app = SApplication::GetSingletonPtr();
    if (m_hIcon) ::DestroyIcon(m_hIcon);
    m_hIcon = app ? app->LoadIconById(value) : nullptr;
    return AfterSetAttribute(name, value, S_FALSE);
}

void SIconWnd::SetIcon(HICON icon)
{
    if (m_hIcon && m_hIcon != icon) ::DestroyIcon(m_hIcon);
    m_hIcon = icon;
    InvalidateRect(nullptr);
}

void SIconWnd::OnIconPaint(IRenderTarget* rt)
{
    if (!rt || !m_hIcon) return;
    const RECT rc = GetClientRect();
    rt->DrawIconEx(rc.left, rc.top, m_hIcon, rc.right - rc.left, rc.bottom - rc.top, DI_NORMAL);
}

SIZE SIconWnd::MeasureContent(const RECT*)
{
    ICONINFO info = {};
    if (!m_hIcon || !::GetIconInfo(m_hIcon, &info)) return SIZE{0, 0};
    const GdiObject<HBITMAP> color(info.hbmColor), mask(info.hbmMask);  // ours to delete
    return SIZE{static_cast<LONG>(info.xHotspot * 2), static_cast<LONG>(info.yHotspot * 2)};
}

}  // namespace WUI
