#pragma once
#include <pugixml.hpp>
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>

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
    typedef std::wstring Value;
    static bool Parse(const wchar_t *text, std::wstring &out)
    {
        out = text ? text : L"";
        return true;
    }
    static std::wstring Missing() { return std::wstring(); }
};

// A table of named values sorted by name. Names over 49 characters are
// refused, both when filling and when looking up.
template <class T, class Parser> class SNamedValue {
public:
    struct Entry {
        std::wstring name;
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
                m_entries.push_back(Entry{c.name(), value});
        }
        Sort();
        return TRUE;
    }

    // Replaces the table with the given entries; sorts them unless told they are sorted.
    void InitFromTable(const TableEntry *table, int count, bool sorted)
    {
        m_entries.clear();
        for (int i = 0; i < count; ++i) {
            size_t len = wcsnlen(table[i].name, 52);
            if (len <= kMaxNamedValueName)
                m_entries.push_back(Entry{std::wstring(table[i].name, len), table[i].value});
        }
        if (!sorted)
            Sort();
    }

    // The value of a name, or the type's missing value.
    T Get(const wchar_t *name) const
    {
        if (!name || wcslen(name) > kMaxNamedValueName)
            return Parser::Missing();
        const std::wstring key(name);
        auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                   [](const Entry &e, const std::wstring &k) { return e.name < k; });
        if (it == m_entries.end() || it->name != key)
            return Parser::Missing();
        return it->value;
    }

    int GetCount() const { return static_cast<int>(m_entries.size()); }

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
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [](const Entry &a, const Entry &b) { return a.name < b.name; });
    }

    std::vector<Entry> m_entries;
};

typedef SNamedValue<int, SIntParser> SNamedID;
typedef SNamedValue<COLORREF, SColorParser> SNamedColor;
typedef SNamedValue<std::wstring, SStringParser> SNamedString;

} // namespace WUI
