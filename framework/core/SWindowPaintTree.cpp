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
    bool givenBack;               // the element was destroyed: shown, and rt is only a reference kept for the caller
    SwndPaintRecord* next;
};

namespace {

// The text colour a new render target starts with.
const COLORREF kTargetTextColor = 0xFF000000;

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

// Ends the record's hold on its target: a host target goes back to its
// container (which shows it), a layer's reference is dropped. Without
// toContainer (the container may be gone) every target is only released.
void GiveBack(SwndPaintRecord& record, bool toContainer)
{
    if (record.layer || !toContainer) record.rt->Release();
    else record.container->ReleaseRenderTarget(record.rt, record.area, record.mode);
}

// Whether the region is absent (everything is due) or meets rc; box is its bounding box.
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

// What one paint of a tree goes by: the target, the region (null: all of
// it) with its box, and the range of paint-order numbers.
struct SwndPaintPass {
    IRenderTarget* rt;
    IRegion* rgn;
    RECT box;
    int zMin, zMax;
};

void SWindow::PaintTree(IRenderTarget* rt, IRegion* rgn, int zMin, int zMax)
{
    if (!rt) return;
    SwndPaintPass pass = {rt, rgn, {0, 0, 0, 0}, zMin, zMax};
    if (rgn && rgn->IsEmpty()) pass.rgn = nullptr;
    if (pass.rgn) pass.rgn->GetRgnBox(&pass.box);
    SAutoRefPtr<SWindow> keep(this);  // paint handlers may change the tree
    PaintSubtree(pass);
}

void SWindow::PaintSubtree(const SwndPaintPass& pass)
{
    if (!IsVisible(TRUE) || !IsPlaced()) return;
    const RECT rcWnd = m_rcWindow;
    const RECT rcClient = GetClientRect();
    const RECT& box = pass.rgn ? pass.box : rcWnd;
    const bool nonClientDue = !Contains(rcClient, box);

    // A layer with nothing of the range in its subtree is left as it is.
    const bool ownLayer = IsLayered() && m_layeredRT && m_layeredRT.get() != pass.rt && m_nZOrder < pass.zMax &&
                          LastDescendant()->m_nZOrder >= pass.zMin;
    SAutoRefPtr<IRenderTarget> layer;
    SwndPaintPass layerPass = pass;
    SPaintState layerSaved;
    if (ownLayer) {
        layer = m_layeredRT;  // a handler may drop it
        layerPass.rt = layer;
        LendTextStyle(layer, pass.rt, layerSaved);
        if (pass.rgn) layer->PushClipRegion(pass.rgn, RGN_COPY);
        layer->ClearRect(&rcWnd, 0);
    }
    const SwndPaintPass& p = ownLayer ? layerPass : pass;
    int clips = 0;
    if (m_shapeRgn) {
        m_shapeRgn->Offset(POINT{rcWnd.left, rcWnd.top});
        p.rt->PushClipRegion(m_shapeRgn, RGN_AND);
        m_shapeRgn->Offset(POINT{-rcWnd.left, -rcWnd.top});
        ++clips;
    }
    if (IsClipClient()) {
        p.rt->PushClipRect(&rcClient, RGN_AND);
        ++clips;
    }
    const bool inRange = m_nZOrder >= p.zMin && m_nZOrder < p.zMax;
    if (inRange && Meets(p.rgn, box, rcClient)) PaintClient(p.rt);
    SPaintState saved;
    BeforePaint(p.rt, saved);  // the children inherit the font and colour
    PaintChildren(p);
    AfterPaint(p.rt, saved);
    while (clips--) p.rt->PopClip();
    if (inRange && nonClientDue && Meets(p.rgn, box, rcWnd)) PaintNonClient(p.rt);
    if (ownLayer) {
        if (pass.rgn) layer->PopClip();
        BlendInto(pass.rt, layer, rcWnd, m_style.m_byAlpha);
        RestoreTextStyle(layer, layerSaved);
    }
}

// Paint-order numbers run in pre-order, so a child below zMin whose next
// sibling is not above zMin holds nothing of the range, and a child at or
// above zMax ends the walk.
void SWindow::PaintChildren(const SwndPaintPass& pass)
{
    SAutoRefPtr<SWindow> child(m_pFirstChild);
    while (child) {
        if (child->m_nZOrder >= pass.zMax) break;
        SWindow* next = child->m_pNextSibling;
        const bool skip = child->m_nZOrder < pass.zMin &&
                          (next ? next->m_nZOrder <= pass.zMin : child->LastDescendant()->m_nZOrder < pass.zMin);
        if (!skip) child->PaintSubtree(pass);
        child = child->m_pParent == this ? child->m_pNextSibling : nullptr;
    }
}

void SWindow::RedrawRegion(IRenderTarget* rt, IRegion* rgn)
{
    PaintTree(rt, rgn, 0, kZorderMax);
}

void SWindow::PaintBackground(IRenderTarget* rt, const RECT* rect)
{
    PaintAround(rt, rect, TRUE);
}

void SWindow::PaintForeground(IRenderTarget* rt, const RECT* rect)
{
    PaintAround(rt, rect, FALSE);
}

// The tree from the root, within the window rect (and rect): what lies
// beneath the element on a cleared area, or what lies above it. The walk
// starts from the target's own font and colour, as a full paint does, not
// from the text style this element's chain may have selected.
void SWindow::PaintAround(IRenderTarget* rt, const RECT* rect, BOOL beneath)
{
    RECT rc = GetPlacedRect();
    if (!rt || (rect && !::IntersectRect(&rc, &rc, rect)) || ::IsRectEmpty(&rc)) return;
    if (m_pContainer) m_pContainer->UpdateZorder();
    SAutoRefPtr<IRegion> rgn;
    rgn.Attach(NewRegion(&rc));
    SPaintState saved;
    IRenderObj* font = nullptr;
    rt->SelectDefaultObject(OT_FONT, &font);
    saved.font.Attach(font);
    saved.textColor = rt->SetTextColor(kTargetTextColor);
    rt->PushClipRect(&rc, RGN_AND);
    if (beneath) rt->ClearRect(&rc, 0);
    GetTopLevelParent()->PaintTree(rt, rgn, beneath ? 0 : m_nZOrder + 1, beneath ? m_nZOrder : kZorderMax);
    rt->PopClip();
    RestoreTextStyle(rt, saved);
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
    SwndPaintRecord* record = new (std::nothrow) SwndPaintRecord{area, mode, nullptr, nullptr, m_pContainer, 0, {}, false, nullptr};
    if (!record) return nullptr;
    record->rgn.Attach(NewRegion(&area));
    m_pContainer->UpdateZorder();
    TakeTarget(*record);
    if (!record->rgn || !record->rt) {
        if (record->rt) GiveBack(*record, true);
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

// What lies above, or a layer shown, may run handlers that destroy the
// element: the record then went back already, and only its reference is left.
void SWindow::ReleaseRenderTarget(IRenderTarget* rt)
{
    SwndPaintRecord* record = FindPaintRecord(rt);
    if (!rt || !record) return;
    if (record->mode == kRtBackground && !record->givenBack) PaintForeground(rt, &record->area);
    UnlinkPaintRecord(record);
    if (record->givenBack) {
        rt->Release();
        delete record;
        return;
    }
    rt->PopClip();
    RestoreTextStyle(rt, record->saved);
    SWindow* layer = SWindowMgr::GetWindow(record->layer);
    if (layer && record->mode != kRtEmpty) layer->ShowLayer(record->area, record->rgn);
    GiveBack(*record, true);
    delete record;
}

SwndPaintRecord* SWindow::FindPaintRecord(IRenderTarget* rt) const
{
    SwndPaintRecord* record = m_pPaintRecords;
    while (record && record->rt != rt) record = record->next;
    return record;
}

void SWindow::UnlinkPaintRecord(SwndPaintRecord* record)
{
    SwndPaintRecord** link = &m_pPaintRecords;
    while (*link && *link != record) link = &(*link)->next;
    if (*link) *link = record->next;
}

// The layered target of the nearest layered element (made on demand), or
// else the container's; one reference, null when none can be had.
void SWindow::TakeTarget(SwndPaintRecord& record)
{
    SWindow* layer = LayeredAncestor();
    if (!layer) {
        record.rt = m_pContainer->GetRenderTarget(record.area, record.mode);
        return;
    }
    if (!layer->m_layeredRT) layer->UpdateLayeredMode();
    record.rt = layer->m_layeredRT;
    if (record.rt) record.rt->AddRef();
    record.layer = layer->m_swnd;
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

// The caller of a target may still be drawing into it: one reference stays
// with the record until ReleaseRenderTarget or the destructor drops it.
void SWindow::GiveBackPaintRecords()
{
    for (SwndPaintRecord* record = m_pPaintRecords; record; record = record->next) {
        if (record->givenBack) continue;
        record->rt->AddRef();
        record->rt->PopClip();
        RestoreTextStyle(record->rt, record->saved);
        GiveBack(*record, true);
        record->givenBack = true;
    }
}

void SWindow::FreePaintRecords()
{
    while (SwndPaintRecord* record = m_pPaintRecords) {
        m_pPaintRecords = record->next;
        if (record->givenBack) record->rt->Release();
        else GiveBack(*record, false);
        delete record;
    }
}

// Paint handlers may destroy the element: it is kept to the end, the
// painting stops there, and the target stays usable until released.
void SWindow::UpdateSwnd()
{
    if (m_style.IsBkgndBlend() || !m_updateRgn || m_updateRgn->IsEmpty()) return;
    SAutoRefPtr<IRegion> rgn;
    rgn.Attach(m_updateRgn.Detach());
    if (!IsVisible(TRUE)) return;
    SAutoRefPtr<SWindow> keep(this);
    RECT box;
    rgn->GetRgnBox(&box);
    IRenderTarget* rt = GetRenderTargetForRect(&box, kRtHostImage, TRUE);
    if (!rt) return;
    rt->PushClipRegion(rgn, RGN_AND);
    SendSwndMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    if (!m_bDestroyed) SendSwndMessage(WM_PAINT, reinterpret_cast<WPARAM>(rt));
    if (!m_bDestroyed) PaintForeground(rt, &box);
    rt->PopClip();
    ReleaseRenderTarget(rt);
}

void SWindow::UpdateWindow()
{
    if (m_pContainer) m_pContainer->UpdateWindow();
}

}  // namespace WUI
