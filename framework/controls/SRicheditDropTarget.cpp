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
