#pragma once
// Shared helpers of the skin tests: an application over the GDI render
// factory, memory targets and bitmaps made from pixel lists.
#include <gtest/gtest.h>

#include <vector>

#include "../RenderTestUtil.h"
#include "core/SApplication.h"
#include "render/ISkinObj.h"

namespace skintest {

// One pixel as the target stores it: premultiplied 0xAARRGGBB.
inline DWORD Argb(DWORD a, DWORD r, DWORD g, DWORD b) { return a << 24 | r << 16 | g << 8 | b; }

class SkinTest : public ::testing::Test {
protected:
    SkinTest() : app(fx.render, GetModuleHandleW(nullptr), L"WUIHOST") {}
    void SetUp() override
    {
        ASSERT_TRUE(fx.render->CreateRenderTarget(&rt, 100, 40));
        ASSERT_NE(nullptr, rt);
    }
    void TearDown() override
    {
        if (rt) rt->Release();
    }
    // A bitmap of w x h pixels; cell i (cellW wide) filled with fill(i).
    WUI::IBitmap* Strip(int cellW, int cells, int h, DWORD (*fill)(int))
    {
        std::vector<DWORD> px(size_t(cellW) * cells * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < cellW * cells; ++x) px[size_t(y) * cellW * cells + x] = fill(x / cellW);
        WUI::IBitmap* b = nullptr;
        fx.render->CreateBitmap(&b);
        EXPECT_EQ(S_OK, b->Init(cellW * cells, h, px.data()));
        return b;
    }
    DWORD Px(int x, int y) { return rt->GetPixel(x, y); }
    void Clear() { rt->ClearRect(&kAll, 0); }
    // A skin made by tag through the application's factories and set from attributes.
    template <class T>
    WUI::SAutoRefPtr<T> Make(const wchar_t* tag, std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attrs = {})
    {
        WUI::SAutoRefPtr<T> skin;
        skin.Attach(static_cast<T*>(app.CreateSkin(WUI::SStringW(tag))));
        EXPECT_TRUE(skin.get() != nullptr) << "no skin for tag";
        if (skin)
            for (auto& a : attrs) skin->SetAttribute(WUI::SStringW(a.first), WUI::SStringW(a.second), TRUE);
        return skin;
    }

    static constexpr RECT kAll{0, 0, 100, 40};
    rendertest::Factories fx;
    WUI::SApplication app;
    WUI::IRenderTarget* rt = nullptr;
};

}  // namespace skintest
