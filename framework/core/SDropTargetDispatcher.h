// The container's OLE drop target: elements register their own drop target
// under their handle, and the platform's drag calls go on to the target of the
// element under the mouse.
#pragma once

#include "core/SCmnMap.h"
#include "core/SWindowMgr.h"

#include <ole2.h>

namespace WUI {

// Not reference counted: it lives and dies with its container.
class SDropTargetDispatcher : public IDropTarget {
public:
    explicit SDropTargetDispatcher(SWindow* root);
    // Ends a drag in progress as DragLeave does and releases every target.
    ~SDropTargetDispatcher();
    SDropTargetDispatcher(const SDropTargetDispatcher&) = delete;
    SDropTargetDispatcher& operator=(const SDropTargetDispatcher&) = delete;

    // False (nothing kept) when the element has a target already, or for a
    // null handle or target; else the target is kept with a reference.
    BOOL RegisterDragDrop(SWND swnd, IDropTarget* target);
    // False when the element has no target.
    BOOL RevokeDragDrop(SWND swnd);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // Keeps the data object (one held at a time), then as DragOver.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    // Leaves the element the mouse left and enters the one it is over; the
    // effect is what that element's target answers, DROPEFFECT_NONE over an
    // element without a target.
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    // To the current element's target (DROPEFFECT_NONE without one); the drag ends.
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

private:
    // The element's target with a reference for the caller (a target may
    // revoke itself while it is called); null when it has none.
    IDropTarget* TakeTarget(SWND swnd) const;
    void LeaveCurrent();
    void ReleaseData();
    SWND ElementAt(POINTL screenPoint) const;

    SCmnMap<IDropTarget*, SWND> m_targets;
    IDataObject* m_data = nullptr;
    SWND m_current = 0;
    SWindow* m_root;
};

}  // namespace WUI
