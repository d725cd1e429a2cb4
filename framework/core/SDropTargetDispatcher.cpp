#include "core/SDropTargetDispatcher.h"

#include "core/SWindow.h"

namespace WUI {

namespace {

void ReleaseTarget(IDropTarget** target)
{
    (*target)->Release();
}

}  // namespace

SDropTargetDispatcher::SDropTargetDispatcher(SWindow* root) : m_targets(ReleaseTarget), m_root(root) {}

SDropTargetDispatcher::~SDropTargetDispatcher()
{
    DragLeave();
    m_targets.RemoveAllAndRelease();
}

BOOL SDropTargetDispatcher::RegisterDragDrop(SWND swnd, IDropTarget* target)
{
    if (!swnd || !target || !m_targets.InsertIfAbsent(swnd, target)) return FALSE;
    target->AddRef();
    return TRUE;
}

BOOL SDropTargetDispatcher::RevokeDragDrop(SWND swnd)
{
    return m_targets.RemoveAndRelease(swnd);
}

HRESULT SDropTargetDispatcher::QueryInterface(REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

IDropTarget* SDropTargetDispatcher::TakeTarget(SWND swnd) const
{
    IDropTarget** target = swnd ? m_targets.Find(swnd) : nullptr;
    if (!target) return nullptr;
    (*target)->AddRef();
    return *target;
}

// A drag that enters again before it left drops the data object it held.
HRESULT SDropTargetDispatcher::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    if (data) data->AddRef();
    ReleaseData();
    m_data = data;
    return DragOver(keyState, pt, effect);
}

// The effects the source allows reach the element's target unchanged: only
// the answer over an element without a target is DROPEFFECT_NONE.
HRESULT SDropTargetDispatcher::DragOver(DWORD keyState, POINTL pt, DWORD* effect)
{
    if (!effect) return E_INVALIDARG;
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    const SWND over = ElementAt(pt);
    if (over != m_current) {
        LeaveCurrent();
        m_current = over;
        if (IDropTarget* target = TakeTarget(over)) {
            *effect = allowed;
            target->DragEnter(m_data, keyState, pt, effect);
            target->Release();
        }
    } else if (IDropTarget* target = TakeTarget(over)) {
        *effect = allowed;
        target->DragOver(keyState, pt, effect);
        target->Release();
    }
    return S_OK;
}

HRESULT SDropTargetDispatcher::DragLeave()
{
    LeaveCurrent();
    ReleaseData();
    return S_OK;
}

HRESULT SDropTargetDispatcher::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    if (!effect) return E_INVALIDARG;
    const SWND current = m_current;
    m_current = 0;  // the drag is over, whatever the target does
    if (IDropTarget* target = TakeTarget(current)) {
        target->Drop(data, keyState, pt, effect);
        target->Release();
    } else {
        *effect = DROPEFFECT_NONE;
    }
    ReleaseData();
    return S_OK;
}

void SDropTargetDispatcher::LeaveCurrent()
{
    const SWND current = m_current;
    m_current = 0;
    if (IDropTarget* target = TakeTarget(current)) {
        target->DragLeave();
        target->Release();
    }
}

void SDropTargetDispatcher::ReleaseData()
{
    IDataObject* data = m_data;
    m_data = nullptr;
    if (data) data->Release();
}

// Without a host window the points are taken as client points already.
SWND SDropTargetDispatcher::ElementAt(POINTL screenPoint) const
{
    if (!m_root) return 0;
    POINT pt = {screenPoint.x, screenPoint.y};
    ISwndContainer* container = m_root->GetContainer();
    HWND host = container ? container->GetHostHwnd() : nullptr;
    if (host) ::ScreenToClient(host, &pt);
    return m_root->SwndFromPoint(pt);
}

}  // namespace WUI
