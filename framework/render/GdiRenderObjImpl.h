#pragma once
// Common base of the GDI render objects: reference count and owning factory
// (a plain pointer: objects never keep their factory alive).
#include "render/IRenderTarget.h"

namespace WUI {

template <class I>
class TGdiRenderObjImpl : public TObjRefImpl<I> {
public:
    explicit TGdiRenderObjImpl(IRenderFactory* factory) : m_factory(factory) {}
    IRenderFactory* GetRenderFactory() const override { return m_factory; }
    HRESULT SetProps(LPCWSTR) override { return S_OK; }
    LPCWSTR GetProps() override { return L""; }

protected:
    IRenderFactory* m_factory;
};

}  // namespace WUI
