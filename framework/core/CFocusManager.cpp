#include "core/CFocusManager.h"

#include "core/CAccelerator.h"
#include "core/SArray.h"
#include "core/SWindow.h"

namespace WUI {

namespace {

// GetDlgCode bit of an element that takes Tab itself.
const UINT kDlgCodeWantsTab = 0x2;

}  // namespace

// ---- FocusSearch ----

FocusSearch::FocusSearch(SWindow* root, bool cycle) : m_root(root), m_cycle(cycle) {}

bool FocusSearch::IsFocusableElement(SWindow* element)
{
    return element && element->IsFocusable() && element->IsVisible(TRUE) && !element->IsDisabled(TRUE);
}

SWindow* FocusSearch::FindNextFocusable(SWindow* start, bool reverse)
{
    if (!m_root || !m_root->GetWindow(GSW_FIRSTCHILD)) return nullptr;
    m_skipGroup = start && start->JoinsSiblingGroup() ? start->GetParent() : nullptr;
    SWindow* found;
    if (!reverse) {
        found = start ? FindNext(start, false, true, true) : FindNext(m_root->GetWindow(GSW_FIRSTCHILD), true, true, true);
    } else if (start) {
        found = FindPrevious(start, false, true, !IsFocusableElement(start));
    } else {
        found = FindPrevious(DeepestLastChild(m_root), true, true, false);
    }
    if (!found && m_cycle && start) {
        m_cycle = false;
        return FindNextFocusable(nullptr, reverse);
    }
    return found;
}

// Pre-order from `from`: itself (checkSelf), its subtree (mayGoDown), its
// later siblings with their subtrees, then (mayGoUp) the later siblings of
// its ancestors below the root. Siblings are walked in a loop, not by
// recursion, so a wide tree costs no stack.
SWindow* FocusSearch::FindNext(SWindow* from, bool checkSelf, bool mayGoUp, bool mayGoDown)
{
    for (SWindow* el = from; el; el = el->GetWindow(GSW_NEXTSIBLING)) {
        const bool isFrom = el == from;
        if ((!isFrom || checkSelf) && IsCandidate(el)) {
            if (SWindow* answer = Answer(el)) return answer;
        }
        SWindow* child = el->GetWindow(GSW_FIRSTCHILD);
        if ((!isFrom || mayGoDown) && child) {
            if (SWindow* found = FindNext(child, true, false, true)) return found;
        }
    }
    if (!mayGoUp) return nullptr;
    for (SWindow* p = from->GetParent(); p && p != m_root; p = p->GetParent()) {
        if (SWindow* next = p->GetWindow(GSW_NEXTSIBLING)) return FindNext(next, true, true, true);
    }
    return nullptr;
}

// The mirror of FindNext: subtrees before their element, earlier siblings,
// then the parent itself (without going down into it again).
SWindow* FocusSearch::FindPrevious(SWindow* from, bool checkSelf, bool mayGoUp, bool mayGoDown)
{
    for (SWindow* el = from; el; el = el->GetWindow(GSW_PREVSIBLING)) {
        const bool isFrom = el == from;
        SWindow* child = el->GetWindow(GSW_LASTCHILD);
        if ((!isFrom || mayGoDown) && child) {
            if (SWindow* found = FindPrevious(child, true, false, true)) return found;
        }
        if ((!isFrom || checkSelf) && IsCandidate(el)) {
            if (SWindow* answer = Answer(el)) return answer;
        }
    }
    if (!mayGoUp) return nullptr;
    SWindow* parent = from->GetParent();
    if (!parent || parent == m_root) return nullptr;
    return FindPrevious(parent, true, true, false);
}

bool FocusSearch::IsCandidate(SWindow* element) const
{
    if (!IsFocusableElement(element)) return false;
    return !(m_skipGroup && element->GetParent() == m_skipGroup && element->JoinsSiblingGroup());
}

SWindow* FocusSearch::Answer(SWindow* element) const
{
    SWindow* checked = element->GetCheckedSiblingInGroup();
    SWindow* answer = checked ? checked : element;
    return IsFocusableElement(answer) ? answer : nullptr;
}

SWindow* FocusSearch::DeepestLastChild(SWindow* element)
{
    while (SWindow* last = element->GetWindow(GSW_LASTCHILD)) element = last;
    return element;
}

// ---- CFocusManager ----

CFocusManager::CFocusManager(SWindow* root) : m_root(root) {}

CFocusManager::~CFocusManager() = default;

void CFocusManager::SetFocusedSwnd(SWND swnd, int reason)
{
    if (swnd == m_focused) return;
    const BYTE wasChanging = m_bFocusChanging;
    m_bFocusChanging = 1;
    m_focusChangeReason = reason;
    const SWND old = m_focused;
    m_focused = 0;
    if (SWindow* oldElement = SWindowMgr::GetWindow(old)) oldElement->SendSwndMessage(WM_KILLFOCUS, swnd);
    // A kill-focus handler that moved the focus itself made the later choice: it stands.
    if (m_focused == 0) {
        SWindow* element = SWindowMgr::GetWindow(swnd);
        if (element && !element->IsDisabled(TRUE)) {
            m_focused = swnd;
            element->SendSwndMessage(WM_SETFOCUS, old);
        }
    }
    m_bFocusChanging = wasChanging;
}

void CFocusManager::ValidateFocusedWnd()
{
    SWindow* element = SWindowMgr::GetWindow(m_focused);
    if (!element || element->GetTopLevelParent() != m_root) m_focused = 0;
}

// Deactivation reaches the container twice (WM_ACTIVATE and WM_KILLFOCUS): the
// second call, with nothing focused, must not forget what the first kept.
void CFocusManager::StoreFocus()
{
    ValidateFocusedWnd();
    if (!m_focused) return;
    m_stored = m_focused;
    m_focused = 0;
    if (SWindow* element = SWindowMgr::GetWindow(m_stored)) element->SendSwndMessage(WM_KILLFOCUS, 0);
}

// An element focused while the host was inactive keeps the focus: giving it
// to the stored one would leave two elements believing they have it.
void CFocusManager::RestoreFocus()
{
    const SWND stored = m_stored;
    m_stored = 0;
    ValidateFocusedWnd();
    if (m_focused) return;
    SWindow* element = SWindowMgr::GetWindow(stored);
    if (!element || !element->IsVisible(TRUE) || element->IsDisabled(TRUE) || element->GetTopLevelParent() != m_root)
        return;
    m_focused = stored;
    element->SendSwndMessage(WM_SETFOCUS, 0);
}

void CFocusManager::AdvanceFocus(bool reverse)
{
    ValidateFocusedWnd();
    FocusSearch search(m_root, true);
    SWindow* found = search.FindNextFocusable(SWindowMgr::GetWindow(m_focused), reverse);
    if (found) SetFocusedSwnd(found->GetSwnd(), kFocusChangeByKeyboard);
}

bool CFocusManager::IsTabNavigation(UINT vk) const
{
    if (vk != VK_TAB || KeyHeld(VK_CONTROL)) return false;
    SWindow* focused = SWindowMgr::GetWindow(m_focused);
    return !focused || (focused->GetDlgCode() & kDlgCodeWantsTab) == 0;
}

bool CFocusManager::OnKeyDown(UINT vk)
{
    if (IsTabNavigation(vk)) {
        AdvanceFocus(KeyHeld(VK_SHIFT));
        return true;
    }
    SWindow* focused = SWindowMgr::GetWindow(m_focused);
    const bool back = vk == VK_LEFT || vk == VK_UP;
    const bool ahead = vk == VK_RIGHT || vk == VK_DOWN;
    if (focused && focused->JoinsSiblingGroup() && (back || ahead)) {
        if (SWindow* next = StepInGroup(focused, ahead)) SetFocusedSwnd(next->GetSwnd(), kFocusChangeByKeyboard);
        return true;
    }
    return ProcessAccelerator(CAccelerator(vk, KeyHeld(VK_CONTROL), KeyHeld(VK_MENU), KeyHeld(VK_SHIFT)));
}

SWindow* CFocusManager::StepInGroup(SWindow* from, bool forward) const
{
    SWindow* parent = from->GetParent();
    if (!parent) return nullptr;
    SWindow* el = from;
    for (;;) {  // ends at the latest when the walk comes round to `from`
        el = el->GetWindow(forward ? GSW_NEXTSIBLING : GSW_PREVSIBLING);
        if (!el) el = parent->GetWindow(forward ? GSW_FIRSTCHILD : GSW_LASTCHILD);
        if (el == from) return nullptr;
        if (el->JoinsSiblingGroup() && el->IsVisible(TRUE) && !el->IsDisabled(TRUE)) return el;
    }
}

// The targets are asked over a copy, each only while still registered, so a
// target may unregister itself or another one while it is asked.
bool CFocusManager::ProcessAccelerator(const CAccelerator& accel)
{
    SMap<DWORD, TargetList>::Node* node = m_accelerators.Lookup(accel.GetAccel());
    if (!node) return false;
    SArray<IAcceleratorTarget*> targets;
    for (TargetList::Node* n = node->value.GetHead(); n; n = n->pNext) targets.Add(n->data);
    for (int i = 0; i < targets.GetCount(); ++i) {
        if (IsRegistered(accel.GetAccel(), targets[i]) && targets[i]->OnAcceleratorPressed(accel)) return true;
    }
    return false;
}

bool CFocusManager::IsRegistered(DWORD accel, IAcceleratorTarget* target) const
{
    SMap<DWORD, TargetList>::Node* node = m_accelerators.Lookup(accel);
    return node && node->value.Find(target);
}

void CFocusManager::RegisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target)
{
    if (!target) return;
    TargetList* list = m_accelerators.GetOrInsert(accel.GetAccel());
    if (list && !list->AddHead(target) && list->IsEmpty()) m_accelerators.RemoveKey(accel.GetAccel());
}

void CFocusManager::UnregisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target)
{
    SMap<DWORD, TargetList>::Node* node = m_accelerators.Lookup(accel.GetAccel());
    if (node) RemoveFirst(node, target);
}

// Nodes stay where they are while the walk removes them (no rehash), so the
// next node read before a removal is still valid.
void CFocusManager::UnregisterAccelerators(IAcceleratorTarget* target)
{
    m_accelerators.DisableAutoRehash();
    for (SMap<DWORD, TargetList>::Node* n = m_accelerators.First(); n;) {
        SMap<DWORD, TargetList>::Node* next = m_accelerators.Next(n);
        RemoveFirst(n, target);
        n = next;
    }
    m_accelerators.EnableAutoRehash();
}

void CFocusManager::RemoveFirst(SMap<DWORD, TargetList>::Node* node, IAcceleratorTarget* target)
{
    TargetList::Node* entry = node->value.Find(target);
    if (!entry) return;
    node->value.RemoveAt(entry);
    if (node->value.IsEmpty()) {
        const DWORD key = node->key;  // the node goes with the key
        m_accelerators.RemoveKey(key);
    }
}

}  // namespace WUI
