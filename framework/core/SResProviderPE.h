#pragma once
#include "core/IResProvider.h"
#include "core/SAutoRefPtr.h"

namespace WUI {

// The resources of a loaded module.
class SResProviderPE : public TObjRefImpl<IResProvider> {
public:
    BOOL Init(WPARAM instance) override;
    BOOL HasResource(LPCWSTR type, LPCWSTR name) override;
    HICON LoadIcon(LPCWSTR name, int cx, int cy) override;
    HBITMAP LoadBitmap(LPCWSTR name) override;
    HCURSOR LoadCursor(LPCWSTR name) override;
    size_t GetRawBufferSize(LPCWSTR type, LPCWSTR name) override;
    BOOL GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size) override;

private:
    HRSRC Find(LPCWSTR type, LPCWSTR name) const;

    HINSTANCE m_instance = nullptr;
};

} // namespace WUI
