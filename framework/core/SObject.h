// Root of every object built from an XML element: a class name that doubles
// as its tag, and attributes received as name/value text pairs.
#pragma once

#include "core/TStringT.h"

#include <pugixml.hpp>
#include <shlwapi.h>

#include <cwchar>

namespace WUI {

class SObject {
public:
    virtual ~SObject() {}
    // True for the class's own name and those of its bases.
    virtual BOOL IsClass(LPCWSTR name) const { (void)name; return FALSE; }
    virtual LPCWSTR GetClassName() const { return nullptr; }
    // Applies "class" first, then every other attribute in document order,
    // then OnInitFinished; FALSE (nothing applied) for an empty node.
    virtual BOOL InitFromXml(pugi::xml_node node);
    virtual HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
    {
        return OnUnknownAttribute(name, value, loading);
    }
    virtual HRESULT OnUnknownAttribute(const SStringW& name, const SStringW& value, BOOL loading)
    {
        (void)name, (void)value, (void)loading;
        return E_FAIL;
    }
    virtual HRESULT AfterSetAttribute(const SStringW& name, const SStringW& value, HRESULT result)
    {
        (void)name, (void)value;
        return result;
    }
    // The application's translation (empty context); the text itself while
    // no translator is installed.
    virtual SStringW TranslateText(const SStringW& text);
    virtual int GetId() const { return 0; }
    virtual LPCWSTR GetName() const { return nullptr; }
    virtual void OnInitFinished(pugi::xml_node node) { (void)node; }
};

// The attribute pass of initialisation and class defaults: "class" first, then
// every other attribute not marked consumed, in document order, with loading
// set. Returns whether the node had a "class".
bool ApplyXmlAttributes(SObject* obj, pugi::xml_node node);

// `obj` as a T when it is one by class name; null otherwise and for null.
template <class T>
T* sobj_cast(SObject* obj)
{
    if (!obj || !obj->IsClass(T::GetClassNameStatic())) return nullptr;
    return static_cast<T*>(obj);
}
template <class T>
const T* sobj_cast(const SObject* obj)
{
    if (!obj || !obj->IsClass(T::GetClassNameStatic())) return nullptr;
    return static_cast<const T*>(obj);
}

} // namespace WUI

// Class name of an SObject class; `classname` is its XML tag.
#define WUI_CLASS_NAME(theClass, baseClass, classname)                              \
public:                                                                             \
    static LPCWSTR GetClassNameStatic() { return classname; }                       \
    BOOL IsClass(LPCWSTR name) const override                                       \
    {                                                                               \
        return (name && wcscmp(name, classname) == 0) || baseClass::IsClass(name);  \
    }                                                                               \
    LPCWSTR GetClassName() const override { return classname; }

// Attribute handler: names compared without case in the order listed, an
// unmatched name goes to the base class.
#define WUI_ATTRS_BEGIN()                                                                               \
public:                                                                                                 \
    HRESULT SetAttribute(const WUI::SStringW& attrName, const WUI::SStringW& attrValue, BOOL loading) \
        override                                                                                        \
    {                                                                                                   \
        HRESULT attrResult = E_FAIL;                                                                    \
        (void)loading;

// Decimal or "0x" hexadecimal; a value that is no number gives E_FAIL and
// leaves the member alone.
#define WUI_ATTR_INT(name, member, result)                                      \
    if (_wcsicmp(attrName, name) == 0) {                                        \
        int parsed = 0;                                                         \
        if (StrToIntExW(attrValue, STIF_SUPPORT_HEX, &parsed)) {               \
            member = parsed;                                                    \
            attrResult = (result);                                              \
        }                                                                       \
    } else

#define WUI_ATTR_STRING(name, member, result)                                   \
    if (_wcsicmp(attrName, name) == 0) {                                        \
        member = attrValue;                                                     \
        attrResult = (result);                                                  \
    } else

// `handler(value, loading)` returns the result.
#define WUI_ATTR_CUSTOM(name, handler)                                          \
    if (_wcsicmp(attrName, name) == 0) {                                        \
        attrResult = handler(attrValue, loading);                               \
    } else

#define WUI_ATTRS_END(baseClass)                                                \
    {                                                                           \
        return baseClass::SetAttribute(attrName, attrValue, loading);           \
    }                                                                           \
    return AfterSetAttribute(attrName, attrValue, attrResult);                  \
    }
