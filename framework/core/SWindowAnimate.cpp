// Showing and hiding an element in steps: two pictures of the tree over the
// element, without and with it, and frames composed from them.
#include "core/SWindow.h"

#include <algorithm>

namespace WUI {

namespace {

const int kStepMs = 10;

// A picture of the tree over rc, in rc's coordinates.
SAutoRefPtr<IRenderTarget> PictureOf(SWindow* root, IRenderTarget* like, const RECT& rc, IRegion* rgn)
{
    SAutoRefPtr<IRenderTarget> picture;
    IRenderTarget* made = nullptr;
    if (FAILED(like->CreateCompatibleRenderTarget(SIZE{rc.right - rc.left, rc.bottom - rc.top}, &made)) || !made)
        return picture;
    picture.Attach(made);
    picture->SetViewportOrg(POINT{-rc.left, -rc.top});
    root->RedrawRegion(picture, rgn);
    return picture;
}

// Where the element's picture goes when `shown` of it (0..1) is on screen,
// and from where in the picture it comes.
void Reveal(const RECT& rc, DWORD flags, double shown, RECT& dest, RECT& src)
{
    dest = src = rc;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int cw = static_cast<int>(w * shown), ch = static_cast<int>(h * shown);
    if (flags & AW_CENTER) {
        ::InflateRect(&dest, (cw - w) / 2, (ch - h) / 2);
        src = dest;
        return;
    }
    if (!(flags & AW_SLIDE)) return;
    // Slides in from the side it moves away from: the far part shows first.
    if (flags & AW_HOR_POSITIVE) dest.right = rc.left + cw, src.left = rc.right - cw;
    else if (flags & AW_HOR_NEGATIVE) dest.left = rc.right - cw, src.right = rc.left + cw;
    if (flags & AW_VER_POSITIVE) dest.bottom = rc.top + ch, src.top = rc.bottom - ch;
    else if (flags & AW_VER_NEGATIVE) dest.top = rc.bottom - ch, src.bottom = rc.top + ch;
}

}  // namespace

BOOL SWindow::AnimateWindow(DWORD time, DWORD flags)
{
    const BOOL hide = (flags & AW_HIDE) != 0;
    if (hide ? !IsVisible(TRUE) : (IsVisible(TRUE) || !m_pParent || !m_pParent->IsVisible(TRUE))) return FALSE;
    SAutoRefPtr<SWindow> keep(this);
    if (!(flags & (AW_SLIDE | AW_CENTER | AW_BLEND))) {
        SetVisible(!hide, TRUE);
        return FALSE;
    }
    // Frames go through the parent, which stays visible (the root: itself).
    SAutoRefPtr<SWindow> base(m_pParent ? m_pParent : this);
    const RECT rc = GetPlacedRect();
    SAutoRefPtr<IRegion> rgn;
    rgn.Attach(NewRegion(&rc));
    IRenderTarget* frame = rgn ? base->GetRenderTargetForRect(&rc, kRtHostImage, FALSE) : nullptr;
    SAutoRefPtr<IRenderTarget> first, second;
    if (frame) first = PictureOf(GetTopLevelParent(), frame, rc, rgn);
    SendSwndMessage(WM_SHOWWINDOW, !hide, 0);
    if (frame) second = PictureOf(GetTopLevelParent(), frame, rc, rgn);
    IRenderTarget* without = hide ? second : first;
    IRenderTarget* with = hide ? first : second;
    const int steps = std::max<int>(1, static_cast<int>(time / kStepMs));
    for (int i = 1; frame && i <= steps; ++i) {
        if (i > 1 && !(frame = base->GetRenderTargetForRect(&rc, kRtHostImage, FALSE))) break;
        if (with && without) {
            const double progress = static_cast<double>(i) / steps;
            const double shown = hide ? 1 - progress : progress;
            RECT dest, src;
            Reveal(rc, flags, shown, dest, src);
            const BYTE alpha = (flags & AW_BLEND) ? static_cast<BYTE>(255 * shown) : 255;
            frame->BitBlt(&rc, without, rc.left, rc.top, SRCCOPY);
            if (!::IsRectEmpty(&dest) && alpha) frame->AlphaBlend(&dest, with, &src, alpha);
        }
        base->ReleaseRenderTarget(frame);
        ::Sleep(kStepMs);
    }
    if (m_pParent) m_pParent->InvalidateRect(&rc);
    else if (m_pContainer) m_pContainer->OnRedraw(rc);
    return TRUE;
}

}  // namespace WUI
