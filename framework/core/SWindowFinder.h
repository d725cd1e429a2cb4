#pragma once
#include "core/ISwndNode.h"
#include <string>
#include <unordered_map>

namespace WUI {

// Remembers where find-child searches found their element, by handle.
class SWindowFinder {
public:
    SWindowFinder();
    virtual ~SWindowFinder();
    SWindowFinder(const SWindowFinder &) = delete;
    SWindowFinder &operator=(const SWindowFinder &) = delete;
    static SWindowFinder *GetSingletonPtr() { return s_instance; }

    // The parent's search result (null when none matches or parent is null);
    // a remembered element is used only while it still matches.
    ISwndNode *FindChildByID(ISwndNode *parent, int id, int depth);
    ISwndNode *FindChildByName(ISwndNode *parent, LPCWSTR name, int depth);

    struct Key {
        SWND parent;
        bool byName;
        std::wstring name;
        int id;
        int depth;
        bool operator==(const Key &o) const
        {
            return parent == o.parent && byName == o.byName && depth == o.depth &&
                   (byName ? name == o.name : id == o.id);
        }
    };
    struct KeyHash {
        size_t operator()(const Key &k) const;
    };

private:
    ISwndNode *Find(ISwndNode *parent, const Key &key);
    static bool StillMatches(ISwndNode *parent, ISwndNode *found, const Key &key);

    static SWindowFinder *s_instance;
    std::unordered_map<Key, SWND, KeyHash> m_cache;
};

} // namespace WUI
