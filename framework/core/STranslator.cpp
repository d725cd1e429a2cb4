#include "core/STranslator.h"
#include "core/XmlLookup.h"
#include <objbase.h>
#include <algorithm>
#include <cwchar>

namespace WUI {

GUID STranslator::ParseGuid(const wchar_t *text)
{
    GUID guid = GUID_NULL; // IIDFromString leaves it untouched on bad text
    if (!text || wcslen(text) > 99)
        return guid;
    wchar_t buf[100];
    wcscpy(buf, text);
    if (FAILED(IIDFromString(buf, &guid)))
        guid = GUID_NULL;
    return guid;
}

BOOL STranslator::Load(LPVOID data, UINT kind)
{
    if (kind != 1 || !data)
        return FALSE;
    pugi::xml_node lang = *static_cast<pugi::xml_node *>(data);
    m_name = XmlAttributeNoCase(lang, L"name").value();
    m_guid = ParseGuid(XmlAttributeNoCase(lang, L"guid").value());
    m_contexts.clear();
    for (pugi::xml_node c = XmlChildNoCase(lang, L"context"); c; c = XmlNextSiblingNoCase(c, L"context")) {
        Context ctx;
        ctx.name = XmlAttributeNoCase(c, L"name").value();
        for (pugi::xml_node m = XmlChildNoCase(c, L"message"); m; m = XmlNextSiblingNoCase(m, L"message"))
            ctx.messages.push_back(
                {XmlChildNoCase(m, L"source").text().get(), XmlChildNoCase(m, L"translation").text().get()});
        std::stable_sort(ctx.messages.begin(), ctx.messages.end(),
                         [](const Message &a, const Message &b) { return a.source < b.source; });
        m_contexts.push_back(std::move(ctx));
    }
    std::stable_sort(m_contexts.begin(), m_contexts.end(),
                     [](const Context &a, const Context &b) { return a.name < b.name; });
    return TRUE;
}

BOOL STranslator::Translate(const std::wstring &source, const std::wstring &context, std::wstring &out)
{
    auto c = std::lower_bound(m_contexts.begin(), m_contexts.end(), context,
                              [](const Context &a, const std::wstring &k) { return a.name < k; });
    if (c == m_contexts.end() || c->name != context)
        return FALSE;
    auto m = std::lower_bound(c->messages.begin(), c->messages.end(), source,
                              [](const Message &a, const std::wstring &k) { return a.source < k; });
    if (m != c->messages.end() && m->source == source) {
        out = m->translation;
        return TRUE;
    }
    // The context named "" holds the texts shared by all contexts.
    if (context.empty())
        return FALSE;
    return Translate(source, std::wstring(), out);
}

STranslatorMgr::~STranslatorMgr()
{
    for (ITranslator *t : m_list)
        t->Release();
}

BOOL STranslatorMgr::CreateTranslator(ITranslator **out)
{
    if (!out)
        return FALSE;
    *out = new STranslator;
    return TRUE;
}

BOOL STranslatorMgr::InstallTranslator(ITranslator *translator)
{
    if (!translator)
        return FALSE;
    const GUID guid = translator->GetGuid();
    for (ITranslator *t : m_list)
        if (IsEqualGUID(t->GetGuid(), guid))
            return FALSE;
    m_list.insert(m_list.begin(), translator);
    translator->AddRef();
    return TRUE;
}

BOOL STranslatorMgr::UninstallTranslator(REFGUID guid)
{
    for (auto it = m_list.begin(); it != m_list.end(); ++it) {
        if (IsEqualGUID((*it)->GetGuid(), guid)) {
            ITranslator *t = *it;
            m_list.erase(it);
            t->Release();
            return TRUE;
        }
    }
    return FALSE;
}

std::wstring STranslatorMgr::Translate(const std::wstring &source, const std::wstring &context)
{
    if (source.empty())
        return source;
    std::wstring out;
    for (ITranslator *t : m_list)
        if (t->Translate(source, context, out))
            return out;
    return source;
}

BOOL SNullTranslator::CreateTranslator(ITranslator **out)
{
    if (out)
        *out = nullptr;
    return FALSE;
}

BOOL CreateTranslatorMgr(ITranslatorMgr **out)
{
    if (!out)
        return FALSE;
    *out = new STranslatorMgr;
    return TRUE;
}

} // namespace WUI
