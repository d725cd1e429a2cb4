#include "core/SWindowFinder.h"
#include "core/SWindowMgr.h"
#include <cwchar>

namespace WUI {

SWindowFinder *SWindowFinder::s_instance = nullptr;

SWindowFinder::SWindowFinder() { s_instance = this; }

SWindowFinder::~SWindowFinder()
{
    if (s_instance == this)
        s_instance = nullptr;
}

size_t SWindowFinder::KeyHash::operator()(const Key &k) const
{
    UINT32 h = ((static_cast<UINT32>(k.byName) << 7 | (static_cast<UINT32>(k.depth) & 0x7F)) << 24) |
               (k.parent & 0xFFFFFF);
    if (k.byName) {
        UINT32 s = 0;
        for (wchar_t c : k.name)
            s = s * 33 + static_cast<UINT32>(c);
        h += s;
    } else {
        h += static_cast<UINT32>(k.id);
    }
    return h;
}

// A remembered element must still live, still carry the id or name, and still
// sit under the parent within the depth.
bool SWindowFinder::StillMatches(ISwndNode *parent, ISwndNode *found, const Key &key)
{
    if (key.byName ? key.name != found->GetName() : found->GetID() != key.id)
        return false;
    int level = 1;
    for (ISwndNode *p = found->GetParentNode(); p; p = p->GetParentNode(), ++level) {
        if (key.depth >= 0 && level > key.depth)
            return false;
        if (p == parent)
            return true;
    }
    return false;
}

ISwndNode *SWindowFinder::Find(ISwndNode *parent, const Key &key)
{
    auto it = m_cache.find(key);
    if (it != m_cache.end()) {
        ISwndNode *found = SWindowMgr::GetWindow(it->second);
        if (found && StillMatches(parent, found, key))
            return found;
        m_cache.erase(it);
    }
    ISwndNode *found = key.byName ? parent->FindChildByName(key.name.c_str(), key.depth)
                                  : parent->FindChildByID(key.id, key.depth);
    // A miss is not remembered: the element may be added later.
    if (found)
        m_cache[key] = found->GetSwnd();
    return found;
}

ISwndNode *SWindowFinder::FindChildByID(ISwndNode *parent, int id, int depth)
{
    if (!parent)
        return nullptr;
    return Find(parent, Key{parent->GetSwnd(), false, std::wstring(), id, depth});
}

ISwndNode *SWindowFinder::FindChildByName(ISwndNode *parent, LPCWSTR name, int depth)
{
    if (!parent || !name)
        return nullptr;
    return Find(parent, Key{parent->GetSwnd(), true, std::wstring(name), 0, depth});
}

} // namespace WUI
