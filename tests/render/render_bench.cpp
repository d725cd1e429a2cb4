// Render benchmark: figures as ratios against a baseline run beside them.
// Run with the bench_render target; under emulated Wine the absolute times
// are slow, the ratios are what to read.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>
#include <png.h>
#include <stb_image.h>

#include "render/IImgDecoder.h"
#include "render/IRenderTarget.h"
#include "render/PixelOps.h"
#include "render/PngCodec.h"
#include "support/BenchClock.h"

using namespace WUI;

namespace {

template <class F>
double Time(int reps, F f) {
    f();  // warm-up
    double t = bench::Now();
    for (int i = 0; i < reps; ++i) f();
    return (bench::Now() - t) / reps;
}

std::vector<uint8_t> MakePng(uint32_t w, uint32_t h) {
    std::vector<uint8_t> rgba(size_t(w) * h * 4);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = &rgba[(size_t(y) * w + x) * 4];
            p[0] = uint8_t(x * 3 + y);
            p[1] = uint8_t(y * 5);
            p[2] = uint8_t((x ^ y) * 7);
            p[3] = uint8_t(128 + (x + y) % 128);
        }
    char path[] = "bench_tmp.png";
    FILE* f = fopen(path, "wb");
    EncodePngRgba(f, rgba.data(), w, h);
    fclose(f);
    std::vector<uint8_t> data;
    f = fopen(path, "rb");
    uint8_t buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    fclose(f);
    remove(path);
    return data;
}

struct RawSrc {
    const uint8_t* d;
    size_t n, pos;
};
void RawRead(png_structp png, png_bytep out, png_size_t count) {
    RawSrc* s = static_cast<RawSrc*>(png_get_io_ptr(png));
    if (s->n - s->pos < count) png_error(png, "short");
    memcpy(out, s->d + s->pos, count);
    s->pos += count;
}

// Baseline: libpng's own read of the same stream into a new RGBA buffer, as
// any decode of a new image needs, and nothing else.
// The buffers live in the caller: a libpng error longjmps past this frame.
void RawLibpngInto(const std::vector<uint8_t>& data, std::vector<uint8_t>& out, std::vector<png_bytep>& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    RawSrc src{data.data(), data.size(), 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return;
    }
    png_set_read_fn(png, &src, RawRead);
    png_read_info(png, info);
    uint32_t w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    out.resize(size_t(w) * h * 4);
    rows.resize(h);
    for (uint32_t y = 0; y < h; ++y) rows[y] = out.data() + size_t(y) * w * 4;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
}

void RawLibpng(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out;
    std::vector<png_bytep> rows;
    RawLibpngInto(data, out, rows);
}

int DecodeWith(IImgDecoderFactory* f, const std::vector<uint8_t>& data) {
    IImgX* img = nullptr;
    f->CreateImgX(&img);
    int n = img->LoadFromMemory(data.data(), data.size());
    img->Release();
    return n;
}

}  // namespace

