#include "core/SPropBag.h"

#include "core/XmlWriterBuff.h"

#include <memory>

namespace WUI {

BOOL SPropBag::SetKeyValue(LPCWSTR key, LPCWSTR value)
{
    if (!key || !*key) return FALSE; // would print as a nameless attribute
    return m_map.SetValue(SStringW(key), SStringW(value)) != nullptr;
}

LPCWSTR SPropBag::GetValue(LPCWSTR key) const
{
    SMap<SStringW, SStringW>::Node* node = m_map.Lookup(SStringW(key));
    return node ? node->value.c_str() : nullptr;
}

BOOL SPropBag::RemoveKey(LPCWSTR key)
{
    return m_map.RemoveKey(SStringW(key));
}

void SPropBag::RemoveAll()
{
    m_map.RemoveAll();
}

BOOL SPropBag::ToXml(SStringW* out) const
{
    out->Empty();
    pugi::xml_document doc;
    pugi::xml_node bag = doc.append_child(L"propbag");
    if (!bag) return FALSE;
    for (auto* n = m_map.First(); n; n = m_map.Next(n))
        if (!bag.append_attribute(n->key).set_value(n->value)) return FALSE;
    std::unique_ptr<xml_writer_buff> writer(new xml_writer_buff); // 40 KB: not on the stack
    bag.print(*writer, L"\t", pugi::format_indent, pugi::encoding_utf16);
    if (!writer->ok()) return FALSE;
    *out = writer->buffer();
    return TRUE;
}

} // namespace WUI
