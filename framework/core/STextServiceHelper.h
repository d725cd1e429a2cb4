#pragma once
#include "core/SSingleton.h"
#include <windows.h>
#include <unknwn.h>

namespace WUI {

// The platform's windowless rich edit: "riched20.dll" is loaded from the
// system folder once for the application's life, and its text services are
// made through it.
class STextServiceHelper : public SSingleton<STextServiceHelper> {
public:
    // Loads the library and looks up its factory; a missing library or
    // function makes every creation fail with E_NOTIMPL.
    STextServiceHelper();
    ~STextServiceHelper() override;
    STextServiceHelper(const STextServiceHelper &) = delete;
    STextServiceHelper &operator=(const STextServiceHelper &) = delete;

    // Text services for the host (an ITextHost), aggregated by outer when
    // given; E_NOTIMPL without the library's factory, else its result.
    HRESULT CreateTextServices(IUnknown *outer, void *textHost, IUnknown **out);
    BOOL IsAvailable() const { return m_create != nullptr; }

private:
    typedef HRESULT(WINAPI *FnCreateTextServices)(IUnknown *, void *, IUnknown **);
    HMODULE m_lib = nullptr;
    FnCreateTextServices m_create = nullptr;
};

} // namespace WUI
