// "tileview": the items of a list adapter as equal tiles in rows, as many
// per row as fit the client width, rows scrolling vertically. The tiles'
// size comes from the "template" child ("itemWidth", "itemHeight", both
// above 0), the margin around and between them from "marginSize". Panels,
// selection, mouse and focus work as in the list view; the arrow keys move
// in two directions.
#pragma once

#include "itemviews/SListView.h"
#include "itemviews/STileViewItemLocator.h"

namespace WUI {

class STileView : public SListView {
    WUI_SWINDOW_CLASS(STileView, SPanel, L"tileview")
public:
    STileView() = default;

    // False without a locator (a template without both tile sizes);
    // otherwise as the list view, the columns fitted to the width first.
    bool SetAdapter(IListAdapter* adapter);
    // Scrolls the least that shows the whole tile; nothing for a bad index.
    void EnsureVisible(int index);
    // Null until a template with both sizes was read.
    STileViewItemLocator* GetTileLocator() const { return m_tiles; }
    int GetColumns() const { return m_tiles ? m_tiles->GetColumns() : 0; }

    // "marginSize" (negative counts as 0), then the list view's.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Reads the "template" child; no child elements.
    BOOL CreateChildren(pugi::xml_node node) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_HANDLER(WM_KEYDOWN, OnTileKeyDown)
        WUI_MSG_WM_SIZE(OnTileSize)
    WUI_SWND_MSG_MAP_END(SListView)

protected:
    RECT RowRect(int index) const override;
    int GetRowWidth() const override;
    int NextRowTop(int index, int top, int height) override;
    // Tiles keep margins between them, no dividers.
    int DividerStripHeight() override { return 0; }

private:
    LRESULT OnTileKeyDown(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnTileSize(UINT type, SIZE size);
    // The tile to select for a navigation key; -1 for none (or another key).
    int NavigationTarget(UINT vk);
    void ChooseTile(int index);
    void FitColumns();

    SAutoRefPtr<STileViewItemLocator> m_tiles;
    int m_nMarginSize = 0;
};

}  // namespace WUI
