// Default attributes per element class, from a UI definition's "objattr":
// each class's node also carries, for names it lacks, the attributes of its
// base classes (nearer bases first).
#pragma once

#include "core/SSingleton.h"
#include "core/TStringT.h"

#include <pugixml.hpp>

namespace WUI {

class SWindowFactoryMgr;

class SObjDefAttr : public SSingletonMap<SObjDefAttr, pugi::xml_node, SStringW> {
public:
    // Replaces the table with a copy of the node's classes (the first element
    // of a tag wins), each merged with its bases' attributes along the base
    // chain of the factories (the application's when null). False, nothing
    // built, for an empty node or when the copy cannot be made.
    bool Init(pugi::xml_node objattr, const SWindowFactoryMgr* factories = nullptr);
    // The defaults node of the tag, else of its nearest base that has one; an
    // empty node when none has, or when the tag has no factory.
    pugi::xml_node GetDefAttribute(LPCWSTR tag) const;

private:
    static const SWindowFactoryMgr* Factories(const SWindowFactoryMgr* given);
    static void MergeBase(pugi::xml_node target, pugi::xml_node base);

    pugi::xml_document m_doc;
};

}  // namespace WUI
