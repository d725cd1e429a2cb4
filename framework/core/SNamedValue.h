#pragma once
#include "core/SArray.h"
#include "core/TStringT.h"
#include <pugixml.hpp>
#include <windows.h>
#include <algorithm>

namespace WUI {

// Longest name a named-value table holds.
const size_t kMaxNamedValueName = 49;

struct SIntParser {
    typedef int Value;
    // Leading decimal digits; 0 when there are none. Never fails.
    static bool Parse(const wchar_t *text, int &out);
    static int Missing() { return 0; }
};

struct SColorParser {
    typedef COLORREF Value;
    // "#rrggbb[aa]", "rgb(r,g,b)" or "rgba(r,g,b,a)", any case; false for anything else.
    static bool Parse(const wchar_t *text, COLORREF &out);
    static COLORREF Missing() { return 0x00FFFFFF; }
};

struct SStringParser {
    typedef SStringW Value;
    static bool Parse(const wchar_t *text, SStringW &out)
    {
        out = text ? text : L"";
        return true;
    }
    static SStringW Missing() { return SStringW(); }
};

// A table of named values sorted by name. Names over 49 characters are
// refused, both when filling and when looking up.
template <class T, class Parser> class SNamedValue {
public:
    struct Entry {
        SStringW name;
        T value;
    };
    struct TableEntry {
        wchar_t name[52];
        T value;
    };

    virtual ~SNamedValue() = default;

    // One entry per child element whose "value" parses; 0 for a null node.
    BOOL Init(pugi::xml_node node)
    {
        if (!node)
            return FALSE;
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element || wcslen(c.name()) > kMaxNamedValueName)
                continue;
            T value;
            if (Parser::Parse(ValueOf(c), value))
                m_entries.Add(Entry{c.name(), value});
        }
        Sort();
        return TRUE;
    }

    // Replaces the table with the given entries; sorts them unless told they are sorted.
    void InitFromTable(const TableEntry *table, int count, bool sorted)
    {
        m_entries.RemoveAll();
        for (int i = 0; i < count; ++i) {
            size_t len = wcsnlen(table[i].name, 52);
            if (len <= kMaxNamedValueName)
                m_entries.Add(Entry{SStringW(table[i].name, static_cast<int>(len)), table[i].value});
        }
        if (!sorted)
            Sort();
    }

    // The value of a name, or the type's missing value.
    T Get(const wchar_t *name) const
    {
        if (!name || wcslen(name) > kMaxNamedValueName)
            return Parser::Missing();
        const Entry *first = m_entries.GetData(), *last = first + m_entries.GetCount();
        const Entry *it = std::lower_bound(first, last, name,
                                           [](const Entry &e, const wchar_t *k) { return e.name.Compare(k) < 0; });
        if (it == last || !(it->name == name))
            return Parser::Missing();
        return it->value;
    }

    int GetCount() const { return m_entries.GetCount(); }

private:
    static const wchar_t *ValueOf(pugi::xml_node c)
    {
        for (pugi::xml_attribute a = c.first_attribute(); a; a = a.next_attribute())
            if (_wcsicmp(a.name(), L"value") == 0)
                return a.value();
        return L"";
    }
    void Sort()
    {
        std::sort(m_entries.GetData(), m_entries.GetData() + m_entries.GetCount(),
                  [](const Entry &a, const Entry &b) { return a.name.Compare(b.name) < 0; });
    }

    SArray<Entry> m_entries;
};

typedef SNamedValue<int, SIntParser> SNamedID;
typedef SNamedValue<COLORREF, SColorParser> SNamedColor;
typedef SNamedValue<SStringW, SStringParser> SNamedString;

} // namespace WUI
