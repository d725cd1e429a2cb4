#include "core/SHostDropTarget.h"

#include "core/SAutoRefPtr.h"
#include "core/SwndContainerImpl.h"

namespace WUI {

SHostDropTarget* SHostDropTarget::Register(HWND hwnd, SwndContainerImpl* host)
{
    SHostDropTarget* target = new SHostDropTarget(hwnd, host);
    if (SUCCEEDED(::RegisterDragDrop(hwnd, target))) return target;
    target->Release();
    return nullptr;
}

void SHostDropTarget::Revoke()
{
    if (!m_host) return;
    m_host = nullptr;
    ::RevokeDragDrop(m_hwnd);
}

template <class Call>
HRESULT SHostDropTarget::Forward(DWORD* effect, Call call)
{
    if (!m_host) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    AddRef();  // closing the window revokes it, and the platform lets it go
    HRESULT hr;
    {
        SAutoRefPtr<SWindow> keep(m_host);
        hr = call(m_host->GetDropTarget());
    }
    Release();
    return hr;
}

HRESULT SHostDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    return Forward(effect, [&](IDropTarget* to) { return to->DragEnter(data, keyState, pt, effect); });
}

HRESULT SHostDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect)
{
    return Forward(effect, [&](IDropTarget* to) { return to->DragOver(keyState, pt, effect); });
}

HRESULT SHostDropTarget::DragLeave()
{
    return Forward(nullptr, [](IDropTarget* to) { return to->DragLeave(); });
}

HRESULT SHostDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    return Forward(effect, [&](IDropTarget* to) { return to->Drop(data, keyState, pt, effect); });
}

}  // namespace WUI
