// The tab control ("tabctrl") shows one of its pages ("page") at a time and
// draws a strip of tabs along one of its edges, one tab per page. Tabs follow
// the mouse and the keyboard, give their pages' tooltips, and with
// "animateSteps" the change of page slides over that many animation ticks.
#pragma once

#include "controls/TabEvents.h"
#include "core/SArray.h"
#include "core/SWindow.h"

namespace WUI {

class STabSlider;

class STabPage : public SWindow {
    WUI_SWINDOW_CLASS(STabPage, SWindow, L"page")
public:
    // A page starts hidden: its tab control shows it.
    STabPage();

    // "title" (a named string, translated) and "iconIndex".
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // The page's tip belongs to its tab: the page itself shows none.
    BOOL GetToolTipInfo(POINT, SwndToolTipInfo&) override { return FALSE; }

    const SStringW& GetTitle() const { return m_strTitle; }
    void SetTitle(const SStringW& title) { m_strTitle = title; }
    // -1: the tab's index chooses the icon.
    int GetIconIndex() const { return m_iIcon; }
    void SetIconIndex(int index) { m_iIcon = index; }

private:
    SStringW m_strTitle;
    int m_iIcon = -1;
};

class STabCtrl : public SWindow {
    WUI_SWINDOW_CLASS(STabCtrl, SWindow, L"tabctrl")
    friend class STabSlider;

public:
    enum TabAlign { AlignTop = 0, AlignLeft = 1, AlignBottom = 2, AlignRight = 3 };
    enum TextDir { TextHorizontal = 0, TextVertical = 1 };

    // The built-in tab skin; focusable; the four tab events.
    STabCtrl();

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // A tab width or height still -1 takes the tab skin's.
    void OnInitFinished(pugi::xml_node node) override;
    void SetColorizeColor(COLORREF color) override;
    // Every "page" child becomes a page (other nodes are ignored); then a
    // selection out of range becomes 0 (-1 without pages) and its page shows.
    BOOL CreateChildren(pugi::xml_node node) override;
    // The tab under the point with its page's tip; false when there is no
    // tab there or its page has no tip.
    BOOL GetToolTipInfo(POINT pt, SwndToolTipInfo& info) override;
    // The arrow keys are the control's own.
    UINT GetDlgCode() const override { return 1; }
    // Every page fills the page area.
    void LayoutChildren() override;
    // The client rect less the tab strip.
    RECT GetChildrenLayoutRect() const override;
    void BeforePaint(IRenderTarget* rt, SPaintState& saved) override;

    // ---- pages ----
    // A page built from a "page" node, put at index (-1, or any index past
    // the end, appends). After loading it is hidden and placed, the
    // selection follows it, and a control without a selection selects it.
    // Its index, or -1 for another node or when no page can be made.
    virtual int InsertItem(pugi::xml_node node, int index = -1, BOOL loading = FALSE);
    // The same from XML text: its first element; -1 when the text does not parse.
    virtual int InsertItem(LPCWSTR xml, int index = -1);
    // Destroys the page (a running slide is finished first). When it was
    // the current page, selects `selAfter` clamped to the pages left.
    // 0 for a bad index.
    BOOL RemoveItem(int index, int selAfter = 0);
    // Destroys every page; no selection remains.
    void RemoveAllItems();
    int GetItemCount() const { return m_pages.GetCount(); }
    // Null outside 0..count-1.
    STabPage* GetItem(int index) const;
    // The first page whose title (byTitle) or name is exactly text; -1 / null when none.
    int GetPageIndex(LPCWSTR text, BOOL byTitle) const;
    STabPage* GetPage(LPCWSTR text, BOOL byTitle) const;
    // 0 for a bad index; stores the title and redraws the strip.
    BOOL SetItemTitle(int index, LPCWSTR title);

