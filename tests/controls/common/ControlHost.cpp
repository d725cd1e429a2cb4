#include "common/ControlHost.h"

#include "controls/CommonControls.h"
#include "core/IResProvider.h"
#include "core/SMessageBoxTemplate.h"
#include "render/IImgDecoder.h"
#include "render/SFontPool.h"
#include "render/SSkinImgList.h"
#include "render/SSkinPool.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace ctltest {

using namespace WUI;

bool ControlHost::RegisterControls()
{
    return SWindowFactoryMgr::AddStandardFactories(&RegisterCommonControls);
}

// Images decode as in the programs, through GDI+.
ControlHost::ControlHost(int width, int height, bool systemSkins) : m_host(width, height)
{
    IImgDecoderFactory* decoders = nullptr;
    if (CreateImgDecoderFactory(L"imgdecoder-gdip", &decoders) && decoders) {
        App().GetRenderFactory()->SetImgDecoderFactory(decoders);
        decoders->Release();
    }
    if (systemSkins) {
        IResProvider* pe = nullptr;
        if (CreateResProvider(0, &pe) && pe) {
            pe->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
            App().LoadSystemResources(pe);
            pe->Release();
        }
    }
    IRenderTarget* made = nullptr;
    App().GetRenderFactory()->CreateRenderTarget(&made, width, height);
    m_target.Attach(made);
}

// The system resources installed a process-wide message-box template.
ControlHost::~ControlHost()
{
    ReleaseGlobalMsgBoxTemplate();
}

void ControlHost::AddSkins(const wchar_t* xml)
{
    pugi::xml_document doc;
    if (!doc.load_string(xml)) return;
    SSkinPool* pool = new SSkinPool;
    pool->LoadSkins(doc.document_element());
    SSkinPoolMgr::GetSingletonPtr()->PushSkinPool(pool);
    pool->Release();
}

void ControlHost::AddStripSkin(const wchar_t* name, std::initializer_list<DWORD> colors, int w, int h)
{
    const int states = static_cast<int>(colors.size());
    std::vector<DWORD> pixels(static_cast<size_t>(w) * states * h);
    int state = 0;
    for (DWORD color : colors) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w * states + state * w + x] = color;
        ++state;
    }
    IBitmap* bitmap = nullptr;
    App().GetRenderFactory()->CreateBitmap(&bitmap);
    bitmap->Init(w * states, h, pixels.data());
    auto* skin = static_cast<SSkinImgList*>(App().CreateSkin(L"imglist"));
    skin->SetImage(bitmap);
    skin->SetStates(states);
    bitmap->Release();
    SSkinPool* pool = new SSkinPool;
    pool->InsertIfAbsent(name, skin);  // the pool takes the skin's reference
    SSkinPoolMgr::GetSingletonPtr()->PushSkinPool(pool);
    pool->Release();
}

void ControlHost::Click(int x, int y)
{
    m_host.Mouse(WM_MOUSEMOVE, x, y);
    m_host.Mouse(WM_LBUTTONDOWN, x, y);
    m_host.Mouse(WM_LBUTTONUP, x, y);
}

LRESULT ControlHost::Key(UINT vk, bool ctrl, BOOL* handled)
{
    return m_host.Key(vk, ctrl, false, false, handled);
}

LRESULT ControlHost::KeyUp(UINT vk, BOOL* handled)
{
    return m_host.Send(WM_KEYUP, vk, 0xC0000001, handled);
}

void ControlHost::Ticks(int n)
{
    for (int i = 0; i < n; ++i) Container().OnNextFrame();
}

int ControlHost::TakeHostEvents(int id)
{
    std::vector<int>& events = Container().hostEvents;
    int n = 0;
    for (int e : events) n += e == id;
    events.clear();
    return n;
}

// The font the programs' text starts from: the pool's default.
void ControlHost::Paint()
{
    const RECT all = {0, 0, 0x7FFF, 0x7FFF};
    m_target->ClearRect(&all, 0xFFFFFFFF);
    if (IFont* font = SFontPool::GetSingletonPtr()->GetDefaultFont()) m_target->SelectObject(font, nullptr);
    Container().RedrawRegion(m_target, nullptr);
}

int ControlHost::Inked(const RECT& rc)
{
    return static_cast<int>((rc.right - rc.left) * (rc.bottom - rc.top)) - Count(rc, 0xFFFFFFFF);
}

int ControlHost::Count(const RECT& rc, DWORD color)
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) n += Px(x, y) == color;
    return n;
}

void ControlHost::SavePicture(const wchar_t* file)
{
    // The PNG decoder saves; the one in use comes back afterwards.
    IRenderFactory* factory = App().GetRenderFactory();
    SAutoRefPtr<IImgDecoderFactory> inUse(factory->GetImgDecoderFactory());
    IImgDecoderFactory* png = nullptr;
    if (!CreateImgDecoderFactory(L"imgdecoder-png", &png) || !png) return;
    factory->SetImgDecoderFactory(png);
    png->Release();
    auto* bitmap = static_cast<IBitmap*>(m_target->GetCurrentObject(OT_BITMAP));
    const HRESULT saved = bitmap ? bitmap->Save(file, nullptr) : E_FAIL;
    factory->SetImgDecoderFactory(inUse);
    EXPECT_EQ(S_OK, saved) << "saving the picture";
}

bool Near(DWORD got, DWORD want, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

}  // namespace ctltest
