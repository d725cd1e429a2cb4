#include "core/SWindow.h"

namespace WUI {

namespace {

// Owner chains are short; a longer one (or a loop) is refused.
const int kMaxOwnerChain = 64;

}  // namespace

SWindow::SWindow()
{
    m_swnd = SWindowMgr::NewWindow(this);
    m_evtSet.Reserve(11);
    m_evtSet.AddEvent<EventSwndCreate>();
    m_evtSet.AddEvent<EventSwndDestroy>();
    m_evtSet.AddEvent<EventSwndSize>();
    m_evtSet.AddEvent<EventSwndMouseHover>();
    m_evtSet.AddEvent<EventSwndMouseLeave>();
    m_evtSet.AddEvent<EventSwndStateChanged>();
    m_evtSet.AddEvent<EventSwndVisibleChanged>();
    m_evtSet.AddEvent<EventCmd>();
    m_evtSet.AddEvent<EventCtxMenu>();
    m_evtSet.AddEvent<EventSetFocus>();
    m_evtSet.AddEvent<EventKillFocus>();
}

SWindow::~SWindow()
{
    // A tree dropped without being destroyed still frees its children.
    while (SWindow* child = m_pFirstChild) {
        UnlinkChild(child);
        child->Release();
    }
    FreePaintRecords();
    SWindowMgr::DestroyWindow(m_swnd);
}

ULONG_PTR SWindow::SetUserData(ULONG_PTR data)
{
    ULONG_PTR old = m_uData;
    m_uData = data;
    return old;
}

BOOL SWindow::IsVisible(BOOL checkParent) const
{
    if (checkParent) return (m_dwState & WndState_Invisible) == 0;
    return (m_dwFlags & kFlagVisible) != 0;
}

BOOL SWindow::IsDisabled(BOOL checkParent) const
{
    if (checkParent) return (m_dwState & WndState_Disable) != 0;
    return (m_dwFlags & kFlagDisabled) != 0;
}

void SWindow::LinkChild(SWindow* child, SWindow* after)
{
    child->m_pParent = this;
    child->m_pPrevSibling = child->m_pNextSibling = nullptr;
    if (after == ICWND_FIRST) {
        child->m_pNextSibling = m_pFirstChild;
        if (m_pFirstChild) m_pFirstChild->m_pPrevSibling = child;
        else m_pLastChild = child;
        m_pFirstChild = child;
    } else if (!after || after == m_pLastChild || after->m_pParent != this) {
        child->m_pPrevSibling = m_pLastChild;
        if (m_pLastChild) m_pLastChild->m_pNextSibling = child;
        else m_pFirstChild = child;
        m_pLastChild = child;
    } else {
        child->m_pPrevSibling = after;
        child->m_pNextSibling = after->m_pNextSibling;
        after->m_pNextSibling->m_pPrevSibling = child;
        after->m_pNextSibling = child;
    }
    ++m_nChildrenCount;
}

void SWindow::UnlinkChild(SWindow* child)
{
    if (child->m_pPrevSibling) child->m_pPrevSibling->m_pNextSibling = child->m_pNextSibling;
    else m_pFirstChild = child->m_pNextSibling;
    if (child->m_pNextSibling) child->m_pNextSibling->m_pPrevSibling = child->m_pPrevSibling;
    else m_pLastChild = child->m_pPrevSibling;
    child->m_pParent = child->m_pPrevSibling = child->m_pNextSibling = nullptr;
    --m_nChildrenCount;
}

BOOL SWindow::InsertChild(SWindow* child, SWindow* after)
{
    if (!child || child == this || IsDescendant(child) || m_bDestroyed) return FALSE;
    if (child->m_pParent == this) return TRUE;
    if (child->m_pParent) child->m_pParent->UnlinkChild(child);  // its reference comes along
    child->SetContainer(m_pContainer);
    LinkChild(child, after);
    child->SendSwndMessage(WM_ENABLE, !IsDisabled(TRUE), 1);
    if (m_pContainer) m_pContainer->MarkZorderDirty();
    return TRUE;
}

BOOL SWindow::RemoveChild(SWindow* child)
{
    if (!child || child->m_pParent != this) return FALSE;
    UnlinkChild(child);
    return TRUE;
}

BOOL SWindow::DestroyChild(SWindow* child)
{
    if (!child || child->m_pParent != this) return FALSE;
    SAutoRefPtr<SWindow> keep(child);
    child->InvalidateRect(nullptr);
    // A child destroying itself from its own WM_DESTROY gets here again:
    // the inner call unlinks and releases, the outer one finds it gone.
    if (!child->m_bDestroyed) child->SendSwndMessage(WM_DESTROY);
    if (child->m_pParent == this) {
        UnlinkChild(child);
        child->Release();
    }
    return TRUE;
}

BOOL SWindow::DestroyWindow()
{
    if (m_pParent) return m_pParent->DestroyChild(this);
    if (m_bReleasedByDestroy) return FALSE;
    m_bReleasedByDestroy = TRUE;
    if (!m_bDestroyed) SendSwndMessage(WM_DESTROY);
    Release();
    return TRUE;
}

void SWindow::BringToTop()
{
    SWindow* parent = m_pParent;
    if (!parent) return;
    parent->UnlinkChild(this);
    parent->LinkChild(this, ICWND_LAST);
    if (m_pContainer) m_pContainer->MarkZorderDirty();
}

SWindow* SWindow::GetWindow(int code) const
{
    switch (code) {
    case GSW_FIRSTCHILD: return m_pFirstChild;
    case GSW_LASTCHILD: return m_pLastChild;
    case GSW_PREVSIBLING: return m_pPrevSibling;
    case GSW_NEXTSIBLING: return m_pNextSibling;
    case GSW_PARENT: return m_pParent;
    case GSW_OWNER: return GetOwner();
    default: return nullptr;
    }
}

SWindow* SWindow::GetTopLevelParent() const
{
    const SWindow* w = this;
    while (w->m_pParent) w = w->m_pParent;
    return const_cast<SWindow*>(w);
}

BOOL SWindow::IsDescendant(const SWindow* ancestor) const
{
    if (!ancestor) return FALSE;
    for (const SWindow* p = m_pParent; p; p = p->m_pParent)
        if (p == ancestor) return TRUE;
    return FALSE;
}

SWindow* SWindow::GetOwner() const
{
    return SWindowMgr::GetWindow(m_owner);
}

void SWindow::SetOwner(SWindow* owner)
{
    int length = 0;
    for (SWindow* o = owner; o; o = o->GetOwner())
        if (o == this || ++length > kMaxOwnerChain) return;  // events would go round forever
    m_owner = owner ? owner->GetSwnd() : 0;
}

void SWindow::SetContainer(ISwndContainer* container)
{
    m_pContainer = container;
    for (SWindow* c = m_pFirstChild; c; c = c->m_pNextSibling) c->SetContainer(container);
}

SWindow* SWindow::FindChildByID(int id, int depth)
{
    if (id == 0 || depth == 0) return nullptr;
    for (SWindow* c = m_pFirstChild; c; c = c->m_pNextSibling)
        if (c->GetID() == id) return c;
    if (depth == 1) return nullptr;
    for (SWindow* c = m_pFirstChild; c; c = c->m_pNextSibling)
        if (SWindow* found = c->FindChildByID(id, depth < 0 ? depth : depth - 1)) return found;
    return nullptr;
}

SWindow* SWindow::FindChildByName(LPCWSTR name, int depth)
{
    if (!name || !*name || depth == 0) return nullptr;
    for (SWindow* c = m_pFirstChild; c; c = c->m_pNextSibling)
        if (wcscmp(c->GetName(), name) == 0) return c;
    if (depth == 1) return nullptr;
    for (SWindow* c = m_pFirstChild; c; c = c->m_pNextSibling)
        if (SWindow* found = c->FindChildByName(name, depth < 0 ? depth : depth - 1)) return found;
    return nullptr;
}

int SWindow::TreeDepth() const
{
    int depth = 0;
    for (const SWindow* p = m_pParent; p; p = p->m_pParent) ++depth;
    return depth;
}

}  // namespace WUI
