// The IUnknown of a drop target that the platform or a container may hold
// past its maker: it answers IUnknown and IDropTarget, and the last Release
// deletes it. The count starts at 1, the creator's.
#pragma once

#include <ole2.h>

namespace WUI {

class SCountedDropTarget : public IDropTarget {
public:
    SCountedDropTarget(const SCountedDropTarget&) = delete;
    SCountedDropTarget& operator=(const SCountedDropTarget&) = delete;

    // E_POINTER for a null out; E_NOINTERFACE (out null) for other interfaces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

protected:
    SCountedDropTarget() = default;
    virtual ~SCountedDropTarget() = default;

private:
    LONG m_refs = 1;
};

}  // namespace WUI
