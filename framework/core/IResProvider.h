#pragma once
#include "core/IObjRef.h"

namespace WUI {

struct IBitmap;
struct IImgX;

// A source of resources addressed by type and name.
struct IResProvider : IObjRef {
    // PE provider: the module handle; folder provider: the folder (LPCWSTR). FALSE on failure.
    virtual BOOL Init(WPARAM param) = 0;
    virtual BOOL HasResource(LPCWSTR type, LPCWSTR name) = 0;
    // The loads return null when the resource is missing or does not load.
    virtual HICON LoadIcon(LPCWSTR name, int cx, int cy) = 0;
    virtual HBITMAP LoadBitmap(LPCWSTR name) = 0;
    virtual HCURSOR LoadCursor(LPCWSTR name) = 0;
    // New objects (one reference) made through the application's render factory;
    // null without one, when the resource is missing, or when it does not decode.
    virtual IBitmap *LoadImage(LPCWSTR type, LPCWSTR name) = 0;
    virtual IImgX *LoadImgX(LPCWSTR type, LPCWSTR name) = 0;
    // The resource's size in bytes; 0 when it is missing.
    virtual size_t GetRawBufferSize(LPCWSTR type, LPCWSTR name) = 0;
    // Copies the resource; 0 when missing, and 0 with ERROR_INSUFFICIENT_BUFFER
    // when it does not fit.
    virtual BOOL GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size) = 0;
    virtual ~IResProvider() = default;
};

// kind 0: the module's own resources; kind 1: a folder with "uires.idx".
// FALSE (out null) for other kinds.
BOOL CreateResProvider(int kind, IResProvider **out);

} // namespace WUI
