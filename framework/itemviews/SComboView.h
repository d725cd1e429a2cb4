// "comboview": a combo box whose list is a list view over the application's
// adapter (SetAdapter on GetListView()); the adapter's GetItemText is the
// text of a row.
#pragma once

#include "itemviews/SComboBase.h"
#include "itemviews/SListView.h"

namespace WUI {

class SComboView : public SComboBase {
    WUI_SWINDOW_CLASS(SComboView, SComboBase, L"comboview")
public:
    SComboView() = default;
    // Destroys the list.
    ~SComboView() override;

    int GetCurSel() const override;
    // 0 without an adapter.
    int GetCount() const override;
    // 0 for an index at or past the count and for the current selection.
    BOOL SetCurSel(int index) override;
    SStringW GetLBText(int index) override;
    BOOL CreateListBox(pugi::xml_node node) override;
    int GetListBoxHeight() override;
    SWindow* GetListElement() const override { return m_pListView; }
    // Null until the children are made.
    SListView* GetListView() const { return m_pListView; }

protected:
    void EnsureSelVisible() override;

private:
    SListView* m_pListView = nullptr;  // one reference, the combo's
};

}  // namespace WUI