    // ---- selection ----
    // -1 only without pages.
    int GetCurSel() const { return m_nCurrentPage; }
    // 1 when the selection moved. Refused (0) for an index out of range,
    // the current one, or a change a handler of the changing event vetoed.
    BOOL SetCurSel(int index);
    // By page title or name; 0 when no page matches.
    BOOL SetCurSel(LPCWSTR text, BOOL byTitle);

    // ---- geometry ----
    // The tab whose rectangle holds the point; -1 when none.
    int HitTest(POINT pt);
    using SWindow::HitTest;
    // The strip along the tab side.
    virtual RECT GetTitleRect() const;
    // Tab index's rectangle, clipped to the strip; false (rect untouched)
    // for an index out of range.
    virtual BOOL GetItemRect(int index, RECT& rect) const;
    // One tab: skin, icon and title. Nothing for an empty rect.
    virtual void DrawItem(IRenderTarget* rt, const RECT& rect, int index, DWORD state);

    // Whether a slide runs now.
    BOOL IsSliding() const { return m_slider != nullptr; }
    STabSlider* GetSlider() const { return m_slider; }
    int GetTabAlign() const { return m_nTabAlign; }
    int GetAnimateSteps() const { return m_nAnimateSteps; }
    int GetHoverIndex() const { return m_nHoverTabItem; }
    SIZE GetTabSize() const { return SIZE{m_nTabWidth, m_nTabHeight}; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnTabPaint)
        WUI_MSG_MOUSE(WM_LBUTTONDOWN, OnTabLButtonDown)
        WUI_MSG_MOUSE(WM_MOUSEMOVE, OnTabMouseMove)
        WUI_MSG_VOID(WM_MOUSELEAVE, OnTabMouseLeave)
        WUI_MSG_HANDLER(WM_KEYDOWN, OnTabKeyDown)
        WUI_MSG_WM_DESTROY(OnTabDestroy)
    WUI_SWND_MSG_MAP_END(SWindow)

protected:
    // Called after a page went in and before one goes out; nothing here.
    virtual void OnItemInserted(STabPage* page) { (void)page; }
    virtual void OnItemRemoved(STabPage* page) { (void)page; }
    // A new page for a "page" node (not yet in the tree); null for any other node.
    virtual STabPage* CreatePageFromXml(pugi::xml_node node);

private:
    void OnTabPaint(IRenderTarget* rt);
    void OnTabLButtonDown(UINT flags, POINT pt);
    void OnTabMouseMove(UINT flags, POINT pt);
    void OnTabMouseLeave();
    LRESULT OnTabKeyDown(UINT msg, WPARAM key, LPARAM);
    void OnTabDestroy();

    void UpdateHover(POINT pt);
    void InvalidateItem(int index);
    void InvalidateTitle();
    // Ends a running slide: the slider goes, the current page shows.
    void FinishSlide();
    // The page at index is destroyed and leaves the array.
    void DestroyPage(int index);
    void DrawTitle(IRenderTarget* rt, const RECT& rect, const SStringW& title);
    HRESULT OnAttrTabAlign(const SStringW& value);
    HRESULT OnAttrTextDir(const SStringW& value);
    HRESULT OnAttrTabSize(const SStringW& value);

    int m_nHoverTabItem = -1;
    int m_nCurrentPage = 0;
    int m_nTabInterSize = 0;
    int m_nTabWidth = -1;
    int m_nTabHeight = -1;
    int m_nTabPos = 0;
    ISkinObj* m_pSkinTab = nullptr;  // skins belong to the skin pool
    ISkinObj* m_pSkinIcon = nullptr;
    ISkinObj* m_pSkinTabInter = nullptr;
    ISkinObj* m_pSkinFrame = nullptr;
    int m_nIconX = 0;
    int m_nIconY = 0;
    int m_nTextX = -1;
    int m_nTextY = -1;
    int m_nTabAlign = AlignTop;
    SArray<SAutoRefPtr<STabPage>> m_pages;
    STabSlider* m_slider = nullptr;  // a child of this control while it lives
    int m_txtDir = TextHorizontal;
    int m_nAnimateSteps = 0;
};

}  // namespace WUI
