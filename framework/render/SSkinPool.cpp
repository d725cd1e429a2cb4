#include "render/SSkinPool.h"

#include "core/SApplication.h"
#include "core/XmlLookup.h"
#include "core/XmlMarks.h"
#include "render/SSkinFactoryMgr.h"

namespace WUI {

namespace {

const wchar_t* const kBuiltinNames[kBuiltinSkinCount] = {
    L"_skin.sys.checkbox",      L"_skin.sys.radio",         L"_skin.sys.focuscheckbox", L"_skin.sys.focusradio",
    L"_skin.sys.btn.normal",    L"_skin.sys.scrollbar",     L"_skin.sys.border",        L"_skin.sys.dropbtn",
    L"_skin.sys.tree.toggle",   L"_skin.sys.tree.checkbox", L"_skin.sys.tab.page",      L"_skin.sys.header",
    L"_skin.sys.split.vert",    L"_skin.sys.split.horz",    L"_skin.sys.prog.bkgnd",    L"_skin.sys.prog.bar",
    L"_skin.sys.vert.prog.bkgnd", L"_skin.sys.vert.prog.bar", L"_skin.sys.slider.thumb", L"_skin.sys.btn.close",
    L"_skin.sys.btn.minimize",  L"_skin.sys.btn.maximize",  L"_skin.sys.btn.restore",   L"_skin.sys.menu.check",
    L"_skin.sys.menu.sep",      L"_skin.sys.menu.arrow",    L"_skin.sys.menu.border",   L"_skin.sys.menu.skin",
    L"_skin.sys.icons",         L"_skin.sys.wnd.bkgnd",
};

void ReleaseSkin(ISkinObj** skin) { (*skin)->Release(); }

}  // namespace

LPCWSTR BuiltinSkinName(int index)
{
    return index >= 0 && index < kBuiltinSkinCount ? kBuiltinNames[index] : nullptr;
}

LPCWSTR DefaultFontFace() { return L"\u5B8B\u4F53"; }

SSkinPool::SSkinPool() : SCmnMap<ISkinObj*, SStringW>(ReleaseSkin) {}

ISkinObj* SSkinPool::GetSkin(const SStringW& name) const
{
    ISkinObj* const* found = Find(name);
    return found ? *found : nullptr;
}

int SSkinPool::LoadSkins(pugi::xml_node node)
{
    SApplication* app = SApplication::GetSingletonPtr();
    if (!node || !app) return 0;
    int created = 0;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        pugi::xml_attribute nameAttr = XmlAttributeNoCase(child, L"name");
        SStringW tag(child.name()), name(nameAttr.value());
        if (tag.IsEmpty() || name.IsEmpty()) continue;
        ISkinObj* skin = app->CreateSkin(tag);
        if (!skin) continue;
        ++created;
        {
            XmlMarkScope marks;  // the name is the key, not an attribute of the skin
            marks.Mark(nameAttr);
            skin->InitFromXml(child);
        }
        if (!InsertIfAbsent(name, skin)) skin->Release();
    }
    return created;
}

SSkinPoolMgr::SSkinPoolMgr() : m_builtin(new SSkinPool)
{
    PushSkinPool(m_builtin);
}

SSkinPoolMgr::~SSkinPoolMgr()
{
    for (auto* n = m_pools.GetHead(); n; n = n->pNext) n->data->Release();
    m_pools.RemoveAll();
    m_builtin->Release();
}

void SSkinPoolMgr::PushSkinPool(SSkinPool* pool)
{
    if (!pool || !m_pools.AddTail(pool)) return;
    pool->AddRef();
}

SSkinPool* SSkinPoolMgr::PopSkinPool(SSkinPool* pool)
{
    if (pool == m_builtin) return nullptr;
    auto* node = pool ? m_pools.Find(pool) : m_pools.GetTail();
    if (!node || node->data == m_builtin) return nullptr;
    SSkinPool* removed = node->data;
    m_pools.RemoveAt(node);
    removed->Release();
    return removed;
}

ISkinObj* SSkinPoolMgr::FindSkinByName(const SStringW& name) const
{
    for (auto* n = m_pools.GetTail(); n; n = n->pPrev)
        if (ISkinObj* skin = n->data->GetSkin(name)) return skin;
    return nullptr;
}

ISkinObj* SSkinPoolMgr::GetBuiltinSkin(int index) const
{
    LPCWSTR name = BuiltinSkinName(index);
    return name ? m_builtin->GetSkin(SStringW(name)) : nullptr;
}

}  // namespace WUI
