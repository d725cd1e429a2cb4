// Speed of element painting and hit testing: a tree of 1,000 elements with
// background skins on an 800x600 memory target, painted whole and over one
// invalidated 50x50 rectangle, and searched for the element under a point;
// each against plain GDI doing the same rectangles in the same run. Figures only.
#include "element/ElementHost.h"
#include "render/GdiHandles.h"
#include "render/IImgDecoder.h"
#include "render/ISkinObj.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/BenchClock.h"

using namespace WUI;
using namespace elemtest;

namespace {

const int kWidth = 800, kHeight = 600;
const int kRows = 20, kCellsPerRow = 49;  // 20 rows + 980 cells = 1,000 elements
const RECT kDirty = {375, 275, 425, 325};
const int kPaintsPerRun = 20;
const int kPoints = 10000;

volatile long g_sink;

// A 24x24 image skin: a frame 4 pixels wide around a lighter middle.
bool MakeCellImage(IRenderFactory* factory, const wchar_t* file)
{
    IRenderTarget* rt = nullptr;
    if (!factory->CreateRenderTarget(&rt, 24, 24) || !rt) return false;
    const RECT all = {0, 0, 24, 24}, middle = {4, 4, 20, 20};
    rt->ClearRect(&all, 0xFF806040);
    rt->ClearRect(&middle, 0xFFC0A080);
    auto* bitmap = static_cast<IBitmap*>(rt->GetCurrentObject(OT_BITMAP));
    const bool saved = bitmap && bitmap->Save(file, nullptr) == S_OK;
    rt->Release();
    return saved;
}

// skinned: the rows and cells carry their skins; else the same tree bare.
std::wstring TreeLayout(bool skinned)
{
    std::wstring xml = L"<root>";
    wchar_t buf[96];
    const wchar_t* row = skinned ? L"skin='row'" : L"";
    const wchar_t* cell = skinned ? L"skin='cell'" : L"";
    for (int r = 0; r < kRows; ++r) {
        swprintf(buf, 96, L"<window %ls pos='0,%d,@%d,@%d'>", row, r * 30, kWidth, 30);
        xml += buf;
        for (int c = 0; c < kCellsPerRow; ++c) {
            swprintf(buf, 96, L"<window %ls pos='%d,2,@14,@26'/>", cell, 8 + c * 16);
            xml += buf;
        }
        xml += L"</window>";
    }
    return xml + L"</root>";
}

// Every element's window rect in paint order, the root first.
void CollectRects(SWindow* w, std::vector<RECT>& rects)
{
    rects.push_back(w->GetWindowRect());
    for (SWindow* c = w->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING)) CollectRects(c, rects);
}

// The plain counterpart: a DIB section in a memory DC, one solid fill per rectangle.
class PlainCanvas {
public:
    PlainCanvas() : m_dib(CreateDib32(kWidth, kHeight, &m_bits)), m_dc(nullptr), m_select(m_dc.Get(), m_dib.Get()),
                    m_brush(CreateSolidBrush(RGB(128, 96, 64))) {}
    // Fills the rectangles that meet clip (null: all), clipped to it.
    void Fill(const std::vector<RECT>& rects, const RECT* clip)
    {
        HDC dc = m_dc.Get();
        int saved = SaveDC(dc);
        if (clip) IntersectClipRect(dc, clip->left, clip->top, clip->right, clip->bottom);
        RECT common;
        for (const RECT& rc : rects)
            if (!clip || IntersectRect(&common, &rc, clip)) FillRect(dc, &rc, m_brush.Get());
        RestoreDC(dc, saved);
    }

private:
    void* m_bits = nullptr;
    GdiObject<HBITMAP> m_dib;
    MemoryDC m_dc;
    SelectedObject m_select;
    GdiObject<HBRUSH> m_brush;
};

// Best of three runs of kPaintsPerRun calls, per call in ms.
template <class F>
double PerPaintMs(F f)
{
    return bench::BestOfThreeMs([&] {
               for (int i = 0; i < kPaintsPerRun; ++i) f();
           }) /
           kPaintsPerRun;
}

void Aim(const char* what, double got, double aim, const char* unit)
{
    std::printf("  %-26s %10.3f %s   aim under %g %s: %s\n", what, got, unit, aim, unit, got < aim ? "met" : "missed");
}

}  // namespace

