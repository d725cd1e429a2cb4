// Skin factories by tag, skin pools and their manager, and the built-in skins
// loaded from this executable's resources.
#include "SkinTestUtil.h"

#include <algorithm>
#include <cstdlib>

#include "core/IResProvider.h"
#include "render/SFontPool.h"
#include "render/SSkinButton.h"
#include "render/SSkinImgList.h"
#include "render/SSkinScrollbar.h"
#include "render/SSkinPool.h"
#include "render/SStylePool.h"

using namespace WUI;
using namespace skintest;

namespace {

// Records every attribute it is given.
class ProbeSkin : public SSkinObjBase {
    WUI_CLASS_NAME(ProbeSkin, SSkinObjBase, L"probe")
public:
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override
    {
        seen += name + L"=" + value + L";";
        return SSkinObjBase::SetAttribute(name, value, loading);
    }
    SStringW seen;

protected:
    void OnDraw(IRenderTarget*, const RECT&, DWORD, BYTE) override {}
};

class SkinFactoryTest : public SkinTest {};

TEST_F(SkinFactoryTest, StandardTagsDuplicatesAndClones)
{
    for (const wchar_t* tag : {L"imglist", L"imgframe", L"button", L"gradation", L"scrollbar", L"colorrect"}) {
        SAutoRefPtr<ISkinObj> skin;
        skin.Attach(app.CreateSkin(SStringW(tag)));
        ASSERT_NE(nullptr, skin.get()) << tag;
        EXPECT_STREQ(tag, skin->GetClassName());
    }
    EXPECT_EQ(nullptr, app.CreateSkin(SStringW(L"IMGLIST")));
    EXPECT_EQ(nullptr, app.CreateSkin(SStringW(L"vscrollbar")));
    EXPECT_EQ(nullptr, app.CreateSkin(SStringW()));
    EXPECT_FALSE(app.RegisterFactory(TplSkinFactory<SSkinImgList>()));

    {
        TplSkinFactory<ProbeSkin> onStack;  // the manager keeps a clone, not this one
        EXPECT_TRUE(app.RegisterFactory(onStack));
        EXPECT_FALSE(app.RegisterFactory(onStack));
    }
    SAutoRefPtr<ISkinObj> probe;
    probe.Attach(app.CreateSkin(SStringW(L"probe")));
    ASSERT_NE(nullptr, probe.get());
    EXPECT_TRUE(probe->IsClass(L"probe"));
    EXPECT_TRUE(app.UnregisterFactory(SStringW(L"probe")));
    EXPECT_FALSE(app.UnregisterFactory(SStringW(L"probe")));
    EXPECT_EQ(nullptr, app.CreateSkin(SStringW(L"probe")));
}

class SkinPoolTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        app.RegisterFactory(TplSkinFactory<ProbeSkin>());
    }
    static SAutoRefPtr<SSkinPool> Load(const wchar_t* xml, int* created = nullptr)
    {
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_string(xml));
        SAutoRefPtr<SSkinPool> pool;
        pool.Attach(new SSkinPool);
        int n = pool->LoadSkins(doc.first_child());
        if (created) *created = n;
        return pool;
    }
};

TEST_F(SkinPoolTest, LoadingSkipsNamelessAndUnknownAndKeepsTheFirst)
{
    int created = 0;
    auto pool = Load(L"<skin><probe name='a' x='1'/><probe Name='a' x='2'/><nosuch name='b'/><probe x='3'/>"
                     L"<probe name=''/><colorrect name='c' normal='#FF0000'/><!-- note --></skin>",
                     &created);
    EXPECT_EQ(3, created);
    EXPECT_EQ(2u, pool->GetCount());
    auto* a = static_cast<ProbeSkin*>(pool->GetSkin(SStringW(L"a")));
    ASSERT_NE(nullptr, a);
    EXPECT_STREQ(L"x=1;", a->seen.c_str());
    EXPECT_NE(nullptr, pool->GetSkin(SStringW(L"c")));
    EXPECT_EQ(nullptr, pool->GetSkin(SStringW(L"A")));
    EXPECT_EQ(nullptr, pool->GetSkin(SStringW(L"b")));

    SSkinPool empty;
    EXPECT_EQ(0, empty.LoadSkins(pugi::xml_node()));
}

