// One integer mark per XML node and attribute, kept beside the document in a
// table keyed by pugixml's internal objects. Attribute loops use it as a
// "consumed" mark; marks are set through a scope that clears them at its end,
// so none outlives the loop (or the node it names).
#pragma once

#include "core/SArray.h"

#include <pugixml.hpp>

namespace WUI {

// 0 for unmarked items and empty handles.
int XmlGetMark(const pugi::xml_node& node);
int XmlGetMark(const pugi::xml_attribute& attr);

class XmlMarkScope {
public:
    XmlMarkScope() = default;
    XmlMarkScope(const XmlMarkScope&) = delete;
    XmlMarkScope& operator=(const XmlMarkScope&) = delete;
    // Clears every mark set through this scope.
    ~XmlMarkScope();

    // Empty handles are ignored; false when the table could not grow.
    bool Mark(const pugi::xml_node& node, int value = 1);
    bool Mark(const pugi::xml_attribute& attr, int value = 1);

private:
    bool MarkKey(const void* key, int value);

    SArray<const void*> m_keys;
};

} // namespace WUI
