#pragma once
// Skins by name: one pool per loaded definition, and the manager that keeps
// them as a stack over the built-in pool.
#include "core/SCmnMap.h"
#include "core/SList.h"
#include "core/SSingleton.h"
#include "render/ISkinObj.h"

namespace WUI {

// Number of built-in skins that GetBuiltinSkin serves.
const int kBuiltinSkinCount = 30;
// Name of built-in skin index; null outside 0-29.
LPCWSTR BuiltinSkinName(int index);
// Face of the framework's default font.
LPCWSTR DefaultFontFace();

class SSkinPool : public TObjRefImpl2<IObjRef, SSkinPool>, public SCmnMap<ISkinObj*, SStringW> {
public:
    SSkinPool();
    // Creates each child element's skin by tag, keyed by its "name" (which the
    // skin does not receive); nameless or unknown entries are skipped and the
    // first skin of a name stays. Returns the number of skins created; 0 for
    // a null node.
    int LoadSkins(pugi::xml_node node);
    // The skin stored under the exact name (not add-ref'd); null when absent.
    ISkinObj* GetSkin(const SStringW& name) const;
};

class SSkinPoolMgr : public SSingleton<SSkinPoolMgr> {
public:
    // Creates the built-in pool and pushes it.
    SSkinPoolMgr();
    ~SSkinPoolMgr() override;

    SSkinPool* GetBuiltinPool() const { return m_builtin; }
    // Appends the pool with one reference; nothing for null.
    void PushSkinPool(SSkinPool* pool);
    // Removes the pool (null: the newest) and releases the list's reference.
    // Null, with nothing changed, for the built-in pool, a pool not listed, or
    // a null request while only the built-in pool is listed. Otherwise the
    // removed pointer, as a success mark only.
    SSkinPool* PopSkinPool(SSkinPool* pool);
    // The first skin of the exact name from the newest pool down; null when none has it.
    ISkinObj* FindSkinByName(const SStringW& name) const;
    // Built-in skin index (0-29) from the built-in pool only; null otherwise.
    ISkinObj* GetBuiltinSkin(int index) const;
    int GetPoolCount() const { return m_pools.GetCount(); }

private:
    SList<SSkinPool*> m_pools;  // push order
    SSkinPool* m_builtin;       // its own reference
};

}  // namespace WUI
