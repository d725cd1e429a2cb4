#include "core/SRicheditMenuDef.h"

namespace WUI {

void SRicheditMenuDef::SetMenu(pugi::xml_node node)
{
    m_doc.reset();
    if (node)
        m_doc.append_copy(node);
}

} // namespace WUI
