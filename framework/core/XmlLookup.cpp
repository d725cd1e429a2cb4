#include "core/XmlLookup.h"
#include <cwchar>

namespace WUI {

pugi::xml_node ChildNoCase(pugi::xml_node node, const wchar_t *name)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && _wcsicmp(c.name(), name) == 0)
            return c;
    return pugi::xml_node();
}

pugi::xml_node NextSiblingNoCase(pugi::xml_node node, const wchar_t *name)
{
    for (pugi::xml_node c = node.next_sibling(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && _wcsicmp(c.name(), name) == 0)
            return c;
    return pugi::xml_node();
}

pugi::xml_attribute AttrNoCase(pugi::xml_node node, const wchar_t *name)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        if (_wcsicmp(a.name(), name) == 0)
            return a;
    return pugi::xml_attribute();
}

} // namespace WUI
