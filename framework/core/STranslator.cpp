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

namespace {

template <class T, class Less> void SortArray(SArray<T> &array, Less less)
{
    std::sort(array.GetData(), array.GetData() + array.GetCount(), less);
}

// Index of the element whose key equals key in a sorted array; -1 when none.
template <class T, class KeyOf> int Search(const SArray<T> &array, const SStringW &key, KeyOf keyOf)
{
    const T *first = array.GetData(), *last = first + array.GetCount();
    const T *it = std::lower_bound(first, last, key,
                                   [&](const T &e, const SStringW &k) { return keyOf(e).Compare(k) < 0; });
    return it != last && keyOf(*it) == key ? static_cast<int>(it - first) : -1;
}

} // namespace

BOOL STranslator::Load(LPVOID data, UINT kind)
{
    if (kind != 1 || !data)
        return FALSE;
    pugi::xml_node lang = *static_cast<pugi::xml_node *>(data);
    m_name = XmlAttributeNoCase(lang, L"name").value();
    m_guid = ParseGuid(XmlAttributeNoCase(lang, L"guid").value());
    m_contexts.RemoveAll();
    for (pugi::xml_node c = XmlChildNoCase(lang, L"context"); c; c = XmlNextSiblingNoCase(c, L"context")) {
        Context ctx;
        ctx.name = XmlAttributeNoCase(c, L"name").value();
        for (pugi::xml_node m = XmlChildNoCase(c, L"message"); m; m = XmlNextSiblingNoCase(m, L"message"))
            ctx.messages.Add(Message{XmlChildNoCase(m, L"source").text().get(),
                                     XmlChildNoCase(m, L"translation").text().get()});
        SortArray(ctx.messages, [](const Message &a, const Message &b) { return a.source.Compare(b.source) < 0; });
        m_contexts.Add(ctx);
    }
    SortArray(m_contexts, [](const Context &a, const Context &b) { return a.name.Compare(b.name) < 0; });
    return TRUE;
}

BOOL STranslator::Translate(const SStringW &source, const SStringW &context, SStringW &out)
{
    int c = Search(m_contexts, context, [](const Context &e) -> const SStringW & { return e.name; });
    if (c < 0)
        return FALSE;
    const SArray<Message> &messages = m_contexts[c].messages;
    int m = Search(messages, source, [](const Message &e) -> const SStringW & { return e.source; });
    if (m >= 0) {
        out = messages[m].translation;
        return TRUE;
    }
    // The context named "" holds the texts shared by all contexts.
    if (context.IsEmpty())
        return FALSE;
    return Translate(source, SStringW(), out);
}

STranslatorMgr::~STranslatorMgr()
{
    for (auto *n = m_list.GetHead(); n; n = n->pNext)
        n->data->Release();
    m_list.RemoveAll();
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
    for (auto *n = m_list.GetHead(); n; n = n->pNext)
        if (IsEqualGUID(n->data->GetGuid(), guid))
            return FALSE;
    if (!m_list.AddHead(translator))
        return FALSE;
    translator->AddRef();
    return TRUE;
}

BOOL STranslatorMgr::UninstallTranslator(REFGUID guid)
{
    for (auto *n = m_list.GetHead(); n; n = n->pNext) {
        if (IsEqualGUID(n->data->GetGuid(), guid)) {
            ITranslator *t = n->data;
            m_list.RemoveAt(n);
            t->Release();
            return TRUE;
        }
    }
    return FALSE;
}

SStringW STranslatorMgr::Translate(const SStringW &source, const SStringW &context)
{
    if (source.IsEmpty())
        return source;
    SStringW out;
    for (auto *n = m_list.GetHead(); n; n = n->pNext)
        if (n->data->Translate(source, context, out))
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
