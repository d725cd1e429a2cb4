// The caret drawn over a memory target: what it inverts, where it is cut by
// the owner and its ancestors, and that a second draw restores the picture.
#include "core/SCaret.h"
#include "element/ElementHost.h"
#include "LeakCheck.h"

#include <vector>

using namespace WUI;
using namespace elemtest;

namespace {

const int kWidth = 60, kHeight = 40;

// A panel (10,5)-(40,25) with a margin of 2 and, inside its client area
// (12,7)-(38,23), an edit (12,7)-(52,17) that reaches past it on the right.
class SCaretTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        host.reset(new ElementHost(kWidth, kHeight));
        host->Load(L"<root><window name='panel' pos='10,5,@30,@20' margin='2'>"
                   L"<window name='edit' pos='0,0,@40,@10'/></window></root>");
        edit = host->Find(L"edit");
        ASSERT_NE(nullptr, edit);
        // Every pixel its own colour, with a partial alpha that must survive.
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) host->Target()->SetPixel(x, y, Original(x, y));
    }
    void TearDown() override
    {
        host.reset();
        LeakChecked::TearDown();
    }
    static DWORD Original(int x, int y) { return 0x80000000u | DWORD(x * 4) << 16 | DWORD(y * 6) << 8 | 0x21; }
    static DWORD Inverted(int x, int y) { return (Original(x, y) ^ 0x00FFFFFFu); }
    // The pixels that differ from the original picture, and whether each of
    // them is the original with its colour inverted and its alpha kept.
    RECT ChangedBox(bool* allInverted)
    {
        RECT box = {0, 0, 0, 0};
        *allInverted = true;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                DWORD p = host->Target()->GetPixel(x, y);
                if (p == Original(x, y)) continue;
                *allInverted = *allInverted && p == Inverted(x, y);
                RECT one = {x, y, x + 1, y + 1};
                UnionRect(&box, &box, &one);
            }
        return box;
    }
    static bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

    std::unique_ptr<ElementHost> host;
    SWindow* edit = nullptr;
};

TEST_F(SCaretTest, DefaultCaretInvertsAColumnAndASecondDrawRestores)
{
    SAutoRefPtr<SCaret> caret = AdoptRef(new SCaret(edit->GetSwnd(), nullptr, 1, 16));
    ASSERT_NE(nullptr, caret->GetImage());
    EXPECT_EQ(1u, caret->GetImage()->Width());
    EXPECT_EQ(16u, caret->GetImage()->Height());
    const DWORD* image = static_cast<const DWORD*>(caret->GetImage()->GetPixelBits());
    EXPECT_EQ(0xFF000000u, image[0]);  // opaque black without a bitmap
    EXPECT_EQ(0xFF000000u, image[15]);

    // 16 high from y 8: the panel's client area ends the edit at y 17.
    RECT changed = caret->Draw(host->Target(), 20, 8);
    EXPECT_TRUE(Same(RECT{20, 8, 21, 17}, changed));
    bool inverted = false;
    EXPECT_TRUE(Same(RECT{20, 8, 21, 17}, ChangedBox(&inverted)));
    EXPECT_TRUE(inverted) << "only the colour turns; the alpha stays";
    ASSERT_FALSE(host->Container().caretRects.empty());
    EXPECT_TRUE(Same(RECT{12, 7, 38, 17}, host->Container().caretRects.back()));

    caret->Draw(host->Target(), 20, 8);
    EXPECT_TRUE(Same(RECT{0, 0, 0, 0}, ChangedBox(&inverted))) << "the picture is back";
}

TEST_F(SCaretTest, OnlyTheVisiblePartIsInverted)
{
    struct Case {
        POINT at;
        RECT changed;
    } cases[] = {
        {{36, 9}, {36, 9, 38, 13}},  // half past the panel's right edge
        {{10, 5}, {12, 7, 14, 9}},   // above and left of the edit
        {{50, 9}, {0, 0, 0, 0}},     // inside the edit but outside the panel
        {{20, 30}, {0, 0, 0, 0}},    // below everything
    };
    SAutoRefPtr<SCaret> caret = AdoptRef(new SCaret(edit->GetSwnd(), nullptr, 4, 4));
    for (const Case& c : cases) {
        RECT changed = caret->Draw(host->Target(), c.at.x, c.at.y);
        EXPECT_TRUE(Same(c.changed, changed)) << c.at.x << "," << c.at.y;
        bool inverted = false;
        EXPECT_TRUE(Same(c.changed, ChangedBox(&inverted))) << c.at.x << "," << c.at.y;
        EXPECT_TRUE(inverted);
        caret->Draw(host->Target(), c.at.x, c.at.y);
        EXPECT_TRUE(Same(RECT{0, 0, 0, 0}, ChangedBox(&inverted)));
    }
}

TEST_F(SCaretTest, BitmapIsStretchedOverTheImage)
{
    // Two pixels, red and blue, become two 2x2 halves.
    const DWORD pixels[2] = {0x00FF0000, 0x000000FF};
    HBITMAP bitmap = CreateBitmap(2, 1, 1, 32, pixels);
    ASSERT_NE(nullptr, bitmap);
    SAutoRefPtr<SCaret> caret = AdoptRef(new SCaret(edit->GetSwnd(), bitmap, 4, 2));
    DeleteObject(bitmap);
    ASSERT_NE(nullptr, caret->GetImage());
    const DWORD* image = static_cast<const DWORD*>(caret->GetImage()->GetPixelBits());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(pixels[x / 2], image[y * 4 + x] & 0xFFFFFF) << x << "," << y;
    // The image sets the size; drawing inverts, whatever the image holds.
    RECT changed = caret->Draw(host->Target(), 14, 8);
    EXPECT_TRUE(Same(RECT{14, 8, 18, 10}, changed));
    bool inverted = false;
    ChangedBox(&inverted);
    EXPECT_TRUE(inverted);
}

TEST_F(SCaretTest, GoneOwnerDrawsNothing)
{
    SAutoRefPtr<SCaret> caret = AdoptRef(new SCaret(edit->GetSwnd(), nullptr, 2, 2));
    host->Find(L"panel")->DestroyWindow();
    RECT changed = caret->Draw(host->Target(), 20, 8);
    EXPECT_TRUE(IsRectEmpty(&changed));
    bool inverted = false;
    EXPECT_TRUE(Same(RECT{0, 0, 0, 0}, ChangedBox(&inverted)));
    EXPECT_TRUE(host->Container().caretRects.empty());
}

class SCaretAlone : public LeakChecked {};

TEST_F(SCaretAlone, NoImageWithoutARenderFactory)
{
    SApplication app(nullptr, GetModuleHandleW(nullptr), L"WUIHOST");
    SWindow* owner = new SWindow;
    SAutoRefPtr<SCaret> caret = AdoptRef(new SCaret(owner->GetSwnd(), nullptr, 1, 16));
    EXPECT_EQ(nullptr, caret->GetImage());
    IRenderFactory* factory = nullptr;
    CreateRenderFactory_GDI(&factory);
    IRenderTarget* rt = nullptr;
    factory->CreateRenderTarget(&rt, 8, 8);
    RECT changed = caret->Draw(rt, 0, 0);
    EXPECT_TRUE(IsRectEmpty(&changed));
    EXPECT_EQ(0u, rt->GetPixel(0, 0));
    rt->Release();
    factory->Release();
    owner->Release();
}

}  // namespace
