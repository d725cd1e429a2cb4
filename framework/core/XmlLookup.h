#pragma once
#include <pugixml.hpp>

namespace WUI {

// Child element and attribute lookups that ignore the case of the name.
pugi::xml_node ChildNoCase(pugi::xml_node node, const wchar_t *name);
pugi::xml_attribute AttrNoCase(pugi::xml_node node, const wchar_t *name);
// The next sibling element with the same name, case ignored.
pugi::xml_node NextSiblingNoCase(pugi::xml_node node, const wchar_t *name);

} // namespace WUI
