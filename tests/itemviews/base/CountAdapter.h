// A list adapter of n rows that binds nothing: what locators read (the
// count) and what a view needs to hold an adapter. It notes its own end.
#pragma once

#include "itemviews/IListAdapter.h"

namespace itemtest {

class CountAdapter : public WUI::TObjRefImpl<WUI::IListAdapter> {
public:
    // destroyed, when given, is set once the adapter is deleted.
    explicit CountAdapter(int n, bool* destroyed = nullptr) : count(n), m_destroyed(destroyed) {}
    ~CountAdapter() override
    {
        if (m_destroyed) *m_destroyed = true;
    }

    void RegisterObserver(WUI::ILvDataSetObserver*) override {}
    void UnregisterObserver(WUI::ILvDataSetObserver*) override {}
    int GetCount() override { return count; }
    void BindItem(int, WUI::SWindow*, pugi::xml_node) override {}
    int GetViewType(int, DWORD) override { return 0; }
    int GetViewTypeCount() override { return 1; }
    SIZE MeasureItem(int, WUI::SWindow*, const RECT*) override { return SIZE{0, 0}; }
    WUI::SStringW GetItemText(int) override { return WUI::SStringW(); }
    void InitFromTemplate(pugi::xml_node) override {}

    int count;

private:
    bool* m_destroyed;
};

}  // namespace itemtest