TEST_F(SkinPoolTest, NewestPoolFirstAndTheBuiltinPoolProtected)
{
    SSkinPoolMgr* mgr = SSkinPoolMgr::GetSingletonPtr();
    ASSERT_NE(nullptr, mgr);
    ASSERT_EQ(1, mgr->GetPoolCount());
    pugi::xml_document doc;
    doc.load_string(L"<skin><probe name='shared' v='builtin'/></skin>");
    mgr->GetBuiltinPool()->LoadSkins(doc.first_child());

    auto older = Load(L"<skin><probe name='shared' v='older'/><probe name='only.older'/></skin>");
    auto newer = Load(L"<skin><probe name='shared' v='newer'/></skin>");
    mgr->PushSkinPool(older.get());
    mgr->PushSkinPool(newer.get());
    EXPECT_EQ(2, older->AddRef() - 1);
    older->Release();
    auto seen = [&](const wchar_t* name) {
        auto* s = static_cast<ProbeSkin*>(mgr->FindSkinByName(SStringW(name)));
        return s ? SStringW(s->seen) : SStringW(L"none");
    };
    EXPECT_STREQ(L"v=newer;", seen(L"shared").c_str());
    EXPECT_STREQ(L"", seen(L"only.older").c_str());
    EXPECT_STREQ(L"none", seen(L"missing").c_str());

    EXPECT_EQ(nullptr, mgr->PopSkinPool(mgr->GetBuiltinPool()));
    SSkinPool stranger;
    EXPECT_EQ(nullptr, mgr->PopSkinPool(&stranger));
    EXPECT_EQ(older.get(), mgr->PopSkinPool(older.get()));
    EXPECT_STREQ(L"none", seen(L"only.older").c_str());
    EXPECT_EQ(newer.get(), mgr->PopSkinPool(nullptr));
    EXPECT_STREQ(L"v=builtin;", seen(L"shared").c_str());
    EXPECT_EQ(nullptr, mgr->PopSkinPool(nullptr));
    EXPECT_EQ(1, mgr->GetPoolCount());
    EXPECT_NE(nullptr, mgr->FindSkinByName(SStringW(L"shared")));
    // Popping released the manager's references.
    EXPECT_EQ(1, older->AddRef() - 1);
    older->Release();
}

TEST_F(SkinPoolTest, BuiltinSkinsFromTheSystemResources)
{
    IResProvider* pe = nullptr;
    ASSERT_TRUE(CreateResProvider(0, &pe));
    pe->Init(WPARAM(GetModuleHandleW(nullptr)));
    EXPECT_EQ(0, app.LoadSystemResources(pe) & kMissingSysSkin);
    // The images were read while the provider was installed.
    SSkinPoolMgr* mgr = SSkinPoolMgr::GetSingletonPtr();
    const int states[kBuiltinSkinCount] = {8, 8, 1, 1, 4, 1, 2, 3, 6, 9, 3, 4, 1, 1, 1,
                                           1, 1, 1, 4, 3, 3, 3, 3, 3, 1, 2, 1, 2, 12, 1};
    for (int i = 0; i < kBuiltinSkinCount; ++i) {
        ISkinObj* skin = mgr->GetBuiltinSkin(i);
        ASSERT_NE(nullptr, skin) << BuiltinSkinName(i);
        EXPECT_EQ(skin, mgr->FindSkinByName(SStringW(BuiltinSkinName(i))));
        EXPECT_EQ(states[i], skin->GetStates()) << BuiltinSkinName(i);
        if (auto* img = sobj_cast<SSkinImgList>(skin)) {
            ASSERT_NE(nullptr, img->GetImage()) << BuiltinSkinName(i);
            SIZE cell = img->GetSkinSize();
            EXPECT_EQ(0u, img->GetImage()->Width() % states[i]) << BuiltinSkinName(i);
            // Every state paints something of its own.
            for (int s = 0; s < states[i]; ++s) {
                Clear();
                RECT r{0, 0, cell.cx, cell.cy};
                skin->Draw(rt, &r, DWORD(s));
                bool painted = false;
                for (int y = 0; y < cell.cy && !painted; ++y)
                    for (int x = 0; x < cell.cx && !painted; ++x) painted = (Px(x, y) >> 24) != 0;
                EXPECT_TRUE(painted) << BuiltinSkinName(i) << " state " << s;
            }
        }
    }
    EXPECT_EQ(nullptr, mgr->GetBuiltinSkin(-1));
    EXPECT_EQ(nullptr, mgr->GetBuiltinSkin(kBuiltinSkinCount));
    SIZE box = sobj_cast<SSkinImgList>(mgr->GetBuiltinSkin(0))->GetSkinSize();
    EXPECT_EQ(16, box.cx);
    EXPECT_EQ(16, box.cy);
    pe->Release();
}

