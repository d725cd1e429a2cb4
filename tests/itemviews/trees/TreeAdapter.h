// A tree adapter for the tree view's tests: items kept in a vector (handle =
// index + 1), each with a text, a parent, children and an expanded flag, and
// the six integers the locator keeps. Expanding tells the observers, as an
// application's adapter would. Binds are counted.
#pragma once

#include "core/SWindow.h"
#include "itemviews/ITreeAdapter.h"

#include <string>
#include <vector>

namespace treetest {

using WUI::HSTREEITEM;
using WUI::STVI_ROOT;

class TreeAdapter : public WUI::TObjRefImpl<WUI::ITreeAdapter> {
public:
    TreeAdapter() { m_root.expanded = true; }
    ~TreeAdapter() override
    {
        for (WUI::ITvDataSetObserver* o : m_observers) o->Release();
    }

    // A new item, last under parent (STVI_ROOT: top level), expanded.
    HSTREEITEM Add(const wchar_t* text, HSTREEITEM parent = STVI_ROOT)
    {
        Item item;
        item.text = text;
        item.parent = parent;
        m_items.push_back(item);
        const HSTREEITEM h = m_items.size();
        At(parent).children.push_back(h);
        return h;
    }
    // The width MeasureItem gives the item from now on; -1: the common width.
    void SetWidth(HSTREEITEM item, int w) { At(item).width = w; }
    int Observers() const { return int(m_observers.size()); }
    void NotifyChanged(HSTREEITEM item)
    {
        for (WUI::ITvDataSetObserver* o : std::vector<WUI::ITvDataSetObserver*>(m_observers)) o->OnBranchChanged(item);
    }

    void RegisterObserver(WUI::ITvDataSetObserver* o) override
    {
        o->AddRef();
        m_observers.push_back(o);
    }
    void UnregisterObserver(WUI::ITvDataSetObserver* o) override
    {
        for (size_t i = 0; i < m_observers.size(); ++i)
            if (m_observers[i] == o) {
                m_observers.erase(m_observers.begin() + i);
                o->Release();
                return;
            }
    }
    int GetItemData(HSTREEITEM item, int index) override { return At(item).data[index]; }
    void SetItemData(HSTREEITEM item, int index, int value) override { At(item).data[index] = value; }
    HSTREEITEM GetParentItem(HSTREEITEM item) override { return item == STVI_ROOT ? 0 : At(item).parent; }
    HSTREEITEM GetFirstChildItem(HSTREEITEM item) override
    {
        const Item& it = At(item);
        return it.children.empty() ? 0 : it.children.front();
    }
    HSTREEITEM GetLastChildItem(HSTREEITEM item) override
    {
        const Item& it = At(item);
        return it.children.empty() ? 0 : it.children.back();
    }
    HSTREEITEM GetPrevSiblingItem(HSTREEITEM item) override { return Sibling(item, -1); }
    HSTREEITEM GetNextSiblingItem(HSTREEITEM item) override { return Sibling(item, 1); }
    BOOL HasChildren(HSTREEITEM item) override { return !At(item).children.empty(); }
    BOOL IsItemVisible(HSTREEITEM item) override
    {
        for (HSTREEITEM up = At(item).parent; up && up != STVI_ROOT; up = At(up).parent)
            if (!At(up).expanded) return FALSE;
        return TRUE;
    }
    HSTREEITEM GetFirstVisibleItem() override { return GetFirstChildItem(STVI_ROOT); }
    HSTREEITEM GetPrevVisibleItem(HSTREEITEM item) override
    {
        HSTREEITEM prev = Sibling(item, -1);
        if (!prev) {
            const HSTREEITEM parent = At(item).parent;
            return parent == STVI_ROOT ? 0 : parent;
        }
        while (At(prev).expanded && !At(prev).children.empty()) prev = At(prev).children.back();
        return prev;
    }
    HSTREEITEM GetNextVisibleItem(HSTREEITEM item) override
    {
        if (At(item).expanded && !At(item).children.empty()) return At(item).children.front();
        for (HSTREEITEM up = item; up && up != STVI_ROOT; up = At(up).parent)
            if (HSTREEITEM next = Sibling(up, 1)) return next;
        return 0;
    }
    void ExpandItem(HSTREEITEM item, UINT code) override
    {
        Item& it = At(item);
        if (it.children.empty()) return;
        const bool was = it.expanded;
        it.expanded = code == WUI::kTvToggle ? !was : code == WUI::kTvExpand;
        if (was == it.expanded) return;
        for (WUI::ITvDataSetObserver* o : std::vector<WUI::ITvDataSetObserver*>(m_observers))
            o->OnBranchExpandStateChanged(item, was, it.expanded);
    }
    BOOL IsItemExpanded(HSTREEITEM item) override { return At(item).expanded; }
    void BindItem(HSTREEITEM item, WUI::SWindow* panel, pugi::xml_node tmpl) override
    {
        ++binds;
        if (!panel->GetChildrenCount()) panel->CreateChildren(tmpl);
        if (WUI::SWindow* text = panel->FindChildByName(L"text", -1)) text->SetWindowText(At(item).text.c_str());
    }
    int GetViewType(HSTREEITEM) override { return 0; }
    int GetViewTypeCount() override { return 1; }
    SIZE MeasureItem(HSTREEITEM item, WUI::SWindow*, const RECT*) override
    {
        const int w = At(item).width;
        return SIZE{w >= 0 ? w : width, item % 2 ? height : height + extra};
    }
    BOOL IsHorzScrollDisabled() override { return FALSE; }
    void InitFromTemplate(pugi::xml_node) override {}

    int binds = 0;
    int width = 120;
    int height = 20;
    int extra = 0;  // added to the height of items with even handles

private:
    struct Item {
        std::wstring text;
        HSTREEITEM parent = 0;
        std::vector<HSTREEITEM> children;
        bool expanded = true;
        int width = -1;
        int data[6] = {};
    };
    Item& At(HSTREEITEM h) { return h == STVI_ROOT ? m_root : m_items[h - 1]; }
    HSTREEITEM Sibling(HSTREEITEM item, int step)
    {
        const std::vector<HSTREEITEM>& kids = At(At(item).parent).children;
        for (size_t i = 0; i < kids.size(); ++i)
            if (kids[i] == item) {
                const long j = long(i) + step;
                return j >= 0 && j < long(kids.size()) ? kids[j] : 0;
            }
        return 0;
    }

    Item m_root;
    std::vector<Item> m_items;
    std::vector<WUI::ITvDataSetObserver*> m_observers;
};

}  // namespace treetest