int main()
{
    std::printf("Element paint and hit-test benchmark under Wine; %s.\n"
                "A tree of %d elements (%d skinned rows of %d image-skinned cells) on an %dx%d memory target.\n"
                "Baselines: plain GDI solid fills of the same rectangles on a DIB section; a reverse scan of\n"
                "the same rectangles for the topmost one under the point.\n\n",
                bench::ExecutionNote(), kRows * (kCellsPerRow + 1), kRows, kCellsPerRow, kWidth, kHeight);
    ElementHost host(kWidth, kHeight);
    IRenderFactory* factory = host.App().GetRenderFactory();
    IImgDecoderFactory* decoders = nullptr;
    if (!CreateImgDecoderFactory(L"imgdecoder-png", &decoders) || !decoders) return 1;
    factory->SetImgDecoderFactory(decoders);
    decoders->Release();
    if (!MakeCellImage(factory, L"bench_cell.png")) {
        std::printf("could not write the cell image\n");
        return 1;
    }
    host.AddSkins(L"<skin><imgframe name='cell' src='file:bench_cell.png' margin='4'/>"
                  L"<colorrect name='row' normal='#404040'/></skin>");
    host.Load(TreeLayout(true).c_str());
    std::vector<RECT> rects;
    for (SWindow* c = host.Root()->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING)) CollectRects(c, rects);
    std::printf("elements painted: %u\n\n", static_cast<unsigned>(rects.size()));

    IRenderTarget* rt = host.Target();
    PlainCanvas plain;
    const double full = PerPaintMs([&] { host.Root()->RedrawRegion(rt, nullptr); });
    const double fullPlain = PerPaintMs([&] { plain.Fill(rects, nullptr); });
    IRegion* dirty = nullptr;
    factory->CreateRegion(&dirty);
    dirty->CombineRect(&kDirty, RGN_COPY);
    // As the host does: the target clipped to the invalid rectangle.
    const double partial = PerPaintMs([&] {
        rt->PushClipRect(&kDirty, RGN_COPY);
        host.Root()->RedrawRegion(rt, dirty);
        rt->PopClip();
    });
    const double partialPlain = PerPaintMs([&] { plain.Fill(rects, &kDirty); });
    dirty->Release();

    std::vector<POINT> points(kPoints);
    std::srand(13);
    for (POINT& pt : points) pt = POINT{std::rand() % kWidth, std::rand() % kHeight};
    const double hits = bench::BestOfThreeMs([&] {
        for (const POINT& pt : points) g_sink = g_sink + host.Root()->SwndFromPoint(pt);
    });
    const double hitsPlain = bench::BestOfThreeMs([&] {
        for (const POINT& pt : points) {
            size_t i = rects.size();
            while (i-- > 0 && !PtInRect(&rects[i], pt)) {
            }
            g_sink = g_sink + static_cast<long>(i);
        }
    });

    // Where the time goes: the same walk without skins, and the skins drawn
    // straight onto the target without the tree.
    ElementHost bare(kWidth, kHeight);
    bare.Load(TreeLayout(false).c_str());
    const double walk = PerPaintMs([&] { bare.Root()->RedrawRegion(bare.Target(), nullptr); });
    std::vector<ISkinObj*> skins;
    for (SWindow* r = host.Root()->GetWindow(GSW_FIRSTCHILD); r; r = r->GetWindow(GSW_NEXTSIBLING)) {
        skins.push_back(r->GetBkgndSkin());
        for (SWindow* c = r->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING)) skins.push_back(c->GetBkgndSkin());
    }
    const double skinsAlone = PerPaintMs([&] {
        for (size_t i = 0; i < rects.size(); ++i) skins[i]->Draw(rt, &rects[i], 0);
    });

    bench::Report("full paint (per paint)", full, "plain fills", fullPlain);
    bench::Report("  of it: skins drawn alone", skinsAlone, "plain fills", fullPlain);
    bench::Report("  of it: the walk, no skins", walk, "plain fills", fullPlain);
    bench::Report("50x50 repaint (per paint)", partial, "plain clipped fills", partialPlain);
    bench::Report("SwndFromPoint x10000", hits, "reverse rect scan", hitsPlain);
    std::printf("\nAims:\n");
    Aim("full paint", full, 8, "ms");
    Aim("partial repaint", partial, 1, "ms");
    Aim("hit test", hits * 1000 / kPoints, 20, "us");
    return 0;
}
