// The rich edit's drop target, registered with its container: each call is
// passed on to the text services' own drop target. Services that give none
// (some platforms do not implement it) make every drag show DROPEFFECT_NONE.
#pragma once

#include "controls/TextServices.h"

namespace WUI {

class SRicheditDropTarget final : public IDropTarget {
public:
    // Holds one reference on the services; count 1 for the creator.
    explicit SRicheditDropTarget(ITextServices* services);
    SRicheditDropTarget(const SRicheditDropTarget&) = delete;
    SRicheditDropTarget& operator=(const SRicheditDropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // The services' answer, then DROPEFFECT_COPY; DROPEFFECT_NONE (S_OK)
    // when the services have no drop target.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    // S_FALSE, nothing passed on, for an effect of 0; DROPEFFECT_NONE
    // without the services' drop target.
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

private:
    ~SRicheditDropTarget();
    // The services' drop target (one reference), or null when they give none.
    IDropTarget* ServicesTarget() const;

    ULONG m_cRef = 1;
    ITextServices* m_services;
};

}  // namespace WUI
