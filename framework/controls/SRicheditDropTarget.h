// The rich edit's drop target, registered with its container: each call is
// passed on to the text services' own drop target. Services that give none
// (some platforms do not implement it) make every drag show DROPEFFECT_NONE.
#pragma once

#include "controls/TextServices.h"
#include "core/SCountedDropTarget.h"

namespace WUI {

class SRicheditDropTarget final : public SCountedDropTarget {
public:
    // Holds one reference on the services; count 1 for the creator.
    explicit SRicheditDropTarget(ITextServices* services);

    // The services' answer, then DROPEFFECT_COPY; DROPEFFECT_NONE (S_OK)
    // when the services have no drop target.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    // S_FALSE, nothing passed on, for an effect of 0; DROPEFFECT_NONE
    // without the services' drop target.
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

private:
    ~SRicheditDropTarget() override;
    // The services' drop target (one reference), or null when they give none.
    IDropTarget* ServicesTarget() const;

    ITextServices* m_services;
};

}  // namespace WUI
