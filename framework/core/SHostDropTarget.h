// What a host window gives the platform's drag-and-drop registration: the
// platform's drag calls go on to the host's drop-target dispatcher. The
// platform may hold it past the host, so it is reference counted and let go
// of the host when the window is revoked; through each call it keeps the
// host alive, since an element's target may close the window.
#pragma once

#include "core/SCountedDropTarget.h"

namespace WUI {

class SwndContainerImpl;

class SHostDropTarget final : public SCountedDropTarget {
public:
    // Registers a new one for the host's window: the caller holds one
    // reference. Null when the platform refuses (OLE is not initialised on
    // this thread, or the window is registered already).
    static SHostDropTarget* Register(HWND hwnd, SwndContainerImpl* host);
    // Revokes the window and lets the host go; later drag calls find no
    // element. The caller's reference stays to be released.
    void Revoke();

    // As the host's dispatcher answers; DROPEFFECT_NONE once revoked.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

private:
    SHostDropTarget(HWND hwnd, SwndContainerImpl* host) : m_hwnd(hwnd), m_host(host) {}
    // Calls the host's dispatcher with the host and this object kept alive.
    template <class Call>
    HRESULT Forward(DWORD* effect, Call call);

    HWND m_hwnd;
    SwndContainerImpl* m_host;  // null once revoked
};

}  // namespace WUI
