// Painting a tree of elements in paint order, and painting one element
// outside a paint of the host: render targets for a rectangle, the update
// region, what lies beneath and above.
#include "core/SWindow.h"

#include <new>

namespace WUI {

// One open GetRenderTargetForRect. Calls nest (a handler painting while the
// element paints), so the records form a stack.
struct SwndPaintRecord {
    RECT area;
    int mode;
    SAutoRefPtr<IRegion> rgn;
    IRenderTarget* rt;            // the reference handed out
    ISwndContainer* container;    // where a host target goes back
    SWND layer;                   // the layered element the target belongs to; 0: a host target
    SPaintState saved;            // the target's font and colour before the text style chain
    SwndPaintRecord* next;
};

namespace {

// Blends src over the part of rect inside rt's clip.
void BlendInto(IRenderTarget* rt, IRenderTarget* src, const RECT& rect, BYTE alpha)
{
    RECT clip, part;
    rt->GetClipBox(&clip);
    if (::IntersectRect(&part, &rect, &clip)) rt->AlphaBlend(&part, src, &part, alpha);
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

// Whether the region is absent or empty (everything is due) or meets rc.
bool Meets(IRegion* rgn, const RECT& box, const RECT& rc)
{
    if (!rgn) return true;
    RECT common;
    return ::IntersectRect(&common, &box, &rc) && rgn->RectInRegion(&rc);
}

}  // namespace

int SWindow::AssignZorder(int first)
{
    m_nZOrder = first++;
    for (SWindow* c = m_pFirstChild; c; c = c->m_pNextSibling) first = c->AssignZorder(first);
    return first;
}

SWindow* SWindow::LastDescendant()
{
    SWindow* w = this;
    while (w->m_pLastChild) w = w->m_pLastChild;
    return w;
}

SWindow* SWindow::LayeredAncestor()
{
    for (SWindow* w = this; w; w = w->m_pParent)
        if (w->IsLayered()) return w;
    return nullptr;
}

void SWindow::PaintTree(IRenderTarget* rt, IRegion* rgn, int zMin, int zMax)
{
    if (!rt || !IsVisible(TRUE) || !IsPlaced()) return;
    SAutoRefPtr<SWindow> keep(this);  // paint handlers may change the tree
    if (rgn && rgn->IsEmpty()) rgn = nullptr;
    const RECT rcWnd = m_rcWindow;
    const RECT rcClient = GetClientRect();
    RECT box = rcWnd;
    if (rgn) rgn->GetRgnBox(&box);
    const bool nonClientDue = !Contains(rcClient, box);

    SAutoRefPtr<IRenderTarget> target(rt);
    SPaintState layerSaved;
    // A layer with nothing of the range in its subtree is left as it is.
    const bool ownLayer = IsLayered() && m_layeredRT && m_layeredRT.get() != rt && m_nZOrder < zMax &&
                          LastDescendant()->m_nZOrder >= zMin;
    if (ownLayer) {
        target = m_layeredRT;
        LendTextStyle(target, rt, layerSaved);
        if (rgn) target->PushClipRegion(rgn, RGN_COPY);
        target->ClearRect(&rcWnd, 0);
    }
    int clips = 0;
    if (m_shapeRgn) {
        m_shapeRgn->Offset(POINT{rcWnd.left, rcWnd.top});
        target->PushClipRegion(m_shapeRgn, RGN_AND);
        m_shapeRgn->Offset(POINT{-rcWnd.left, -rcWnd.top});
        ++clips;
    }
    if (IsClipClient()) {
        target->PushClipRect(&rcClient, RGN_AND);
        ++clips;
    }
    const bool inRange = m_nZOrder >= zMin && m_nZOrder < zMax;
    if (inRange && Meets(rgn, box, rcClient)) PaintClient(target);
    SPaintState saved;
    BeforePaint(target, saved);  // the children inherit the font and colour
    PaintChildren(target, rgn, zMin, zMax);
    AfterPaint(target, saved);
    while (clips--) target->PopClip();
    if (inRange && nonClientDue && Meets(rgn, box, rcWnd)) PaintNonClient(target);
    if (ownLayer) {
        if (rgn) target->PopClip();
        BlendInto(rt, target, rcWnd, m_style.m_byAlpha);
        RestoreTextStyle(target, layerSaved);
    }
}

// Paint-order numbers run in pre-order, so a child below zMin whose next
// sibling is not above zMin holds nothing of the range, and a child at or
// above zMax ends the walk.
void SWindow::PaintChildren(IRenderTarget* rt, IRegion* rgn, int zMin, int zMax)
{
    SAutoRefPtr<SWindow> child(m_pFirstChild);
    while (child) {
        if (child->m_nZOrder >= zMax) break;
        SWindow* next = child->m_pNextSibling;
        const bool skip = child->m_nZOrder < zMin &&
                          (next ? next->m_nZOrder <= zMin : child->LastDescendant()->m_nZOrder < zMin);
        if (!skip) child->PaintTree(rt, rgn, zMin, zMax);
        child = child->m_pParent == this ? child->m_pNextSibling : nullptr;
    }
}

void SWindow::RedrawRegion(IRenderTarget* rt, IRegion* rgn)
{
    PaintTree(rt, rgn, 0, kZorderMax);
}

void SWindow::PaintBackground(IRenderTarget* rt, const RECT* rect)
{
    RECT rc = GetPlacedRect();
    if (!rt || (rect && !::IntersectRect(&rc, &rc, rect)) || ::IsRectEmpty(&rc)) return;
    if (m_pContainer) m_pContainer->UpdateZorder();
    SAutoRefPtr<IRegion> rgn;
    rgn.Attach(NewRegion(&rc));
    rt->PushClipRect(&rc, RGN_AND);
    rt->ClearRect(&rc, 0);
    GetTopLevelParent()->PaintTree(rt, rgn, 0, m_nZOrder);
    rt->PopClip();
}

void SWindow::PaintForeground(IRenderTarget* rt, const RECT* rect)
{
    RECT rc = GetPlacedRect();
    if (!rt || (rect && !::IntersectRect(&rc, &rc, rect)) || ::IsRectEmpty(&rc)) return;
    if (m_pContainer) m_pContainer->UpdateZorder();
    SAutoRefPtr<IRegion> rgn;
    rgn.Attach(NewRegion(&rc));
    rt->PushClipRect(&rc, RGN_AND);
    GetTopLevelParent()->PaintTree(rt, rgn, m_nZOrder + 1, kZorderMax);
    rt->PopClip();
}

IRenderTarget* SWindow::GetRenderTargetForRect(const RECT* rect, int mode, BOOL clientOnly)
{
    if (!m_pContainer) return nullptr;
    RECT area = clientOnly ? GetClientRect() : GetPlacedRect();
    if (rect) ::IntersectRect(&area, &area, rect);
    for (SWindow* p = m_pParent; p; p = p->m_pParent) {
        const RECT client = p->GetClientRect();
        ::IntersectRect(&area, &area, &client);
    }
    SwndPaintRecord* record = new (std::nothrow) SwndPaintRecord{area, mode, nullptr, nullptr, m_pContainer, 0, {}, nullptr};
    if (!record) return nullptr;
    record->rgn.Attach(NewRegion(&area));
    m_pContainer->UpdateZorder();
    if (SWindow* layer = LayeredAncestor()) {
        if (!layer->m_layeredRT) layer->UpdateLayeredMode();
        record->rt = layer->m_layeredRT;
        if (record->rt) record->rt->AddRef();
        record->layer = layer->m_swnd;
    } else {
        record->rt = m_pContainer->GetRenderTarget(area, mode);
    }
    if (!record->rgn || !record->rt) {
        if (record->rt && record->layer) record->rt->Release();
        else if (record->rt) m_pContainer->ReleaseRenderTarget(record->rt, area, mode);
        delete record;
        return nullptr;
    }
    IRenderTarget* rt = record->rt;
    record->next = m_pPaintRecords;
    m_pPaintRecords = record;
    rt->PushClipRegion(record->rgn, RGN_COPY);
    if (mode == kRtBackground) PaintBackground(rt, &area);
    record->saved.font = rt->GetCurrentObject(OT_FONT);
    record->saved.textColor = rt->GetTextColor();
    ApplyTextStyleChain(rt);
    return rt;
}

void SWindow::ReleaseRenderTarget(IRenderTarget* rt)
{
    SwndPaintRecord** link = &m_pPaintRecords;
    while (*link && (*link)->rt != rt) link = &(*link)->next;
    SwndPaintRecord* record = *link;
    if (!rt || !record) return;
    if (record->mode == kRtBackground) PaintForeground(rt, &record->area);
    rt->PopClip();
    RestoreTextStyle(rt, record->saved);
    *link = record->next;
    if (!record->layer) {
        record->container->ReleaseRenderTarget(rt, record->area, record->mode);
    } else {
        SWindow* layer = SWindowMgr::GetWindow(record->layer);
        if (layer && record->mode != kRtEmpty) layer->ShowLayer(record->area, record->rgn);
        rt->Release();
    }
    delete record;
}

// The host's image of the area: the tree beneath the layered element, its
// target blended in, and what comes after its subtree in paint order over it.
void SWindow::ShowLayer(const RECT& area, IRegion* rgn)
{
    if (!m_pContainer || !m_layeredRT) return;
    IRenderTarget* host = m_pContainer->GetRenderTarget(area, kRtHostImage);
    if (!host) return;
    SWindow* root = GetTopLevelParent();
    host->PushClipRegion(rgn, RGN_COPY);
    host->ClearRect(&area, 0);
    root->PaintTree(host, rgn, 0, m_nZOrder);
    BlendInto(host, m_layeredRT, GetPlacedRect(), m_style.m_byAlpha);
    root->PaintTree(host, rgn, LastDescendant()->m_nZOrder + 1, kZorderMax);
    host->PopClip();
    m_pContainer->ReleaseRenderTarget(host, area, kRtHostImage);
}

void SWindow::FreePaintRecords(BOOL giveBack)
{
    while (SwndPaintRecord* record = m_pPaintRecords) {
        m_pPaintRecords = record->next;
        if (giveBack && !record->layer) record->container->ReleaseRenderTarget(record->rt, record->area, record->mode);
        else record->rt->Release();
        delete record;
    }
}

void SWindow::UpdateSwnd()
{
    if (m_style.IsBkgndBlend() || !m_updateRgn || m_updateRgn->IsEmpty()) return;
    SAutoRefPtr<IRegion> rgn;
    rgn.Attach(m_updateRgn.Detach());
    if (!IsVisible(TRUE)) return;
    RECT box;
    rgn->GetRgnBox(&box);
    IRenderTarget* rt = GetRenderTargetForRect(&box, kRtHostImage, TRUE);
    if (!rt) return;
    rt->PushClipRegion(rgn, RGN_AND);
    SendSwndMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    SendSwndMessage(WM_PAINT, reinterpret_cast<WPARAM>(rt));
    PaintForeground(rt, &box);
    rt->PopClip();
    ReleaseRenderTarget(rt);
}

void SWindow::UpdateWindow()
{
    if (m_pContainer) m_pContainer->UpdateWindow();
}

}  // namespace WUI
