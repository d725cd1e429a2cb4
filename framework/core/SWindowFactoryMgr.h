// Elements by XML tag: one factory per element class, each knowing the tag of
// its class's base, and the table that the application object keeps of them.
#pragma once

#include "core/SCmnMap.h"
#include "core/TStringT.h"

#include <new>

namespace WUI {

class SObject;
class SWindow;

class SWindowFactory {
public:
    virtual ~SWindowFactory() {}
    // A new element (one reference, the caller's); null when out of memory.
    virtual SWindow* NewWindow() const = 0;
    // The tag of the class's base; null for the root class.
    virtual LPCWSTR GetBaseClassName() const = 0;
    virtual LPCWSTR GetClassName() const = 0;
    // A new factory of the same kind; null when out of memory.
    virtual SWindowFactory* Clone() const = 0;
};

// The factory of element class T, which names its tag and its base's tag
// (WUI_SWINDOW_CLASS).
template <class T>
class TplSWindowFactory : public SWindowFactory {
public:
    TplSWindowFactory() : m_tag(T::GetClassNameStatic()) {}
    SWindow* NewWindow() const override { return new (std::nothrow) T; }
    LPCWSTR GetBaseClassName() const override { return T::GetBaseClassNameStatic(); }
    LPCWSTR GetClassName() const override { return m_tag; }
    SWindowFactory* Clone() const override { return new (std::nothrow) TplSWindowFactory<T>; }

private:
    SStringW m_tag;
};

class SWindowFactoryMgr;
// Registers a library's element classes into a new table.
typedef void (*FnRegisterFactories)(SWindowFactoryMgr& mgr);

// The tag table. Tags are compared with regard to case.
class SWindowFactoryMgr {
public:
    // Registers the standard factories.
    SWindowFactoryMgr();
    virtual ~SWindowFactoryMgr() = default;
    SWindowFactoryMgr(const SWindowFactoryMgr&) = delete;
    SWindowFactoryMgr& operator=(const SWindowFactoryMgr&) = delete;

    // Stores a clone of the factory under the tag, so the caller keeps its
    // own. False when the tag is taken (the earlier factory stays), for an
    // empty tag, or when no clone could be made or kept.
    bool RegisterFactory(const SStringW& tag, const SWindowFactory& factory);
    template <class T>
    bool RegisterFactory()
    {
        return RegisterFactory(T::GetClassNameStatic(), TplSWindowFactory<T>());
    }
    // "window", then the factories of every set added with AddStandardFactories.
    void RegisterStandardFactories();

    // A new element of the tag with its class defaults applied; null for an
    // unknown tag or when out of memory.
    SWindow* CreateWindowByName(LPCWSTR tag);
    // The base's tag; null when the tag is not registered or names no other base.
    LPCWSTR BaseClassNameFromClassName(LPCWSTR tag) const;
    bool HasFactory(LPCWSTR tag) const;

    // Applies the class defaults of the object's tag, "class" first; whether
    // the defaults named a "class". Nothing (false) when the tag has none.
    static bool ApplyDefaultAttributes(SObject* object);

    // Adds a library's set of element classes to every table made from now
    // on, after "window" and in the order added (controls add theirs before
    // the application object is made). Adding a set twice does nothing;
    // false when the list is full.
    static bool AddStandardFactories(FnRegisterFactories fn);
    static void RemoveStandardFactories(FnRegisterFactories fn);

private:
    static void DeleteFactory(SWindowFactory** factory) { delete *factory; }

    SCmnMap<SWindowFactory*, SStringW> m_factories;
};

// Base chains are short; a longer one is taken for a cycle and cut there.
const int kMaxBaseChain = 32;

}  // namespace WUI