// A premultiplied pixel blended over opaque white.
DWORD OverWhite(DWORD p)
{
    DWORD a = p >> 24, out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) out |= (((p >> shift) & 0xFF) + 255 - a) << shift;
    return out;
}

// A framework colour (red in the low byte) as the target stores it opaque.
DWORD Stored(COLORREF c)
{
    return 0xFF000000 | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

::testing::AssertionResult Near(DWORD want, DWORD got, int tol)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int(want >> shift & 0xFF) - int(got >> shift & 0xFF)) > tol)
            return ::testing::AssertionFailure() << std::hex << "want " << want << " got " << got;
    return ::testing::AssertionSuccess();
}

// Every built-in skin in each state at a size an element would give it, on a
// white sheet saved as "builtin_skins.png" for a look; then pixels of every
// state are checked against the skin's own image or colours, and the gaps
// between the states against the white beneath.
TEST_F(SkinPoolTest, BuiltinSkinSheet)
{
    IResProvider* pe = nullptr;
    ASSERT_TRUE(CreateResProvider(0, &pe));
    pe->Init(WPARAM(GetModuleHandleW(nullptr)));
    ASSERT_EQ(0, app.LoadSystemResources(pe) & kMissingSysSkin);
    pe->Release();
    IRenderTarget* made = nullptr;
    ASSERT_TRUE(fx.render->CreateRenderTarget(&made, 720, 30 * kBuiltinSkinCount));
    SAutoRefPtr<IRenderTarget> sheet;
    sheet.Attach(made);
    RECT all{0, 0, 720, 30 * kBuiltinSkinCount};
    sheet->FillSolidRect(&all, 0xFFFFFFFF);
    SSkinPoolMgr* mgr = SSkinPoolMgr::GetSingletonPtr();
    struct Drawn {
        ISkinObj* skin;
        DWORD state;
        RECT rect;
    };
    std::vector<Drawn> drawn;
    for (int i = 0; i < kBuiltinSkinCount; ++i) {
        ISkinObj* skin = mgr->GetBuiltinSkin(i);
        ASSERT_NE(nullptr, skin);
        SIZE natural = skin->GetSkinSize();
        bool frame = skin->IsClass(L"imgframe") || skin->IsClass(L"button");
        int w = frame ? 80 : (natural.cx ? natural.cx : 80), h = frame ? 26 : (natural.cy ? natural.cy : 26);
        if (h > 26) h = 26;
        int states = skin->GetStates() > 0 ? skin->GetStates() : 1;
        if (skin->IsClass(L"scrollbar")) {
            // Arrows, thumb and track of a vertical bar, then of a horizontal one.
            int x = 4;
            for (int vertical = 1; vertical >= 0; --vertical)
                for (int part : {SB_LINEUP, SB_LINEDOWN, SB_THUMBTRACK, SB_PAGEUP}) {
                    RECT r{x, i * 30 + 2, x + 16, i * 30 + 18};
                    skin->Draw(sheet.get(), &r, MakeSbState(part, 0, vertical != 0));
                    drawn.push_back({skin, MakeSbState(part, 0, vertical != 0), r});
                    x += 20;
                }
            continue;
        }
        for (int s = 0; s < states && 4 + s * (w + 6) + w <= 720; ++s) {
            RECT r{4 + s * (w + 6), i * 30 + 2, 4 + s * (w + 6) + w, i * 30 + 2 + h};
            skin->Draw(sheet.get(), &r, DWORD(s));
            drawn.push_back({skin, DWORD(s), r});
        }
    }
    IBitmap* bitmap = static_cast<IBitmap*>(sheet->GetCurrentObject(OT_BITMAP));
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(S_OK, bitmap->Save(L"builtin_skins.png", nullptr));

    int checked = 0;
    for (const Drawn& d : drawn) {
        const RECT& r = d.rect;
        const SStringW name = d.skin->GetName();
        // Beside each state lies the untouched sheet.
        EXPECT_EQ(0xFFFFFFFFu, sheet->GetPixel(r.right + 2, r.top)) << name.c_str() << " " << d.state;
        EXPECT_EQ(0xFFFFFFFFu, sheet->GetPixel(r.left, r.top - 1)) << name.c_str() << " " << d.state;
        if (auto* button = sobj_cast<SSkinButton>(d.skin)) {
            const SSkinButton::Colors& c = button->GetColors();
            int mid = (r.left + r.right) / 2;
            EXPECT_EQ(Stored(c.border), sheet->GetPixel(mid, r.top)) << name.c_str() << " " << d.state;
            EXPECT_TRUE(Near(Stored(c.up[d.state]), sheet->GetPixel(mid, r.top + 1), 1)) << d.state;
            EXPECT_TRUE(Near(Stored(c.down[d.state]), sheet->GetPixel(mid, r.bottom - 2), 4)) << d.state;
            ++checked;
            continue;
        }
        if (d.skin->IsClass(L"scrollbar")) {  // each part paints its middle
            EXPECT_NE(0xFFFFFFFFu, sheet->GetPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2)) << d.state;
            continue;
        }
        auto* list = sobj_cast<SSkinImgList>(d.skin);
        ASSERT_NE(nullptr, list) << name.c_str();
        IBitmap* image = list->GetImage();
        ASSERT_NE(nullptr, image) << name.c_str();
        const SIZE cell = list->GetSkinSize();
        const bool across = image->Width() > UINT(cell.cx);
        const DWORD* src = static_cast<const DWORD*>(image->GetPixelBits());
        auto cellPixel = [&](int x, int y) {
            int sx = across ? int(d.state) * cell.cx + x : x, sy = across ? y : int(d.state) * cell.cy + y;
            return src[size_t(sy) * image->Width() + sx];
        };
        if (auto* frame = sobj_cast<SSkinImgFrame>(d.skin)) {
            // Corners are drawn unscaled: the top-left one always, the
            // bottom-right one when both margins fit the rectangle.
            const RECT& m = frame->GetMargins();
            const int w = r.right - r.left, h = r.bottom - r.top;
            if (m.left > 0 && m.top > 0) {
                EXPECT_TRUE(Near(OverWhite(cellPixel(0, 0)), sheet->GetPixel(r.left, r.top), 1)) << name.c_str() << " " << d.state;
                ++checked;
            }
            if (m.right > 0 && m.bottom > 0 && m.left + m.right <= w && m.top + m.bottom <= h) {
                EXPECT_TRUE(Near(OverWhite(cellPixel(cell.cx - 1, cell.cy - 1)), sheet->GetPixel(r.right - 1, r.bottom - 1), 1))
                    << name.c_str() << " " << d.state;
                ++checked;
            }
            continue;
        }
        // Lists at their natural size: the state's cell, pixel for pixel.
        for (int y = 0; y < std::min<int>(cell.cy, r.bottom - r.top); ++y)
            for (int x = 0; x < cell.cx; ++x)
                ASSERT_TRUE(Near(OverWhite(cellPixel(x, y)), sheet->GetPixel(r.left + x, r.top + y), 1))
                    << name.c_str() << " state " << d.state << " at " << x << "," << y;
        ++checked;
    }
    EXPECT_GT(checked, 60);
}

