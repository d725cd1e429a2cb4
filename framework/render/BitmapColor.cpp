#include "render/BitmapColor.h"

#include <algorithm>
#include <vector>

#include "render/IRenderObj.h"

namespace WUI {
namespace {

constexpr int kWeight = int(0.8 * 256);  // 204

struct ColorizeParams {
    BYTE hue, saturation;
};

// The bitmap's pixels for the length of a scope.
class LockedView {
public:
    explicit LockedView(IBitmap* bmp) : m_bmp(bmp) {
        if (!bmp) return;
        m_view.pixels = static_cast<BYTE*>(bmp->LockPixelBits());
        m_view.width = int(bmp->Width());
        m_view.height = int(bmp->Height());
    }
    ~LockedView() { if (m_bmp && m_view.pixels) m_bmp->UnlockPixelBits(m_view.pixels); }
    LockedView(const LockedView&) = delete;
    LockedView& operator=(const LockedView&) = delete;
    const BitmapView& View() const { return m_view; }
    bool HasPixels() const { return m_view.pixels && m_view.width > 0 && m_view.height > 0; }

private:
    IBitmap* m_bmp;
    BitmapView m_view;
};

float Channel(float p, float q, float x) {
    if (x < 0) x += 360;
    if (x >= 360) x -= 360;
    if (x < 60) return p + (q - p) * x / 60;
    if (x < 180) return q;
    if (x < 240) return p + (q - p) * (240 - x) / 60;
    return p;
}

void ColorizePixel(BYTE* px, void* user) {
    const ColorizeParams& prm = *static_cast<const ColorizeParams*>(user);
    unsigned a = px[3];
    if (a == 0) return;
    // Premultiplied bytes never exceed alpha; clamp those that do.
    for (int i = 0; i < 3; ++i) {
        if (px[i] > a) px[i] = BYTE(a);
        if (a < 255) px[i] = BYTE(px[i] * 255 / a);
    }
    BYTE light = BYTE((306 * px[0] + 601 * px[1] + 117 * px[2]) >> 10);
    DWORD target = HSL2RGB(DWORD(prm.hue) << 16 | DWORD(prm.saturation) << 8 | light);
    BYTE t[3] = {BYTE(target >> 16), BYTE(target >> 8), BYTE(target)};  // red, green, blue
    for (int i = 0; i < 3; ++i) {
        px[i] = BYTE((px[i] * (256 - kWeight) + t[i] * kWeight) >> 8);
        if (a < 255) px[i] = BYTE(px[i] * a / 255);
    }
}

void GrayPixel(BYTE* px, void*) {
    BYTE g = BYTE((306 * px[0] + 601 * px[1] + 117 * px[2]) >> 10);
    px[0] = px[1] = px[2] = g;
}

ColorizeParams ParamsFor(COLORREF target) {
    DWORD hsl = RGB2HSL(SwapRedBlue(target));
    return ColorizeParams{BYTE(hsl >> 16), BYTE(hsl >> 8)};
}

}  // namespace

bool ForEachPixel(const BitmapView& view, PixelFunction fn, void* user) {
    if (!view.pixels || view.width <= 0 || view.height <= 0) return false;
    BYTE* p = view.pixels;
    size_t count = size_t(view.width) * size_t(view.height);
    for (size_t i = 0; i < count; ++i, p += 4) fn(p, user);
    return true;
}

DWORD SwapRedBlue(DWORD v) { return (v & 0xFF) << 16 | (v & 0xFF00) | ((v >> 16) & 0xFF); }

DWORD RGB2HSL(DWORD rgb) {
    int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    int sum = mx + mn, delta = mx - mn;
    int l = ((sum + 1) * 255) / 510;
    if (mx == mn) return DWORD(170) << 16 | DWORD(l);
    int s = l <= 127 ? (delta * 255 + sum / 2) / sum : (delta * 255 + (510 - sum) / 2) / (510 - sum);
    int rd = ((mx - r) * 42 + delta / 2) / delta;
    int gd = ((mx - g) * 42 + delta / 2) / delta;
    int bd = ((mx - b) * 42 + delta / 2) / delta;
    int h;
    if (r == mx) h = bd - gd;
    else if (g == mx) h = 85 + rd - bd;
    else h = 170 + gd - rd;
    h &= 0xFF;
    return DWORD(h) << 16 | DWORD(s) << 8 | DWORD(l);
}

DWORD HSL2RGB(DWORD hsl) {
    float l = float(hsl & 0xFF) / 255.0f, s = float((hsl >> 8) & 0xFF) / 255.0f;
    if (s == 0) {
        DWORD v = DWORD(int(l * 255));
        return v << 16 | v << 8 | v;
    }
    float q = l <= 0.5f ? l * (1 + s) : l + s - l * s;
    float p = 2 * l - q;
    float h = float((hsl >> 16) & 0xFF) * 360.0f / 255.0f;
    auto byte = [](float f) { return DWORD(std::min(255, std::max(0, int(255 * f)))); };
    return byte(Channel(p, q, h + 120)) << 16 | byte(Channel(p, q, h)) << 8 | byte(Channel(p, q, h - 120));
}

bool ColorizeColor(COLORREF& color, COLORREF target) {
    ColorizeParams prm = ParamsFor(target);
    BYTE px[4] = {BYTE(color), BYTE(color >> 8), BYTE(color >> 16), BYTE(color >> 24)};
    ColorizePixel(px, &prm);
    color = DWORD(px[0]) | DWORD(px[1]) << 8 | DWORD(px[2]) << 16 | DWORD(px[3]) << 24;
    return true;
}

bool ColorizeBitmap(IBitmap* bitmap, COLORREF target) {
    ColorizeParams prm = ParamsFor(target);
    LockedView lock(bitmap);
    return lock.HasPixels() && ForEachPixel(lock.View(), ColorizePixel, &prm);
}

bool GrayBitmap(IBitmap* bitmap) {
    LockedView lock(bitmap);
    return lock.HasPixels() && ForEachPixel(lock.View(), GrayPixel, nullptr);
}

DWORD AverageColor(IBitmap* bitmap, int percent, int blockSize) {
    LockedView lock(bitmap);
    if (!lock.HasPixels()) return 0;
    const BitmapView& v = lock.View();
    percent = std::min(100, std::max(0, percent));
    int n = std::max(1, std::min(blockSize, std::max(v.width, v.height)));
    struct Entry { unsigned c[3]; };
    std::vector<Entry> entries;
    for (int by = 0; by < v.height; by += n) {
        for (int bx = 0; bx < v.width; bx += n) {
            int bw = std::min(n, v.width - bx), bh = std::min(n, v.height - by);
            unsigned long long sum[3] = {0, 0, 0};
            for (int y = by; y < by + bh; ++y) {
                const BYTE* p = v.pixels + (size_t(y) * v.width + bx) * 4;
                for (int x = 0; x < bw; ++x, p += 4)
                    for (int c = 0; c < 3; ++c) sum[c] += p[c];
            }
            unsigned long long cnt = unsigned(bw) * unsigned(bh);
            entries.push_back(Entry{{unsigned(sum[0] / cnt), unsigned(sum[1] / cnt), unsigned(sum[2] / cnt)}});
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.c[0] + a.c[1] + a.c[2] > b.c[0] + b.c[1] + b.c[2];
    });
    size_t count = entries.size();
    size_t k = size_t(100 - percent) * count / 200;
    if (count - 2 * k == 0) k = (count - 1) / 2;  // keep the middle block
    unsigned long long sum[3] = {0, 0, 0};
    for (size_t i = k; i < count - k; ++i)
        for (int c = 0; c < 3; ++c) sum[c] += entries[i].c[c];
    size_t kept = count - 2 * k;
    return DWORD(sum[0] / kept) | DWORD(sum[1] / kept) << 8 | DWORD(sum[2] / kept) << 16;
}

}  // namespace WUI