int main() {
    printf("render benchmark under Wine; %s\n", bench::ExecutionNote());
    IImgDecoderFactory* pngDec = nullptr;
    CreateImgDecoderFactory(L"imgdecoder-png", &pngDec);
    IRenderFactory* rf = nullptr;
    CreateRenderFactory_GDI(&rf);
    rf->SetImgDecoderFactory(pngDec);

    // PNG decoding, 1024x1024 RGBA.
    std::vector<uint8_t> big = MakePng(1024, 1024);
    double tRaw = Time(3, [&] { RawLibpng(big); });
    double tOurs = Time(3, [&] { DecodeWith(pngDec, big); });
    double tStb = Time(3, [&] {
        int w, h, n;
        stbi_image_free(stbi_load_from_memory(big.data(), int(big.size()), &w, &h, &n, 4));
    });
    uint32_t bw = 0, bh = 0;
    std::vector<uint8_t> rgba;
    double tCodec = Time(3, [&] { DecodePngRgba(big.data(), big.size(), &bw, &bh, &rgba); });
    double tPremul = Time(3, [&] { PremultiplyRgbaToBgra(rgba.data(), rgba.size() / 4); });
    printf("  of which libpng with our transforms %.1f ms, premultiplying %.1f ms\n", tCodec * 1e3, tPremul * 1e3);
    printf("png 1024x1024: raw libpng %.1f ms, imgdecoder-png %.1f ms (%.2fx raw), stb %.1f ms (ours %.2fx stb)\n", tRaw * 1e3,
           tOurs * 1e3, tOurs / tRaw, tStb * 1e3, tOurs / tStb);

    // Skin images: 64x64 PNGs decoded into render bitmaps.
    std::vector<uint8_t> skin = MakePng(64, 64);
    IBitmap* bmp = nullptr;
    rf->CreateBitmap(&bmp);
    double tSkin = Time(200, [&] { bmp->LoadFromMemory(skin.data(), skin.size()); });
    double tSkinRaw = Time(200, [&] { RawLibpng(skin); });
    printf("64x64 skin images: %.0f per second into bitmaps (raw libpng decode alone: %.0f per second, %.2fx)\n", 1 / tSkin,
           1 / tSkinRaw, tSkin / tSkinRaw);

    // AlphaBlend throughput from a 256x256 bitmap.
    IRenderTarget* rt = nullptr;
    rf->CreateRenderTarget(&rt, 800, 600);
    IBitmap* src = nullptr;
    rf->CreateBitmap(&src);
    std::vector<DWORD> px(256 * 256, 0x80404040);
    src->Init(256, 256, px.data());
    RECT d1{0, 0, 256, 256}, d2{0, 0, 800, 600}, s{0, 0, 256, 256};
    double t11 = Time(50, [&] { rt->DrawBitmap(&d1, src, 0, 0, 255); });
    double tStretch = Time(20, [&] { rt->DrawBitmapEx(&d2, src, &s, 1, 255); });
    printf("AlphaBlend: 1:1 %.1f Mpixel/s, stretched to 800x600 %.1f Mpixel/s\n", 256 * 256 / t11 / 1e6, 800 * 600 / tStretch / 1e6);

    // Alpha-buffer cost against the same raw GDI call.
    HDC dc = rt->GetDC(0);
    RECT small{10, 10, 42, 30};
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    double tFill = Time(500, [&] { rt->FillSolidRect(&small, 0xFF1E140A); });
    double tFillRaw = Time(500, [&] { FillRect(dc, &small, brush); });
    DeleteObject(brush);
    const wchar_t* text = L"Twenty characters ok";
    RECT tr{10, 40, 400, 70};
    double tText = Time(200, [&] { rt->DrawText(text, 20, &tr, DT_SINGLELINE); });
    double tTextRaw = Time(200, [&] { ::DrawTextW(dc, text, 20, &tr, DT_SINGLELINE); });
    rt->ReleaseDC(dc);
    printf("FillSolidRect 32x20: %.1f us (raw GDI %.1f us, %.2fx)\n", tFill * 1e6, tFillRaw * 1e6, tFill / tFillRaw);
    printf("DrawText 20 characters: %.1f us (raw GDI %.1f us, %.2fx)\n", tText * 1e6, tTextRaw * 1e6, tText / tTextRaw);

    // Nine-patch background of 800x600 from a 48x48 image with 16-pixel margins.
    IBitmap* nine = nullptr;
    rf->CreateBitmap(&nine);
    std::vector<DWORD> npx(48 * 48, 0xFF336699);
    nine->Init(48, 48, npx.data());
    RECT ns{0, 0, 48, 48}, nm{16, 16, 16, 16};
    double tNineS = Time(20, [&] { rt->DrawBitmap9Patch(&d2, nine, &ns, &nm, 1, 255); });
    double tNineT = Time(20, [&] { rt->DrawBitmap9Patch(&d2, nine, &ns, &nm, 2, 255); });
    printf("nine-patch 800x600: stretch %.2f ms, tile %.2f ms (tile %.2fx stretch; one full AlphaBlend %.2f ms)\n", tNineS * 1e3,
           tNineT * 1e3, tNineT / tNineS, tStretch * 1e3);

    nine->Release();
    src->Release();
    rt->Release();
    bmp->Release();
    rf->Release();
    pngDec->Release();
    return 0;
}
