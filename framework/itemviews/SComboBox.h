// "combobox": a combo box whose list is a list box of text rows, listed in
// the layout under "items" or added by call.
#pragma once

#include "itemviews/SComboBase.h"
#include "itemviews/SListBox.h"

namespace WUI {

class SComboBox : public SComboBase {
    WUI_SWINDOW_CLASS(SComboBox, SComboBase, L"combobox")
public:
    SComboBox() = default;
    // Destroys the list.
    ~SComboBox() override;

    int GetCurSel() const override;
    int GetCount() const override;
    BOOL SetCurSel(int index) override;
    SStringW GetLBText(int index) override;
    BOOL CreateListBox(pugi::xml_node node) override;
    int GetListBoxHeight() override;
    SWindow* GetListElement() const override { return m_pListBox; }
    // Null until the children are made.
    SListBox* GetListBox() const { return m_pListBox; }

    // On the list box; -1 or 0 before the children are made.
    int AddString(LPCWSTR text, int icon = -1, LPARAM data = 0);
    int InsertString(int index, LPCWSTR text, int icon = -1, LPARAM data = 0);
    BOOL DeleteString(int index);
    void ResetContent();

protected:
    void EnsureSelVisible() override;

private:
    SListBox* m_pListBox = nullptr;  // one reference, the combo's
};

}  // namespace WUI
