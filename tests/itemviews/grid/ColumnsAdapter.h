// A multi-column adapter for the tests: rows whose panels hold texts "c0",
// "c1", "c2" (made from the template), one per column number, showing the
// given texts or else the number row * 10 + column; sorting is recorded and
// answered as a test sets (the rows themselves never move).
#pragma once

#include "core/SWindow.h"
#include "itemviews/IListAdapter.h"
#include "itemviews/SHeaderCtrl.h"

#include <array>
#include <string>
#include <vector>

namespace gridtest {

class ColumnsAdapter : public WUI::TObjRefImpl<WUI::IColumnListAdapter> {
public:
    explicit ColumnsAdapter(int n) : count(n) {}
    void RegisterObserver(WUI::ILvDataSetObserver*) override {}
    void UnregisterObserver(WUI::ILvDataSetObserver*) override {}
    int GetCount() override { return count; }
    void BindItem(int position, WUI::SWindow* panel, pugi::xml_node tmpl) override
    {
        ++binds;
        if (!panel->GetChildrenCount()) panel->CreateChildren(tmpl);
        if (!selectedColor.IsEmpty()) panel->SetAttribute(L"colorSelected", selectedColor, FALSE);
        for (int column = 0; column < 3; ++column) {
            WUI::SWindow* cell = panel->FindChildByName(GetColumnName(column));
            if (!cell) continue;
            const std::wstring text = position < int(texts.size()) ? texts[position][column]
                                                                   : std::to_wstring(position * 10 + column);
            cell->SetWindowText(WUI::SStringW(text.c_str()));
        }
    }
    int GetViewType(int, DWORD) override { return 0; }
    int GetViewTypeCount() override { return 1; }
    SIZE MeasureItem(int, WUI::SWindow*, const RECT* area) override { return SIZE{area->right, 30}; }
    WUI::SStringW GetItemText(int) override { return WUI::SStringW(); }
    void InitFromTemplate(pugi::xml_node) override {}
    WUI::SStringW GetColumnName(int column) override
    {
        WUI::SStringW name;
        name.Format(L"c%d", column);
        return name;
    }
    // The clicked column's mark turns from up to down (or to up), the others' go.
    bool SortByColumn(int column, UINT* flags, int n) override
    {
        sortedColumn = column;
        given.assign(flags, flags + n);
        if (!allowSort) return false;
        const UINT next = flags[column] == WUI::ST_UP ? WUI::ST_DOWN : WUI::ST_UP;
        for (int i = 0; i < n; ++i) flags[i] = WUI::ST_NULL;
        flags[column] = next;
        return true;
    }

    int count;
    std::vector<std::array<std::wstring, 3>> texts;
    WUI::SStringW selectedColor;  // the panels' "colorSelected", when set
    int binds = 0;
    bool allowSort = true;
    int sortedColumn = -1;
    std::vector<UINT> given;
};

}  // namespace gridtest
