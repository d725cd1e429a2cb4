#include "core/SObject.h"

#include "core/TranslateTextHook.h"
#include "core/XmlLookup.h"
#include "core/XmlMarks.h"

namespace WUI {

namespace {

FnTranslateText g_translateHook = nullptr;

} // namespace

void SetTranslateTextHook(FnTranslateText hook)
{
    g_translateHook = hook;
}

FnTranslateText GetTranslateTextHook()
{
    return g_translateHook;
}

bool ApplyXmlAttributes(SObject* obj, pugi::xml_node node)
{
    XmlMarkScope marks;
    // The style class gives defaults that the node's own attributes override.
    pugi::xml_attribute cls = XmlAttributeNoCase(node, L"class");
    if (cls) {
        obj->SetAttribute(SStringW(L"class"), SStringW(cls.value()), TRUE);
        marks.Mark(cls);
    }
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        if (a == cls || XmlGetMark(a)) continue;
        if (cls && _wcsicmp(a.name(), L"class") == 0) continue; // applied once
        obj->SetAttribute(SStringW(a.name()), SStringW(a.value()), TRUE);
    }
    return static_cast<bool>(cls);
}

BOOL SObject::InitFromXml(pugi::xml_node node)
{
    if (!node) return FALSE;
    ApplyXmlAttributes(this, node);
    OnInitFinished(node);
    return TRUE;
}

SStringW SObject::TranslateText(const SStringW& text)
{
    FnTranslateText hook = g_translateHook;
    return hook ? hook(text, SStringW()) : text;
}

} // namespace WUI
