#pragma once
// Image decoding interfaces: a factory chosen by name makes image objects
// whose frames hold 32-bit top-down pixels, blue-green-red-alpha, premultiplied.
#include "core/IObjRef.h"
#include "core/SAutoRefPtr.h"

namespace WUI {

struct IBitmap;

// A decoded frame, owned by its image object (not reference-counted).
struct IImgFrame {
    // True when the frame has pixels; width and height are 0 otherwise.
    virtual BOOL GetSize(UINT* width, UINT* height) = 0;
    // Copies the frame into buffer. False when size does not cover the
    // requested pixels or the frame is empty.
    virtual BOOL CopyPixels(const RECT* rect, UINT stride, UINT size, BYTE* buffer) = 0;
    // Display time: milliseconds (GDI+), hundredths of a second (PNG), 0 otherwise.
    virtual int GetDelay() = 0;
    virtual ~IImgFrame() = default;
};

struct IImgX : IObjRef {
    // Each load returns the number of frames, 0 when the data is not an image.
    virtual int LoadFromMemory(const void* data, size_t size) = 0;
    virtual int LoadFromFileA(LPCSTR path) = 0;
    virtual int LoadFromFileW(LPCWSTR path) = 0;
    virtual UINT GetFrameCount() = 0;
    // Null when index is past the last frame.
    virtual IImgFrame* GetFrame(UINT index) = 0;
    virtual ~IImgX() = default;
};

struct IImgDecoderFactory : IObjRef {
    // A new, empty image object with one reference; returns 1.
    virtual BOOL CreateImgX(IImgX** out) = 0;
    virtual HRESULT SaveImage(IBitmap* bitmap, LPCWSTR path, const GUID* format) = 0;
    virtual LPCWSTR GetDescription() const = 0;
    virtual ~IImgDecoderFactory() = default;
};

// Creates the factory of that exact name ("imgdecoder-wic", "imgdecoder-stb",
// "imgdecoder-png", "imgdecoder-gdip"); returns 1, out null when it could not
// be made. Any other name returns 0 and leaves out unchanged.
BOOL CreateImgDecoderFactory(LPCWSTR name, IImgDecoderFactory** out);

}  // namespace WUI
