#include "core/SRicheditMenuDef.h"

namespace WUI {

SRicheditMenuDef *SRicheditMenuDef::s_instance = nullptr;

SRicheditMenuDef::SRicheditMenuDef() { s_instance = this; }

SRicheditMenuDef::~SRicheditMenuDef()
{
    if (s_instance == this)
        s_instance = nullptr;
}

void SRicheditMenuDef::SetMenu(pugi::xml_node node)
{
    m_doc.reset();
    if (node)
        m_doc.append_copy(node);
}

} // namespace WUI
