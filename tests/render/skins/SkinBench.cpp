// Speed of the skin and font pools and of skin drawing, each against a
// plain baseline run beside it. Prints figures; asserts nothing.
#include <chrono>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/SApplication.h"
#include "render/BitmapColor.h"
#include "render/SFontPool.h"
#include "render/SSkinImgList.h"
#include "render/SSkinPool.h"
#include "render/IImgDecoder.h"
#include "support/BenchClock.h"

using namespace WUI;

namespace {

template <class F>
double Seconds(F&& f)
{
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void Report(const char* what, double ours, double base)
{
    printf("%-44s %9.3f ms  baseline %9.3f ms  ratio %6.2f\n", what, ours * 1e3, base * 1e3, base > 0 ? ours / base : 0.0);
}

volatile uintptr_t g_sink;

void FontLookups(IRenderFactory* factory)
{
    SFontPool pool(factory);
    std::vector<SStringW> descs;
    std::unordered_map<std::wstring, IFont*> plain;
    for (int i = 0; i < 50; ++i) {
        wchar_t buf[64];
        swprintf(buf, 64, L"face:arial,size:%d,bold:%d", 8 + i % 25, i & 1);
        descs.push_back(SStringW(buf));
        plain[buf] = pool.GetFontByDescription(descs.back());
    }
    const int rounds = 400;
    double ours = Seconds([&] {
        for (int r = 0; r < rounds; ++r)
            for (auto& d : descs) g_sink = uintptr_t(pool.GetFontByDescription(d));
    });
    // Baseline: the lower-cased description looked up in a standard map.
    double base = Seconds([&] {
        for (int r = 0; r < rounds; ++r)
            for (auto& d : descs) {
                std::wstring key(d.c_str());
                for (auto& c : key) c = towlower(c);
                g_sink = uintptr_t(plain.find(key)->second);
            }
    });
    Report("font by description (20000 lookups)", ours, base);
}

void SkinLookups(SApplication& app)
{
    SSkinPoolMgr* mgr = SSkinPoolMgr::GetSingletonPtr();
    std::vector<SAutoRefPtr<SSkinPool>> pools;
    std::unordered_map<std::wstring, ISkinObj*> plain;
    std::vector<SStringW> names;
    for (int p = 0; p < 3; ++p) {
        std::wstring xml = L"<skin>";
        for (int i = 0; i < 200; ++i) xml += L"<colorrect name='skin" + std::to_wstring(p) + L"." + std::to_wstring(i) + L"'/>";
        xml += L"</skin>";
        pugi::xml_document doc;
        doc.load_string(xml.c_str());
        SAutoRefPtr<SSkinPool> pool;
        pool.Attach(new SSkinPool);
        pool->LoadSkins(doc.first_child());
        mgr->PushSkinPool(pool.get());
        pools.push_back(pool);
        for (int i = 0; i < 200; ++i) {
            std::wstring n = L"skin" + std::to_wstring(p) + L"." + std::to_wstring(i);
            names.push_back(SStringW(n.c_str()));
            plain[n] = pool->GetSkin(names.back());
        }
    }
    const int rounds = 50;
    double ours = Seconds([&] {
        for (int r = 0; r < rounds; ++r)
            for (auto& n : names) g_sink = uintptr_t(mgr->FindSkinByName(n));
    });
    double base = Seconds([&] {
        for (int r = 0; r < rounds; ++r)
            for (auto& n : names) g_sink = uintptr_t(plain.find(std::wstring(n.c_str()))->second);
    });
    Report("skin by name over 3 pools (30000 lookups)", ours, base);
    for (auto& p : pools) mgr->PopSkinPool(p.get());
    (void)app;
}

IBitmap* Image(IRenderFactory* factory, int w, int h)
{
    std::vector<DWORD> px(size_t(w) * h);
    for (size_t i = 0; i < px.size(); ++i) px[i] = 0xFF000000 | DWORD(i * 2654435761u >> 8);
    IBitmap* b = nullptr;
    factory->CreateBitmap(&b);
    b->Init(w, h, px.data());
    return b;
}

void Drawing(SApplication& app, IRenderFactory* factory)
{
    IRenderTarget* rt = nullptr;
    factory->CreateRenderTarget(&rt, 200, 100);
    SAutoRefPtr<IBitmap> img;
    img.Attach(Image(factory, 256, 64));
    SAutoRefPtr<SSkinImgList> skin;
    skin.Attach(static_cast<SSkinImgList*>(app.CreateSkin(SStringW(L"imglist"))));
    skin->SetStates(4);
    skin->SetImage(img.get());
    RECT dest{0, 0, 128, 64}, cell{64, 0, 128, 64};
    const int rounds = 300;
    double ours = Seconds([&] {
        for (int r = 0; r < rounds; ++r) skin->Draw(rt, &dest, 1);
    });
    double base = Seconds([&] {
        for (int r = 0; r < rounds; ++r) rt->DrawBitmapEx(&dest, img.get(), &cell, 1, 255);
    });
    Report("image skin draw, stretched (300 draws)", ours, base);

    SAutoRefPtr<IBitmap> plainImg;
    plainImg.Attach(Image(factory, 256, 64));
    const COLORREF targets[2] = {0xFF0000FF, 0xFFFF0000};
    ours = Seconds([&] {
        for (int r = 0; r < 40; ++r) skin->OnColorize(targets[r & 1]);
    });
    base = Seconds([&] {
        for (int r = 0; r < 40; ++r) ColorizeBitmap(plainImg.get(), targets[r & 1]);
    });
    Report("colourise 256x64 from the original (40x)", ours, base);
    rt->Release();
}

}  // namespace

int main()
{
    printf("Skins and pools under Wine; %s\n", bench::ExecutionNote());
    IRenderFactory* factory = nullptr;
    if (!CreateRenderFactory_GDI(&factory) || !factory) return 1;
    {
        SApplication app(factory, GetModuleHandleW(nullptr), L"WUIHOST");
        FontLookups(factory);
        SkinLookups(app);
        Drawing(app, factory);
    }
    factory->Release();
    return 0;
}
