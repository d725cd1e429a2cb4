#include "core/SCountedDropTarget.h"

namespace WUI {

HRESULT SCountedDropTarget::QueryInterface(REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SCountedDropTarget::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG SCountedDropTarget::Release()
{
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

}  // namespace WUI
