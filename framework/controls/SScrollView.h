// "scrollview": a panel showing part of a larger view. The children lay out
// in the view, which the bars move under the client area; the view's size is
// fixed ("viewSize") or follows what the children measure.
#pragma once

#include "controls/SPanel.h"

namespace WUI {

class SScrollView : public SPanel {
    WUI_SWINDOW_CLASS(SScrollView, SPanel, L"scrollview")
public:
    // Clips the children to the client area.
    SScrollView();

    // A new size sets the bars and fires EventScrollViewSizeChanged; the
    // same size does nothing.
    void SetViewSize(SIZE size);
    SIZE GetViewSize() const { return m_szView; }
    // Moves the view as far as the bars allow (a view that fits stays at 0),
    // lays the children out again and fires EventScrollViewOriginChanged;
    // nothing when the origin does not change.
    void SetViewOrigin(POINT origin);
    POINT GetViewOrigin() const { return m_ptOrigin; }
    // Shows the bars the view needs in the element's area and sets their
    // ranges and pages; positions are held in the new ranges.
    void UpdateScrollBar();
    BOOL IsViewSizeRelative() const { return m_bViewSizeRelative; }

    // The view moves with its bar; then EventScroll.
    BOOL OnScroll(BOOL vertical, UINT code, int pos) override;
    // The view, placed at the client area's top-left less the origin.
    RECT GetChildrenLayoutRect() const override;

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_WM_SIZE(OnViewWndSize)
    WUI_SWND_MSG_MAP_END(SPanel)

protected:
    virtual void OnViewSizeChanged(SIZE oldSize, SIZE newSize);
    virtual void OnViewOriginChanged(POINT oldOrigin, POINT newOrigin);
    void OnViewWndSize(UINT type, SIZE size);

private:
    // Sets one bar: shown or not, range 0..extent - 1 and the page.
    void SetBar(BOOL vertical, BOOL show, int extent, int page);
    // The view size that the children measure to in a client of that size.
    SIZE MeasureView(SIZE client);
    HRESULT OnAttrViewSize(const SStringW& value, BOOL loading);
    HRESULT OnAttrOrigin(const SStringW& value, BOOL loading, BOOL vertical);

    BOOL m_bViewSizeRelative = FALSE;
    SIZE m_szView = {0, 0};
    POINT m_ptOrigin = {0, 0};
    BOOL m_bMovingOrigin = FALSE;  // inside SetViewOrigin: the bars follow the origin
};

}  // namespace WUI
