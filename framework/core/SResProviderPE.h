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
    IBitmap *LoadImage(LPCWSTR type, LPCWSTR name) override;
    IImgX *LoadImgX(LPCWSTR type, LPCWSTR name) override;
    size_t GetRawBufferSize(LPCWSTR type, LPCWSTR name) override;
    BOOL GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size) override;

private:
    HRSRC Find(LPCWSTR type, LPCWSTR name) const;
    // The resource's bytes in the module (not copied); null when missing or empty.
    const void *Bytes(LPCWSTR type, LPCWSTR name, DWORD &size) const;

    HINSTANCE m_instance = nullptr;
};

} // namespace WUI
