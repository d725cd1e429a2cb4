// A stand-in for an item view: rows of one height, one item panel each,
// sized, painted and given up as a list view does. It answers what its
// panels ask (IItemContainer) and records it.
#pragma once

#include "itemviews/SItemPanel.h"

#include <vector>

namespace itemtest {

class RowView : public WUI::SWindow, public WUI::IItemContainer {
public:
    explicit RowView(int rowHeight = 30) : m_rowHeight(rowHeight) {}

    // A panel for the next row, built from the template text (none: an
    // empty panel), shown and sized to the row; null when it cannot be made.
    WUI::SItemPanel* AddRow(const wchar_t* templateXml = nullptr);
    WUI::SItemPanel* Row(int index) const { return m_rows[index]; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    // Gives the row's panel up (DestroyWindow), as a view drops one.
    void DropRow(int index);
    // The row's rectangle, as GetItemRect answers it.
    RECT RowRect(int index) const;

    void SetItemCapture(WUI::SItemPanel* panel, bool capture) override;
    BOOL GetItemRect(WUI::SItemPanel* panel, RECT* out) override;
    BOOL DefersItemRedraw() override { return defers; }
    void RelayoutItem(WUI::SItemPanel* panel) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnPaint)
        WUI_MSG_WM_DESTROY(OnViewDestroy)
    WUI_SWND_MSG_MAP_END(WUI::SWindow)

    BOOL defers = TRUE;
    int scroll = 0;  // vertical scroll position
    int relayouts = 0;
    // Each SetItemCapture: the row's index, and whether it took the capture.
    struct CaptureCall {
        int row;
        bool capture;
    };
    std::vector<CaptureCall> captureCalls;

private:
    void OnPaint(WUI::IRenderTarget* rt);
    void OnViewDestroy();

    int m_rowHeight;
    std::vector<WUI::SItemPanel*> m_rows;  // one reference each; null once dropped
};

}  // namespace itemtest
