// A list adapter for the views' tests: n rows whose panels get a "text"
// child from the template, binds and measures counted, observers kept
// with a reference and notified over a snapshot (as an adapter should:
// a notification may unregister observers). Hooks let a test act from
// inside the adapter's calls.
#pragma once

#include "core/SWindow.h"
#include "core/XmlLookup.h"
#include "itemviews/IListAdapter.h"

#include <functional>
#include <vector>

namespace viewtest {

class RowsAdapter : public WUI::TObjRefImpl<WUI::IListAdapter> {
public:
    explicit RowsAdapter(int n, bool* destroyed = nullptr) : count(n), m_destroyed(destroyed) {}
    ~RowsAdapter() override
    {
        for (WUI::ILvDataSetObserver* o : m_observers) o->Release();
        if (m_destroyed) *m_destroyed = true;
    }

    void RegisterObserver(WUI::ILvDataSetObserver* observer) override
    {
        observer->AddRef();
        m_observers.push_back(observer);
    }
    void UnregisterObserver(WUI::ILvDataSetObserver* observer) override
    {
        if (keepObservers) return;  // a careless adapter: it goes on notifying
        for (size_t i = 0; i < m_observers.size(); ++i)
            if (m_observers[i] == observer) {
                m_observers.erase(m_observers.begin() + i);
                observer->Release();
                return;
            }
    }
    int Observers() const { return static_cast<int>(m_observers.size()); }
    // Tells every observer the rows changed.
    void NotifyChanged()
    {
        std::vector<WUI::ILvDataSetObserver*> snapshot = m_observers;
        for (WUI::ILvDataSetObserver* o : snapshot) o->AddRef();
        for (WUI::ILvDataSetObserver* o : snapshot) o->OnDataSetChanged();
        for (WUI::ILvDataSetObserver* o : snapshot) o->Release();
    }

    int GetCount() override { return count; }
    void BindItem(int position, WUI::SWindow* panel, pugi::xml_node tmpl) override
    {
        ++binds;
        boundRows.push_back(position);
        if (!panel->GetChildrenCount()) panel->CreateChildren(tmpl);
        if (!selectedColor.IsEmpty()) panel->SetAttribute(L"colorSelected", selectedColor, FALSE);
        if (WUI::SWindow* text = panel->FindChildByName(L"text", -1)) {
            wchar_t buf[32];
            wsprintfW(buf, L"row %d", position);
            text->SetWindowText(buf);
        }
        if (onBind) onBind(position);
    }
    int GetViewType(int position, DWORD state) override { return viewType ? viewType(position, state) : 0; }
    int GetViewTypeCount() override { return types; }
    SIZE MeasureItem(int position, WUI::SWindow*, const RECT* area) override
    {
        ++measures;
        return SIZE{area->right, height ? height(position) : 30};
    }
    WUI::SStringW GetItemText(int position) override
    {
        wchar_t buf[32];
        wsprintfW(buf, L"item %d", position);
        return buf;
    }
    void InitFromTemplate(pugi::xml_node) override { ++inits; }

    int count;
    int types = 1;
    bool keepObservers = false;
    WUI::SStringW selectedColor;  // the panels' "colorSelected", when set
    int binds = 0;
    int measures = 0;
    int inits = 0;
    std::vector<int> boundRows;
    std::function<void(int)> onBind;
    std::function<int(int, DWORD)> viewType;
    std::function<int(int)> height;

private:
    std::vector<WUI::ILvDataSetObserver*> m_observers;
    bool* m_destroyed;
};

}  // namespace viewtest
