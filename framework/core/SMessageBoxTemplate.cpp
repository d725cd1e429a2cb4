#include "core/SMessageBoxTemplate.h"
#include "core/XmlLookup.h"

namespace WUI {

namespace {

pugi::xml_document *g_template = nullptr;

// Freed after the program's entry function returns.
struct TemplateLifetime {
    ~TemplateLifetime() { ReleaseGlobalMsgBoxTemplate(); }
} g_lifetime;

bool HasValue(const pugi::xml_node &node, const wchar_t *name)
{
    const pugi::xml_attribute a = XmlAttributeNoCase(node, name);
    return a && *a.value();
}

} // namespace

void InitGlobalMsgBoxTemplate()
{
    if (!g_template)
        g_template = new pugi::xml_document;
}

void ReleaseGlobalMsgBoxTemplate()
{
    delete g_template;
    g_template = nullptr;
}

BOOL SetMessageBoxTemplate(pugi::xml_node node)
{
    if (!node || _wcsicmp(node.name(), L"WUI") != 0 || !HasValue(node, L"frameSize") ||
        !HasValue(node, L"minSize"))
        return FALSE;
    InitGlobalMsgBoxTemplate();
    pugi::xml_document copy;
    if (!copy.append_copy(node))
        return FALSE;
    g_template->reset(copy);
    return TRUE;
}

pugi::xml_node GetMessageBoxTemplate()
{
    return g_template ? XmlChildNoCase(*g_template, L"WUI") : pugi::xml_node();
}

} // namespace WUI
