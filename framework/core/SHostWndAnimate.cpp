// Showing and hiding a host window in steps.
#include "core/SHostWnd.h"

#include "core/SApplication.h"

namespace WUI {

namespace {

const DWORD kStepMs = 10;

}  // namespace

BOOL SHostWnd::AnimateHostWindow(DWORD time, DWORD flags)
{
    if (!(flags & (AW_SLIDE | AW_CENTER | AW_BLEND)) || !m_hWnd) return FALSE;
    if (!m_attr.m_bTranslucent) return ::AnimateWindow(m_hWnd, time, flags);
    const bool hide = (flags & AW_HIDE) != 0;
    if (!hide) {
        const UINT activate = (flags & AW_ACTIVATE) ? 0 : SWP_NOACTIVATE;
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW | activate);
    }
    // The whole tree into the image first; the steps show parts of it.
    m_bNeedAllRepaint = TRUE;
    OnPrint(nullptr, kPaintInvalidOnly);
    const RECT client = GetClientRect();
    SApplication* app = SApplication::GetSingletonPtr();
    IRenderTarget* frame = nullptr;
    if (!m_memRT || !app || !app->GetRenderFactory()->CreateRenderTarget(&frame, client.right, client.bottom) || !frame)
        return TRUE;
    const int steps = time / kStepMs > 0 ? static_cast<int>(time / kStepMs) : 1;
    for (int i = 1; i <= steps; ++i) {
        ShowAnimationFrame(frame, flags, hide ? steps - i : i, steps);
        ::Sleep(kStepMs);
    }
    frame->Release();
    if (hide) ::ShowWindow(m_hWnd, SW_HIDE);
    else OnRedraw(client);
    return TRUE;
}

void SHostWnd::ShowAnimationFrame(IRenderTarget* frame, DWORD flags, int num, int den)
{
    const RECT client = GetClientRect();
    const int w = client.right, h = client.bottom;
    frame->ClearRect(&client, 0);
    RECT part = client;  // the part of the image shown, in place
    BYTE alpha = 255;
    if (flags & AW_CENTER) {
        const int pw = w * num / den, ph = h * num / den;
        part = RECT{(w - pw) / 2, (h - ph) / 2, (w - pw) / 2 + pw, (h - ph) / 2 + ph};
    } else if (flags & AW_SLIDE) {
        const int pw = (flags & (AW_HOR_POSITIVE | AW_HOR_NEGATIVE)) ? w * num / den : w;
        const int ph = (flags & (AW_VER_POSITIVE | AW_VER_NEGATIVE)) ? h * num / den : h;
        part.left = (flags & AW_HOR_NEGATIVE) ? w - pw : 0;
        part.top = (flags & AW_VER_NEGATIVE) ? h - ph : 0;
        part.right = part.left + pw;
        part.bottom = part.top + ph;
    } else {
        alpha = static_cast<BYTE>(255 * num / den);
    }
    if (!::IsRectEmpty(&part)) frame->AlphaBlend(&part, m_memRT, &part, alpha);
    RECT wnd;
    ::GetWindowRect(m_hWnd, &wnd);
    POINT dst = {wnd.left, wnd.top};
    SIZE size = {w, h};
    POINT src = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_attr.m_byAlpha, AC_SRC_ALPHA};
    UPDATELAYEREDWINDOWINFO info = {sizeof(info), nullptr, &dst, &size, nullptr, &src, 0, &blend, ULW_ALPHA, nullptr};
    info.hdcSrc = frame->GetDC(0);
    if (SApplication::GetSingletonPtr()->UpdateLayered(m_hWnd, &info)) ++m_layeredUpdates;
    frame->ReleaseDC(info.hdcSrc);
}

}  // namespace WUI
