#include "core/STextServiceHelper.h"

#include "core/SystemLibrary.h"

namespace WUI {

STextServiceHelper::STextServiceHelper()
{
    m_lib = LoadSystemLibrary(L"riched20.dll");
    if (m_lib)
        m_create = reinterpret_cast<FnCreateTextServices>(
            reinterpret_cast<void *>(::GetProcAddress(m_lib, "CreateTextServices")));
}

STextServiceHelper::~STextServiceHelper()
{
    if (m_lib)
        ::FreeLibrary(m_lib);
}

HRESULT STextServiceHelper::CreateTextServices(IUnknown *outer, void *textHost, IUnknown **out)
{
    if (out)
        *out = nullptr;
    if (!m_create)
        return E_NOTIMPL;
    if (!out)
        return E_POINTER;
    return m_create(outer, textHost, out);
}

} // namespace WUI
