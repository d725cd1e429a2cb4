#pragma once
#include "core/SSingleton.h"
#include <pugixml.hpp>

namespace WUI {

// A copy of the rich edit's context-menu definition ("editmenu"), kept for the program's life.
class SRicheditMenuDef : public SSingleton<SRicheditMenuDef> {
public:
    // Replaces the copy with one of node; a null node leaves the definition empty.
    void SetMenu(pugi::xml_node node);
    // The "editmenu" element; null when none was set.
    pugi::xml_node GetMenu() const { return m_doc.first_child(); }

private:
    pugi::xml_document m_doc;
};

} // namespace WUI
