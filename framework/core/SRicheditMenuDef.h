#pragma once
#include <pugixml.hpp>

namespace WUI {

// A copy of the rich edit's context-menu definition ("editmenu"), kept for the program's life.
class SRicheditMenuDef {
public:
    SRicheditMenuDef();
    virtual ~SRicheditMenuDef();
    SRicheditMenuDef(const SRicheditMenuDef &) = delete;
    SRicheditMenuDef &operator=(const SRicheditMenuDef &) = delete;
    static SRicheditMenuDef *GetSingletonPtr() { return s_instance; }

    // Replaces the copy with one of node; a null node leaves the definition empty.
    void SetMenu(pugi::xml_node node);
    // The "editmenu" element; null when none was set.
    pugi::xml_node GetMenu() const { return m_doc.first_child(); }

private:
    static SRicheditMenuDef *s_instance;
    pugi::xml_document m_doc;
};

} // namespace WUI
