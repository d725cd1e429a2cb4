// Reference-counted string dictionary that prints itself as one XML element.
#pragma once

#include "core/IObjRef.h"
#include "core/SMap.h"

namespace WUI {

struct IPropBag : IObjRef {
    // Inserts or replaces (null value = empty); FALSE for a null or empty key
    // or when no room could be had.
    virtual BOOL SetKeyValue(LPCWSTR key, LPCWSTR value) = 0;
    // The stored value, or null when the key is absent.
    virtual LPCWSTR GetValue(LPCWSTR key) const = 0;
    // Whether a key was removed.
    virtual BOOL RemoveKey(LPCWSTR key) = 0;
    virtual void RemoveAll() = 0;
    // One element "propbag" with the pairs as attributes, tab-indented.
    // FALSE, with `out` emptied, when the text does not fit the print buffer.
    virtual BOOL ToXml(SStringW* out) const = 0;
    virtual ~IPropBag() {}
};

class SPropBag : public TObjRefImpl<IPropBag> {
public:
    BOOL SetKeyValue(LPCWSTR key, LPCWSTR value) override;
    LPCWSTR GetValue(LPCWSTR key) const override;
    BOOL RemoveKey(LPCWSTR key) override;
    void RemoveAll() override;
    BOOL ToXml(SStringW* out) const override;

    UINT GetCount() const { return m_map.GetCount(); }

private:
    SMap<SStringW, SStringW> m_map;
};

} // namespace WUI
