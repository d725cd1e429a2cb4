#include "element/ElementHost.h"

#include "core/AttrParse.h"
#include "core/SObjDefAttr.h"
#include "render/IImgDecoder.h"
#include "render/SSkinPool.h"
#include "render/SStylePool.h"

namespace elemtest {

SIZE StubElement::MeasureContent(const RECT* limit)
{
    ++measures;
    (void)limit;
    return content;
}

void StubElement::OnPosChanged(const RECT* oldRect, const RECT* newRect)
{
    ++posChanges;
    SWindow::OnPosChanged(oldRect, newRect);
}

HRESULT StubElement::SetAttribute(const WUI::SStringW& name, const WUI::SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"content") != 0) return SWindow::SetAttribute(name, value, loading);
    int n[2];
    if (WUI::AttrParseIntList(value, n, 2, 0, 0x7FFF) != 2) return E_FAIL;
    content = SIZE{n[0], n[1]};
    return S_FALSE;
}

ElementHost::ElementHost(int width, int height)
{
    WUI::CreateRenderFactory_GDI(&m_factory);
    m_app.reset(new WUI::SApplication(m_factory, GetModuleHandleW(nullptr), L"WUIHOST"));
    m_app->RegisterFactory<StubElement>();
    m_factory->CreateRenderTarget(&m_target, width, height);
    m_container.reset(new FakeContainer(m_target));
    m_container->containerRect = RECT{0, 0, width, height};
    m_root = new WUI::SWindow;
    m_root->SetContainer(m_container.get());
    m_container->root = m_root;
    const RECT rc = {0, 0, width, height};
    m_root->Move(&rc);
}

ElementHost::~ElementHost()
{
    m_root->DestroyWindow();  // takes the root's own reference
    m_container.reset();
    if (m_target) m_target->Release();
    m_app.reset();
    m_factory->Release();
}

WUI::SWindow* ElementHost::Load(const wchar_t* xml)
{
    WUI::SWindow* last = m_root->CreateChildrenFromString(xml);
    Layout();
    return last;
}

void ElementHost::Layout()
{
    m_root->UpdateLayout();
}

WUI::SWindow* ElementHost::Find(const wchar_t* name)
{
    return m_root->FindChildByName(name, -1);
}

StubElement* ElementHost::Stub(const wchar_t* name)
{
    return WUI::sobj_cast<StubElement>(Find(name));
}

namespace {

// Loads a pool of Pool from the XML and pushes it onto the manager.
template <class Pool, class Mgr>
void PushPool(const wchar_t* xml, int (Pool::*load)(pugi::xml_node), void (Mgr::*push)(Pool*))
{
    pugi::xml_document doc;
    if (!doc.load_string(xml)) return;
    Pool* pool = new Pool;
    (pool->*load)(doc.document_element());
    (Mgr::GetSingletonPtr()->*push)(pool);
    pool->Release();
}

}  // namespace

void ElementHost::AddStyles(const wchar_t* xml)
{
    PushPool(xml, &WUI::SStylePool::LoadStyles, &WUI::SStylePoolMgr::PushStylePool);
}

void ElementHost::AddSkins(const wchar_t* xml)
{
    PushPool(xml, &WUI::SSkinPool::LoadSkins, &WUI::SSkinPoolMgr::PushSkinPool);
}

bool ElementHost::SetDefaults(const wchar_t* xml)
{
    pugi::xml_document doc;
    return doc.load_string(xml) && WUI::SObjDefAttr::GetSingletonPtr()->Init(doc.document_element());
}

void ElementHost::SavePicture(const wchar_t* file)
{
    WUI::IImgDecoderFactory* decoders = nullptr;
    if (!WUI::CreateImgDecoderFactory(L"imgdecoder-png", &decoders) || !decoders) return;
    m_factory->SetImgDecoderFactory(decoders);
    decoders->Release();
    if (auto* bitmap = static_cast<WUI::IBitmap*>(m_target->GetCurrentObject(WUI::OT_BITMAP))) bitmap->Save(file, nullptr);
    m_factory->SetImgDecoderFactory(nullptr);
}

}  // namespace elemtest