// Skins, pools and fonts hold their memory through the framework's allocator:
// a full round of loading and tearing down leaves no block behind.
TEST(SkinAppTest, TearDownLeavesNoBlocks)
{
    rendertest::Factories fx;
    auto round = [&fx] {
        SApplication app(fx.render, GetModuleHandleW(nullptr), L"WUIHOST");
        IResProvider* pe = nullptr;
        ASSERT_TRUE(CreateResProvider(0, &pe));
        pe->Init(WPARAM(GetModuleHandleW(nullptr)));
        app.LoadSystemResources(pe);
        pe->Release();
        app.RegisterFactory(TplSkinFactory<ProbeSkin>());
        pugi::xml_document doc;
        doc.load_string(L"<x><skin><probe name='p' v='1'/><imglist name='i' src='PNG:SYS_RADIO'/></skin>"
                        L"<style><class name='c' a='1'/></style></x>");
        SAutoRefPtr<SSkinPool> skins;
        skins.Attach(new SSkinPool);
        skins->LoadSkins(doc.first_child().child(L"skin"));
        SSkinPoolMgr::GetSingletonPtr()->PushSkinPool(skins.get());
        SAutoRefPtr<SStylePool> styles;
        styles.Attach(new SStylePool);
        styles->LoadStyles(doc.first_child().child(L"style"));
        SStylePoolMgr::GetSingletonPtr()->PushStylePool(styles.get());
        SFontPool::GetSingletonPtr()->GetFontByDescription(SStringW(L"bold:1,glow:2"));
        SSkinPoolMgr::GetSingletonPtr()->GetBuiltinSkin(0)->OnColorize(0xFF0000FF);
    };
    round();  // first-use allocations of the libraries stay for the process
    const long before = MemLiveBlocks();
    round();
    EXPECT_EQ(before, MemLiveBlocks());
}

