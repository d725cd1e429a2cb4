// Bitmaps, fonts, regions and the factory's objects.
#include "RenderTestUtil.h"
#include "render/IRenderObj.h"

using namespace WUI;
using namespace rendertest;

namespace {

TEST(Bitmap, InitZeroesCopiesAndRefusesBadSizes) {
    Factories fx;
    IBitmap* b = nullptr;
    fx.render->CreateBitmap(&b);
    EXPECT_EQ(OT_BITMAP, b->ObjectType());
    EXPECT_EQ(fx.render, b->GetRenderFactory());
    ASSERT_EQ(S_OK, b->Init(3, 2, nullptr));
    const DWORD* px = static_cast<const DWORD*>(b->GetPixelBits());
    for (int i = 0; i < 6; ++i) EXPECT_EQ(0u, px[i]);
    EXPECT_EQ(3, b->Size().cx);
    const DWORD src[] = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(S_OK, b->Init(2, 3, src));
    px = static_cast<const DWORD*>(b->GetPixelBits());
    EXPECT_EQ(6u, px[5]);
    struct { int w, h; } bad[] = {{0, 5}, {5, 0}, {-1, 4}, {16385, 1}, {16384, 16384}, {0x10000, 0x10000}};
    for (auto& s : bad) {
        EXPECT_EQ(E_INVALIDARG, b->Init(s.w, s.h, nullptr)) << s.w << "x" << s.h;
        EXPECT_EQ(0u, b->Width());
        EXPECT_EQ(nullptr, b->GetPixelBits());
    }
    b->Release();
}

TEST(Bitmap, CloneCopiesPixels) {
    Factories fx;
    IBitmap* b = nullptr;
    fx.render->CreateBitmap(&b);
    const DWORD src[] = {0xFF112233, 0x80402010};
    b->Init(2, 1, src);
    IBitmap* c = nullptr;
    ASSERT_EQ(S_OK, b->Clone(&c));
    ASSERT_NE(nullptr, c);
    EXPECT_NE(b->GetPixelBits(), c->GetPixelBits());
    EXPECT_EQ(0x80402010u, static_cast<const DWORD*>(c->GetPixelBits())[1]);
    c->Release();
    IBitmap* empty = nullptr;
    fx.render->CreateBitmap(&empty);
    c = reinterpret_cast<IBitmap*>(0x1);
    EXPECT_EQ(E_INVALIDARG, empty->Clone(&c));
    EXPECT_EQ(nullptr, c);
    empty->Release();
    b->Release();
}

TEST(Bitmap, LoadingResults) {
    Factories fx;
    IBitmap* b = nullptr;
    fx.render->CreateBitmap(&b);
    ASSERT_EQ(S_OK, b->LoadFromFile(Wide(Fixture("still_rgba.png")).c_str()));
    EXPECT_EQ(6u, b->Width());
    // A file that is no image gives 1 and leaves the bitmap as it was.
    EXPECT_EQ(S_FALSE, b->LoadFromFile(Wide(Fixture("bad/garbage.bin")).c_str()));
    EXPECT_EQ(S_FALSE, b->LoadFromFile(L"fixtures\\no_such_file.png"));
    EXPECT_EQ(6u, b->Width());
    std::vector<uint8_t> data = ReadFile(Fixture("anim_basic.png"));
    ASSERT_EQ(S_OK, b->LoadFromMemory(data.data(), data.size()));
    EXPECT_EQ(8u, b->Width());
    // The first frame: opaque blue.
    EXPECT_EQ(0xFF0000FFu, static_cast<const DWORD*>(b->GetPixelBits())[0]);
    b->Release();
}

TEST(Bitmap, LoadingWithoutDecoderFactoryIsAnError) {
    Factories fx(nullptr);
    EXPECT_EQ(nullptr, fx.render->GetImgDecoderFactory());
    IBitmap* b = nullptr;
    fx.render->CreateBitmap(&b);
    EXPECT_EQ(E_FAIL, b->LoadFromFile(Wide(Fixture("still_rgba.png")).c_str()));
    std::vector<uint8_t> data = ReadFile(Fixture("still_rgba.png"));
    EXPECT_EQ(E_FAIL, b->LoadFromMemory(data.data(), data.size()));
    b->Init(1, 1, nullptr);
    EXPECT_EQ(E_FAIL, b->Save(L"never.png", nullptr));
    b->Release();
}

TEST(RenderFactory, HoldsOneReferenceToItsDecoderFactory) {
    IRenderFactory* rf = nullptr;
    CreateRenderFactory_GDI(&rf);
    IImgDecoderFactory* d = nullptr;
    CreateImgDecoderFactory(L"imgdecoder-stb", &d);
    rf->SetImgDecoderFactory(d);
    rf->SetImgDecoderFactory(d);  // the same one again changes nothing
    EXPECT_EQ(3, d->AddRef());
    EXPECT_EQ(2, d->Release());
    rf->SetImgDecoderFactory(nullptr);
    EXPECT_EQ(2, d->AddRef());
    d->Release();
    rf->SetImgDecoderFactory(d);
    d->Release();
    EXPECT_EQ(d, rf->GetImgDecoderFactory());
    EXPECT_EQ(0, rf->Release());  // releases the decoder factory too
}

TEST(Font, PropertiesFromLogFont) {
    Factories fx;
    struct { LONG weight; BOOL bold; } weights[] = {{700, TRUE}, {600, FALSE}, {800, FALSE}, {400, FALSE}};
    for (auto& w : weights) {
        LOGFONTW lf{};
        lf.lfHeight = -14;
        lf.lfWeight = w.weight;
        lf.lfItalic = TRUE;
        wcscpy(lf.lfFaceName, L"Tahoma");
        IFont* f = nullptr;
        ASSERT_TRUE(fx.render->CreateFont(&f, lf, nullptr));
        EXPECT_EQ(w.bold, f->IsBold()) << w.weight;
        EXPECT_TRUE(f->IsItalic());
        EXPECT_FALSE(f->IsUnderline());
        EXPECT_FALSE(f->IsStrikeOut());
        EXPECT_EQ(-14, f->TextSize());
        EXPECT_STREQ(L"Tahoma", f->FamilyName());
        EXPECT_EQ(OT_FONT, f->ObjectType());
        f->Release();
    }
}

TEST(Region, CombineAndQuery) {
    Factories fx;
    IRegion *a = nullptr, *b = nullptr;
    fx.render->CreateRegion(&a);
    fx.render->CreateRegion(&b);
    EXPECT_TRUE(a->IsEmpty());
    RECT r1{0, 0, 10, 10}, r2{5, 0, 10, 10}, zeroWidth{3, 0, 3, 50};
    a->CombineRect(&r1, RGN_OR);
    EXPECT_FALSE(a->IsEmpty());
    b->CombineRect(&r2, RGN_COPY);
    a->CombineRegion(b, RGN_DIFF);
    RECT box{};
    a->GetRgnBox(&box);
    EXPECT_EQ(5, box.right);
    EXPECT_TRUE(a->PtInRegion(POINT{4, 4}));
    EXPECT_FALSE(a->PtInRegion(POINT{6, 4}));
    a->CombineRegion(b, RGN_COPY);
    a->GetRgnBox(&box);
    EXPECT_TRUE(EqualRect(&box, &r2));
    a->Offset(POINT{-5, 2});
    a->GetRgnBox(&box);
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(2, box.top);
    EXPECT_TRUE(a->RectInRegion(&r1));
    a->Clear();
    EXPECT_TRUE(a->IsEmpty());
    a->CombineRect(&zeroWidth, RGN_COPY);
    EXPECT_TRUE(a->IsEmpty());
    HRGN native = CreateRectRgn(1, 2, 3, 4);
    a->CopyFromHandle(native);
    DeleteObject(native);
    a->GetRgnBox(&box);
    EXPECT_EQ(3, box.right);
    EXPECT_EQ(OT_REGION, a->ObjectType());
    a->Release();
    b->Release();
}

}  // namespace
