#pragma once
// Shared helpers of the render tests: fixtures, expected frames, targets.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "render/IImgDecoder.h"
#include "render/IRenderTarget.h"

namespace rendertest {

inline std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> data;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return data;
    uint8_t buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    fclose(f);
    return data;
}

inline std::string Fixture(const std::string& name) { return "fixtures/" + name; }

inline std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Frames the fixture generator's reference expects: premultiplied BGRA.
struct Expected {
    uint32_t width = 0, height = 0;
    std::vector<int> delays;
    std::vector<std::vector<uint8_t>> frames;
};

inline Expected LoadExpected(const std::string& name) {
    Expected e;
    std::vector<uint8_t> d = ReadFile(Fixture(name + ".expect"));
    if (d.size() < 12) return e;
    auto u32 = [&d](size_t at) { return uint32_t(d[at]) | uint32_t(d[at + 1]) << 8 | uint32_t(d[at + 2]) << 16 | uint32_t(d[at + 3]) << 24; };
    e.width = u32(0);
    e.height = u32(4);
    uint32_t n = u32(8);
    size_t bytes = size_t(e.width) * e.height * 4, at = 12;
    for (uint32_t i = 0; i < n && at + 4 + bytes <= d.size(); ++i) {
        e.delays.push_back(int(u32(at)));
        e.frames.emplace_back(d.begin() + at + 4, d.begin() + at + 4 + bytes);
        at += 4 + bytes;
    }
    return e;
}

// Exact where alpha is 0 or 255, within tol elsewhere. Returns the first mismatch.
inline ::testing::AssertionResult PixelsMatch(const uint8_t* got, const uint8_t* want, size_t count, int tol = 1) {
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* g = got + i * 4;
        const uint8_t* w = want + i * 4;
        int t = (w[3] == 0 || w[3] == 255) ? 0 : tol;
        for (int c = 0; c < 4; ++c) {
            if (std::abs(int(g[c]) - int(w[c])) > t) {
                char msg[160];
                snprintf(msg, sizeof msg, "pixel %u: got %02X%02X%02X%02X want %02X%02X%02X%02X (BGRA)", unsigned(i), g[0], g[1], g[2],
                         g[3], w[0], w[1], w[2], w[3]);
                return ::testing::AssertionFailure() << msg;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

inline std::vector<uint8_t> FramePixels(WUI::IImgFrame* frame) {
    UINT w = 0, h = 0;
    std::vector<uint8_t> px;
    if (!frame || !frame->GetSize(&w, &h)) return px;
    px.resize(size_t(w) * h * 4);
    if (!frame->CopyPixels(nullptr, w * 4, UINT(px.size()), px.data())) px.clear();
    return px;
}

// Holds a render factory with a decoder factory, released at the end.
struct Factories {
    WUI::IRenderFactory* render = nullptr;
    WUI::IImgDecoderFactory* decoders = nullptr;
    explicit Factories(const wchar_t* decoder = L"imgdecoder-png") {
        WUI::CreateRenderFactory_GDI(&render);
        if (decoder && WUI::CreateImgDecoderFactory(decoder, &decoders)) render->SetImgDecoderFactory(decoders);
    }
    ~Factories() {
        if (decoders) decoders->Release();
        if (render) render->Release();
    }
    Factories(const Factories&) = delete;
    Factories& operator=(const Factories&) = delete;
};

}  // namespace rendertest
