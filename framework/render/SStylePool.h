#pragma once
// Named styles: class name to a node of default attributes, in pools kept
// as a stack by the manager.
#include "core/IObjRef.h"
#include "core/SList.h"
#include "core/SMap.h"
#include "core/SSingleton.h"

#include <pugixml.hpp>

namespace WUI {

class SStylePool : public TObjRefImpl<IObjRef> {
public:
    // Copies the node into the pool's own document and stores each "class"
    // child with a non-empty "name" under that name, the name itself removed
    // from the copy; the first style of a name stays. 1; 0 for a null node.
    int LoadStyles(pugi::xml_node node);
    // Stores the node unless the name is present; whether it stored.
    bool AddStyle(const SStringW& name, pugi::xml_node node);
    // The node stored under the name; an empty node when absent.
    pugi::xml_node GetStyle(const SStringW& name) const;

private:
    pugi::xml_document m_doc;
    SMap<SStringW, pugi::xml_node> m_styles;
};

class SStylePoolMgr : public SSingleton<SStylePoolMgr> {
public:
    ~SStylePoolMgr() override;
    // Appends the pool with one reference; nothing for null.
    void PushStylePool(SStylePool* pool);
    // Removes the pool (null: the newest) and releases the list's reference;
    // null when it is not listed or the list is empty, else the removed pointer.
    SStylePool* PopStylePool(SStylePool* pool);
    // The style from the newest pool that has it; an empty node when none has.
    pugi::xml_node FindStyle(const SStringW& name) const;
    int GetPoolCount() const { return m_pools.GetCount(); }

private:
    SList<SStylePool*> m_pools;  // push order
};

}  // namespace WUI
