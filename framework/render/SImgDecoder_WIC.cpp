#include "render/SImgDecoder_WIC.h"

#include <mutex>
#include <new>

#include "render/ImgFiles.h"
#include "render/PixelOps.h"

namespace WUI {
namespace {

// One WIC imaging factory for the process, created by the first holder and
// released by the last.
std::mutex g_wicLock;
IWICImagingFactory* g_wic = nullptr;
int g_wicHolders = 0;

IWICImagingFactory* AcquireWic() {
    std::lock_guard<std::mutex> lock(g_wicLock);
    if (!g_wic) {
        HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(&g_wic));
        if (FAILED(hr)) g_wic = nullptr;
    }
    if (g_wic) ++g_wicHolders;
    return g_wic;
}

void ReleaseWic() {
    std::lock_guard<std::mutex> lock(g_wicLock);
    if (g_wicHolders > 0 && --g_wicHolders == 0) {
        g_wic->Release();
        g_wic = nullptr;
    }
}

}  // namespace

BOOL SImgFrame_WIC::GetSize(UINT* width, UINT* height) {
    UINT w = 0, h = 0;
    bool ok = m_source && SUCCEEDED(m_source->GetSize(&w, &h)) && w && h;
    if (width) *width = ok ? w : 0;
    if (height) *height = ok ? h : 0;
    return ok;
}

BOOL SImgFrame_WIC::CopyPixels(const RECT* rect, UINT stride, UINT size, BYTE* buffer) {
    if (!m_source || !buffer) return FALSE;
    WICRect rc{};
    if (rect) rc = WICRect{rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top};
    return SUCCEEDED(m_source->CopyPixels(rect ? &rc : nullptr, stride, size, buffer));
}

SImgX_WIC::SImgX_WIC(IWICImagingFactory* factory) : m_factory(factory) { m_factory->AddRef(); }

SImgX_WIC::~SImgX_WIC() {
    m_frames.clear();
    if (m_stream) m_stream->Release();
    m_factory->Release();
}

int SImgX_WIC::TakeFrames(IWICBitmapDecoder* decoder) {
    UINT count = 0;
    if (FAILED(decoder->GetFrameCount(&count)) || count == 0 || count > ImageLimits::kMaxFrames) return 0;
    const GUID& format = m_premultiply ? GUID_WICPixelFormat32bppPBGRA : GUID_WICPixelFormat32bppBGRA;
    uint64_t total = 0;
    for (UINT i = 0; i < count; ++i) {
        IWICBitmapFrameDecode* frame = nullptr;
        if (FAILED(decoder->GetFrame(i, &frame))) break;
        UINT w = 0, h = 0;
        uint64_t bytes = SUCCEEDED(frame->GetSize(&w, &h)) ? ImageBytes(w, h) : 0;
        total += bytes;
        IWICFormatConverter* conv = nullptr;
        bool ok = bytes != 0 && total <= ImageLimits::kMaxBytes && SUCCEEDED(m_factory->CreateFormatConverter(&conv)) &&
                  SUCCEEDED(conv->Initialize(frame, format, WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom));
        frame->Release();
        if (!ok) {
            if (conv) conv->Release();
            break;
        }
        m_frames.emplace_back(new SImgFrame_WIC(conv));
    }
    if (m_frames.size() != count) m_frames.clear();
    return int(m_frames.size());
}

int SImgX_WIC::LoadFromMemory(const void* data, size_t size) {
    m_frames.clear();
    if (m_stream) m_stream->Release();
    m_stream = nullptr;
    if (!data || size == 0 || size > ImageLimits::kMaxBytes) return 0;
    try {
        m_data.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    IWICBitmapDecoder* decoder = nullptr;
    if (FAILED(m_factory->CreateStream(&m_stream)) || FAILED(m_stream->InitializeFromMemory(m_data.data(), DWORD(size))) ||
        FAILED(m_factory->CreateDecoderFromStream(m_stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)))
        return 0;
    int n = TakeFrames(decoder);
    decoder->Release();
    return n;
}

int SImgX_WIC::LoadFromFileA(LPCSTR path) {
    wchar_t wide[MAX_PATH];
    return ImgFiles::AnsiToWidePath(path, wide) ? LoadFromFileW(wide) : 0;
}

int SImgX_WIC::LoadFromFileW(LPCWSTR path) {
    m_frames.clear();
    IWICBitmapDecoder* decoder = nullptr;
    if (!path || FAILED(m_factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnLoad, &decoder)))
        return 0;
    int n = TakeFrames(decoder);
    decoder->Release();
    return n;
}

SImgDecoderFactory_WIC::SImgDecoderFactory_WIC() : m_wic(AcquireWic()) {}

SImgDecoderFactory_WIC::~SImgDecoderFactory_WIC() {
    if (m_wic) ReleaseWic();
}

BOOL SImgDecoderFactory_WIC::CreateImgX(IImgX** out) {
    *out = m_wic ? new (std::nothrow) SImgX_WIC(m_wic) : nullptr;
    return TRUE;
}

int SImgDecoderFactory_WIC::HolderCount() {
    std::lock_guard<std::mutex> lock(g_wicLock);
    return g_wicHolders;
}

}  // namespace WUI
