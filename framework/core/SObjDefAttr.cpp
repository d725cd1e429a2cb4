#include "core/SObjDefAttr.h"

#include "core/SApplication.h"
#include "core/SWindowFactoryMgr.h"
#include "core/XmlLookup.h"

namespace WUI {

const SWindowFactoryMgr* SObjDefAttr::Factories(const SWindowFactoryMgr* given)
{
    if (given) return given;
    return SApplication::GetSingletonPtr();
}

// Appends the base's attributes that the target does not have, in the base's order.
void SObjDefAttr::MergeBase(pugi::xml_node target, pugi::xml_node base)
{
    for (pugi::xml_attribute a = base.first_attribute(); a; a = a.next_attribute())
        if (!XmlAttributeNoCase(target, a.name())) target.append_attribute(a.name()).set_value(a.value());
}

bool SObjDefAttr::Init(pugi::xml_node objattr, const SWindowFactoryMgr* factories)
{
    if (!objattr) return false;
    RemoveAllAndRelease();
    m_doc.reset();
    pugi::xml_node copy = m_doc.append_copy(objattr);
    if (!copy) return false;
    for (pugi::xml_node c = copy.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) InsertIfAbsent(c.name(), c);
    factories = Factories(factories);
    if (!factories) return true;
    for (Map::Node* n = GetMap().First(); n; n = GetMap().Next(n)) {
        LPCWSTR base = factories->BaseClassNameFromClassName(n->key);
        for (int depth = 0; base && depth < kMaxBaseChain; ++depth) {
            if (pugi::xml_node* baseNode = Find(base)) MergeBase(n->value, *baseNode);
            base = factories->BaseClassNameFromClassName(base);
        }
    }
    return true;
}

pugi::xml_node SObjDefAttr::GetDefAttribute(LPCWSTR tag) const
{
    const SWindowFactoryMgr* factories = Factories(nullptr);
    if (!tag || !factories || !factories->HasFactory(tag)) return pugi::xml_node();
    for (int depth = 0; tag && depth < kMaxBaseChain; ++depth) {
        if (pugi::xml_node* node = Find(tag)) return *node;
        tag = factories->BaseClassNameFromClassName(tag);
    }
    return pugi::xml_node();
}

}  // namespace WUI
