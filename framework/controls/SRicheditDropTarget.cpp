#include "controls/SRicheditDropTarget.h"

namespace WUI {

SRicheditDropTarget::SRicheditDropTarget(ITextServices* services) : m_services(services)
{
    if (m_services) m_services->AddRef();
}

SRicheditDropTarget::~SRicheditDropTarget()
{
    if (m_services) m_services->Release();
}

HRESULT STDMETHODCALLTYPE SRicheditDropTarget::QueryInterface(REFIID riid, void** object)
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

ULONG STDMETHODCALLTYPE SRicheditDropTarget::AddRef()
{
    return ++m_cRef;
}

ULONG STDMETHODCALLTYPE SRicheditDropTarget::Release()
{
    const ULONG count = --m_cRef;
    if (count == 0) delete this;
    return count;
}

IDropTarget* SRicheditDropTarget::ServicesTarget() const
{
    IDropTarget* target = nullptr;
    if (!m_services || FAILED(m_services->TxGetDropTarget(&target))) return nullptr;
    return target;
}

HRESULT STDMETHODCALLTYPE SRicheditDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    IDropTarget* target = ServicesTarget();
    if (!target) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const HRESULT hr = target->DragEnter(data, keyState, pt, effect);
    target->Release();
    if (effect) *effect = DROPEFFECT_COPY;
    return hr;
}

HRESULT STDMETHODCALLTYPE SRicheditDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect)
{
    IDropTarget* target = ServicesTarget();
    if (!target) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const HRESULT hr = target->DragOver(keyState, pt, effect);
    target->Release();
    if (effect) *effect = DROPEFFECT_COPY;
    return hr;
}

HRESULT STDMETHODCALLTYPE SRicheditDropTarget::DragLeave()
{
    IDropTarget* target = ServicesTarget();
    if (!target) return S_OK;
    const HRESULT hr = target->DragLeave();
    target->Release();
    return hr;
}

HRESULT STDMETHODCALLTYPE SRicheditDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect)
{
    if (!effect || *effect == DROPEFFECT_NONE) return S_FALSE;
    IDropTarget* target = ServicesTarget();
    if (!target) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const HRESULT hr = target->Drop(data, keyState, pt, effect);
    target->Release();
    return hr;
}

}  // namespace WUI
