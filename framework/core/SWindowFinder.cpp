#include "core/SWindowFinder.h"
#include "core/SHashTraits.h"
#include "core/SWindow.h"

namespace WUI {

UINT SFindKeyTraits::Hash(const SFindKey &k)
{
    UINT h = ((static_cast<UINT>(k.byName) << 7 | (static_cast<UINT>(k.depth) & 0x7F)) << 24) |
             (k.parent & 0xFFFFFF);
    return h + (k.byName ? SHashTraits<SStringW>::Hash(k.name) : static_cast<UINT>(k.id));
}

bool SFindKeyTraits::Equal(const SFindKey &a, const SFindKey &b)
{
    return a.parent == b.parent && a.byName == b.byName && a.depth == b.depth &&
           (a.byName ? a.name == b.name : a.id == b.id);
}

// A remembered element must still live, still carry the id or name, and still
// sit under the parent within the depth.
bool SWindowFinder::StillMatches(SWindow *parent, SWindow *found, const SFindKey &key)
{
    if (key.byName ? !(key.name == found->GetName()) : found->GetID() != key.id)
        return false;
    int level = 1;
    for (SWindow *p = found->GetParent(); p; p = p->GetParent(), ++level) {
        if (key.depth >= 0 && level > key.depth)
            return false;
        if (p == parent)
            return true;
    }
    return false;
}

SWindow *SWindowFinder::Find(SWindow *parent, const SFindKey &key)
{
    if (auto *node = m_cache.Lookup(key)) {
        SWindow *found = SWindowMgr::GetWindow(node->value);
        if (found && StillMatches(parent, found, key))
            return found;
        m_cache.RemoveKey(key);
    }
    SWindow *found = key.byName ? parent->FindChildByName(key.name, key.depth)
                                  : parent->FindChildByID(key.id, key.depth);
    // A miss is not remembered: the element may come later.
    if (found)
        m_cache.SetValue(key, found->GetSwnd());
    return found;
}

SWindow *SWindowFinder::FindChildByID(SWindow *parent, int id, int depth)
{
    if (!parent)
        return nullptr;
    return Find(parent, SFindKey{parent->GetSwnd(), false, SStringW(), id, depth});
}

SWindow *SWindowFinder::FindChildByName(SWindow *parent, LPCWSTR name, int depth)
{
    if (!parent || !name)
        return nullptr;
    return Find(parent, SFindKey{parent->GetSwnd(), true, SStringW(name), 0, depth});
}

} // namespace WUI
