#include "core/XmlLookup.h"

#include <cwchar>

namespace WUI {

namespace {

bool SameName(const wchar_t* a, const wchar_t* b)
{
    return b && _wcsicmp(a, b) == 0;
}

} // namespace

pugi::xml_node XmlChildNoCase(const pugi::xml_node& node, const wchar_t* name)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && SameName(c.name(), name)) return c;
    return pugi::xml_node();
}

pugi::xml_attribute XmlAttributeNoCase(const pugi::xml_node& node, const wchar_t* name)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        if (SameName(a.name(), name)) return a;
    return pugi::xml_attribute();
}

pugi::xml_node XmlNextSiblingNoCase(const pugi::xml_node& node, const wchar_t* name)
{
    for (pugi::xml_node c = node.next_sibling(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && SameName(c.name(), name)) return c;
    return pugi::xml_node();
}

} // namespace WUI
