#include "render/SStylePool.h"

#include "core/XmlLookup.h"

namespace WUI {

int SStylePool::LoadStyles(pugi::xml_node node)
{
    if (!node) return 0;
    pugi::xml_node copy = m_doc.append_copy(node);
    for (pugi::xml_node child = copy.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element || _wcsicmp(child.name(), L"class") != 0) continue;
        pugi::xml_attribute nameAttr = XmlAttributeNoCase(child, L"name");
        SStringW name(nameAttr.value());
        if (name.IsEmpty()) continue;
        child.remove_attribute(nameAttr);
        AddStyle(name, child);
    }
    return 1;
}

bool SStylePool::AddStyle(const SStringW& name, pugi::xml_node node)
{
    if (m_styles.Lookup(name)) return false;
    return m_styles.SetValue(name, node) != nullptr;
}

pugi::xml_node SStylePool::GetStyle(const SStringW& name) const
{
    auto* found = m_styles.Lookup(name);
    return found ? found->value : pugi::xml_node();
}

SStylePoolMgr::~SStylePoolMgr()
{
    for (auto* n = m_pools.GetHead(); n; n = n->pNext) n->data->Release();
    m_pools.RemoveAll();
}

void SStylePoolMgr::PushStylePool(SStylePool* pool)
{
    if (!pool || !m_pools.AddTail(pool)) return;
    pool->AddRef();
}

SStylePool* SStylePoolMgr::PopStylePool(SStylePool* pool)
{
    auto* node = pool ? m_pools.Find(pool) : m_pools.GetTail();
    if (!node) return nullptr;
    SStylePool* removed = node->data;
    m_pools.RemoveAt(node);
    removed->Release();
    return removed;
}

pugi::xml_node SStylePoolMgr::FindStyle(const SStringW& name) const
{
    for (auto* n = m_pools.GetTail(); n; n = n->pPrev) {
        pugi::xml_node style = n->data->GetStyle(name);
        if (style) return style;
    }
    return pugi::xml_node();
}

}  // namespace WUI
