#include "core/SWindowFactoryMgr.h"

#include "core/SObjDefAttr.h"
#include "core/SWindow.h"

namespace WUI {

namespace {

// Room for every family the framework has, and a few of a program's own.
FnRegisterFactories g_standardSets[24];

}  // namespace

SWindowFactoryMgr::SWindowFactoryMgr() : m_factories(&SWindowFactoryMgr::DeleteFactory)
{
    RegisterStandardFactories();
}

bool SWindowFactoryMgr::RegisterFactory(const SStringW& tag, const SWindowFactory& factory)
{
    if (tag.IsEmpty() || m_factories.HasKey(tag)) return false;
    SWindowFactory* copy = factory.Clone();
    if (!copy) return false;
    if (!m_factories.InsertIfAbsent(tag, copy)) {
        delete copy;
        return false;
    }
    return true;
}

void SWindowFactoryMgr::RegisterStandardFactories()
{
    RegisterFactory<SWindow>();
    for (FnRegisterFactories fn : g_standardSets)
        if (fn) fn(*this);
}

bool SWindowFactoryMgr::AddStandardFactories(FnRegisterFactories fn)
{
    for (FnRegisterFactories existing : g_standardSets)
        if (existing == fn) return true;
    for (FnRegisterFactories& slot : g_standardSets) {
        if (slot) continue;
        slot = fn;
        return true;
    }
    return false;
}

void SWindowFactoryMgr::RemoveStandardFactories(FnRegisterFactories fn)
{
    for (FnRegisterFactories& slot : g_standardSets)
        if (slot == fn) slot = nullptr;
}

bool SWindowFactoryMgr::HasFactory(LPCWSTR tag) const
{
    return tag && m_factories.HasKey(tag);
}

SWindow* SWindowFactoryMgr::CreateWindowByName(LPCWSTR tag)
{
    SWindowFactory* const* factory = tag ? m_factories.Find(tag) : nullptr;
    if (!factory) return nullptr;
    SWindow* element = (*factory)->NewWindow();
    if (element) ApplyDefaultAttributes(element);
    return element;
}

LPCWSTR SWindowFactoryMgr::BaseClassNameFromClassName(LPCWSTR tag) const
{
    SWindowFactory* const* factory = tag ? m_factories.Find(tag) : nullptr;
    if (!factory) return nullptr;
    LPCWSTR base = (*factory)->GetBaseClassName();
    if (!base || wcscmp(base, tag) == 0) return nullptr;
    return base;
}

bool SWindowFactoryMgr::ApplyDefaultAttributes(SObject* object)
{
    SObjDefAttr* defaults = SObjDefAttr::GetSingletonPtr();
    if (!object || !defaults) return false;
    pugi::xml_node node = defaults->GetDefAttribute(object->GetClassName());
    if (!node) return false;
    return ApplyXmlAttributes(object, node);
}

}  // namespace WUI
