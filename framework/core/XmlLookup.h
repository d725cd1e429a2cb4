// Name lookups over pugixml that ignore case, used instead of its
// case-sensitive ones throughout the framework.
#pragma once

#include <pugixml.hpp>

namespace WUI {

// The first child element / attribute / following sibling element whose name
// matches `name` regardless of case; an empty handle when there is none.
pugi::xml_node XmlChildNoCase(const pugi::xml_node& node, const wchar_t* name);
pugi::xml_attribute XmlAttributeNoCase(const pugi::xml_node& node, const wchar_t* name);
pugi::xml_node XmlNextSiblingNoCase(const pugi::xml_node& node, const wchar_t* name);

} // namespace WUI