TEST(SkinAppTest, PoolsLiveWithTheApplication)
{
    {
        SApplication app(nullptr, GetModuleHandleW(nullptr), L"WUIHOST");
        EXPECT_NE(nullptr, SFontPool::GetSingletonPtr());
        EXPECT_NE(nullptr, SSkinPoolMgr::GetSingletonPtr());
        EXPECT_NE(nullptr, SStylePoolMgr::GetSingletonPtr());
        // Without a render factory no font can be made.
        EXPECT_EQ(nullptr, SFontPool::GetSingletonPtr()->GetFontByDescription(SStringW(L"bold:1")));
        IResProvider* empty = nullptr;
        ASSERT_TRUE(CreateResProvider(0, &empty));
        empty->Init(WPARAM(GetModuleHandleW(L"kernel32.dll")));
        EXPECT_EQ(kMissingSysSkin | kMissingEditMenu | kMissingMsgBox, app.LoadSystemResources(empty));
        EXPECT_EQ(0u, SSkinPoolMgr::GetSingletonPtr()->GetBuiltinPool()->GetCount());
        empty->Release();
    }
    EXPECT_EQ(nullptr, SFontPool::GetSingletonPtr());
    EXPECT_EQ(nullptr, SSkinPoolMgr::GetSingletonPtr());
    EXPECT_EQ(nullptr, SStylePoolMgr::GetSingletonPtr());
}

}  // namespace
