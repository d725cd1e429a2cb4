#pragma once
// Skin factories by tag: one factory per skin class, kept by the manager.
#include "core/SMap.h"
#include "render/ISkinObj.h"

namespace WUI {

class SSkinFactory {
public:
    virtual ~SSkinFactory() = default;
    // A new skin with one reference for the caller; null when out of memory.
    virtual ISkinObj* NewSkin() const = 0;
    virtual const SStringW& GetTypeName() const = 0;
    // A new factory of the same class; null when out of memory.
    virtual SSkinFactory* Clone() const = 0;
};

template <class T>
class TplSkinFactory : public SSkinFactory {
public:
    TplSkinFactory() : m_tag(T::GetClassNameStatic()) {}
    ISkinObj* NewSkin() const override { return new (std::nothrow) T; }
    const SStringW& GetTypeName() const override { return m_tag; }
    SSkinFactory* Clone() const override { return new (std::nothrow) TplSkinFactory<T>; }

private:
    SStringW m_tag;
};

class SSkinFactoryMgr {
public:
    // Registers the standard skin classes.
    SSkinFactoryMgr();
    virtual ~SSkinFactoryMgr();
    SSkinFactoryMgr(const SSkinFactoryMgr&) = delete;
    SSkinFactoryMgr& operator=(const SSkinFactoryMgr&) = delete;

    // "imglist", "imgframe", "button", "gradation", "scrollbar", "colorrect".
    void RegisterStandardSkins();
    // Stores a clone of the factory under its tag, so the caller keeps its
    // own; false when the tag is taken (the earlier factory stays) or no
    // clone could be made.
    bool RegisterFactory(const SSkinFactory& factory);
    // False when no factory has the tag; else deletes it.
    bool UnregisterFactory(const SStringW& tag);
    // The factory's new skin (one reference for the caller); null for an
    // unknown tag (exact, case-sensitive) or when out of memory.
    ISkinObj* CreateSkin(const SStringW& tag) const;
    bool HasFactory(const SStringW& tag) const { return m_factories.Lookup(tag) != nullptr; }

private:
    SMap<SStringW, SSkinFactory*> m_factories;
};

}  // namespace WUI
