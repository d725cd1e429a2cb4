// Speed of the application core's lookups, each printed as a ratio against a
// plain baseline doing the same work in the same run. Figures only; no target.
#include "core/SApplication.h"
#include "core/SResProviderMgr.h"
#include "core/SResProviderPE.h"
#include "core/STranslator.h"
#include "core/SWindowFinder.h"
#include "core/SWindowMgr.h"
#include "render/IImgDecoder.h"
#include "render/IRenderTarget.h"
#include "../TestSwnd.h"

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/BenchClock.h"

using namespace WUI;

namespace {

volatile size_t g_sink;

// 1000 searches for elements deep in a tree of 40 x 50 elements.
void Finder()
{
    SWindowMgr mgr;
    SWindowFinder finder;
    auto root = AdoptRef(new SWindow);
    for (int i = 0; i < 40; ++i) {
        SWindow *group = AddChild(root, 1000 + i);
        for (int j = 0; j < 50; ++j)
            AddChild(group, i * 100 + j);
    }
    const int n = 1000;
    double ours = bench::BestOfThreeMs([&] {
        for (int k = 0; k < n; ++k)
            g_sink = g_sink + (finder.FindChildByID(root, 3900 + k % 50, -1) != nullptr);
    });
    double base = bench::BestOfThreeMs([&] {
        for (int k = 0; k < n; ++k)
            g_sink = g_sink + (root->FindChildByID(3900 + k % 50, -1) != nullptr);
    });
    bench::Report("finder, 1000 deep finds", ours, "tree search each time", base);
}

// 20000 look-ups of a resource through the manager, against FindResourceW itself.
void Resources()
{
    SResProviderMgr mgr;
    SAutoRefPtr<IResProvider> pe;
    pe.Attach(new SResProviderPE);
    pe->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
    mgr.AddResProvider(pe.get());
    const int n = 20000;
    double ours = bench::BestOfThreeMs([&] {
        for (int k = 0; k < n; ++k)
            g_sink = g_sink + mgr.GetRawBufferSize(L"LAYOUT", L"XML_MAINWND");
    });
    double base = bench::BestOfThreeMs([&] {
        for (int k = 0; k < n; ++k)
            g_sink = g_sink + SizeofResource(nullptr, FindResourceW(nullptr, L"XML_MAINWND", L"LAYOUT"));
    });
    bench::Report("provider manager, 20000 sizes", ours, "FindResourceW", base);
}

// 2000 images through the application's providers, against the same bytes
// handed to a bitmap of the same render factory.
void Images()
{
    IRenderFactory *factory = nullptr;
    IImgDecoderFactory *decoders = nullptr;
    CreateRenderFactory_GDI(&factory);
    CreateImgDecoderFactory(L"imgdecoder-stb", &decoders);
    factory->SetImgDecoderFactory(decoders);
    decoders->Release();
    {
        SApplication app(factory, GetModuleHandleW(nullptr), L"WUIBENCH");
        SAutoRefPtr<IResProvider> pe;
        pe.Attach(new SResProviderPE);
        pe->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
        app.AddResProvider(pe.get());
        HRSRC res = FindResourceW(nullptr, L"REDBLUE", L"PNG");
        const void *bytes = LockResource(LoadResource(nullptr, res));
        const DWORD size = SizeofResource(nullptr, res);
        const int n = 2000;
        double ours = bench::BestOfThreeMs([&] {
            for (int k = 0; k < n; ++k) {
                IBitmap *b = app.LoadImageById(L"PNG:REDBLUE");
                g_sink = g_sink + b->Width();
                b->Release();
            }
        });
        double base = bench::BestOfThreeMs([&] {
            for (int k = 0; k < n; ++k) {
                IBitmap *b = nullptr;
                factory->CreateBitmap(&b);
                b->LoadFromMemory(bytes, size);
                g_sink = g_sink + b->Width();
                b->Release();
            }
        });
        bench::Report("provider images, 2000 loads", ours, "bitmap from the bytes", base);
    }
    factory->Release();
}

// 20000 translations out of 2000 texts, against a std::map of the same texts.
void Translations()
{
    std::wstring xml = L"<language name='b' guid='{11111111-2222-3333-4444-555555555555}'><context name='dlg'>";
    std::map<std::wstring, std::wstring> plain;
    for (int i = 0; i < 2000; ++i) {
        std::wstring s = L"text " + std::to_wstring(i), t = L"Text " + std::to_wstring(i);
        xml += L"<message><source>" + s + L"</source><translation>" + t + L"</translation></message>";
        plain[s] = t;
    }
    xml += L"</context></language>";
    pugi::xml_document doc;
    doc.load_string(xml.c_str());
    pugi::xml_node lang = doc.first_child();
    SAutoRefPtr<ITranslatorMgr> mgr;
    ITranslatorMgr *raw = nullptr;
    CreateTranslatorMgr(&raw);
    mgr.Attach(raw);
    ITranslator *t = nullptr;
    mgr->CreateTranslator(&t);
    t->Load(&lang, 1);
    mgr->InstallTranslator(t);
    t->Release();
    std::vector<SStringW> keys;
    std::vector<std::wstring> plainKeys;
    for (int i = 0; i < 2000; ++i) {
        keys.push_back(SStringW((L"text " + std::to_wstring(i)).c_str()));
        plainKeys.push_back(L"text " + std::to_wstring(i));
    }
    const int n = 20000;
    const SStringW dlg(L"dlg");
    double ours = bench::BestOfThreeMs([&] {
        for (int k = 0; k < n; ++k)
            g_sink = g_sink + mgr->Translate(keys[k % 2000], dlg).GetLength();
    });
    double base = bench::BestOfThreeMs([&] {
        for (int k = 0; k < n; ++k)
            g_sink = g_sink + plain.find(plainKeys[k % 2000])->second.size();
    });
    bench::Report("translator, 20000 texts", ours, "std::map lookup", base);
}

} // namespace

int main()
{
    std::printf("Application core benchmark under Wine; %s\n", bench::ExecutionNote());
    Finder();
    Resources();
    Images();
    Translations();
    return 0;
}
