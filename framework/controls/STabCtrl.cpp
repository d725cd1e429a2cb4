#include "controls/STabCtrl.h"

#include "controls/ControlAttr.h"
#include "controls/STabSlider.h"
#include "core/SApplication.h"
#include "core/XmlMarks.h"

namespace WUI {

// ---- STabPage ----

STabPage::STabPage()
{
    m_dwFlags &= ~kFlagVisible;
}

HRESULT STabPage::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"title") == 0) {
        SApplication* app = SApplication::GetSingletonPtr();
        m_strTitle = TranslateText(app ? app->GetString(value) : value);
        return S_FALSE;
    }
    if (_wcsicmp(name, L"iconIndex") == 0) return AttrParseInt(value, m_iIcon) ? S_FALSE : E_FAIL;
    return SWindow::SetAttribute(name, value, loading);
}

// ---- STabCtrl: attributes ----

STabCtrl::STabCtrl()
{
    m_pSkinTab = BuiltinSkin(kSkinSysTabPage);
    m_dwFlags |= kFlagFocusable;
    m_evtSet.AddEvent<EventTabSelChanging>();
    m_evtSet.AddEvent<EventTabSelChanged>();
    m_evtSet.AddEvent<EventTabItemHover>();
    m_evtSet.AddEvent<EventTabItemLeave>();
}

HRESULT STabCtrl::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr;
    static const MemberAttr<STabCtrl, int> ints[] = {
        {L"tabInterSize", &STabCtrl::m_nTabInterSize, S_OK},
        {L"tabPos", &STabCtrl::m_nTabPos, S_OK},
        {L"animateSteps", &STabCtrl::m_nAnimateSteps, S_FALSE},
    };
    if (SetIntAttr(this, ints, name, value, hr)) return AfterSetAttribute(name, value, hr);
    static const MemberAttr<STabCtrl, ISkinObj*> skins[] = {
        {L"tabSkin", &STabCtrl::m_pSkinTab, S_OK},
        {L"iconSkin", &STabCtrl::m_pSkinIcon, S_OK},
        {L"tabInterSkin", &STabCtrl::m_pSkinTabInter, S_OK},
        {L"frameSkin", &STabCtrl::m_pSkinFrame, S_OK},
    };
    if (SetSkinAttr(this, skins, name, value, hr)) return AfterSetAttribute(name, value, hr);

    struct IntField {
        LPCWSTR name;
        int* field;
    } const fields[] = {
        {L"tabWidth", &m_nTabWidth}, {L"tabHeight", &m_nTabHeight}, {L"icon-x", &m_nIconX},
        {L"icon-y", &m_nIconY},   {L"text-x", &m_nTextX},    {L"text-y", &m_nTextY},
    };
    for (const IntField& f : fields) {
        if (_wcsicmp(name, f.name) != 0) continue;
        hr = AttrParseInt(value, *f.field) ? S_OK : E_FAIL;
        if (SUCCEEDED(hr) && !loading) InvalidateLayout();
        return AfterSetAttribute(name, value, hr);
    }
    if (_wcsicmp(name, L"curSel") == 0) {
        int sel;
        if (!AttrParseInt(value, sel)) return E_FAIL;
        if (loading) m_nCurrentPage = sel;
        else SetCurSel(sel);
        return S_FALSE;
    }
    if (_wcsicmp(name, L"tabSize") == 0) return AfterSetAttribute(name, value, OnAttrTabSize(value));
    if (_wcsicmp(name, L"tabAlign") == 0) return AfterSetAttribute(name, value, OnAttrTabAlign(value));
    if (_wcsicmp(name, L"textDir") == 0) return AfterSetAttribute(name, value, OnAttrTextDir(value));
    return SWindow::SetAttribute(name, value, loading);
}

HRESULT STabCtrl::OnAttrTabSize(const SStringW& value)
{
    int size[2];
    if (AttrParseIntList(value, size, 2, INT_MIN, INT_MAX) != 2) return E_FAIL;
    m_nTabWidth = size[0];
    m_nTabHeight = size[1];
    return S_OK;
}

HRESULT STabCtrl::OnAttrTabAlign(const SStringW& value)
{
    static const LPCWSTR words[] = {L"top", L"left", L"bottom", L"right"};
    for (int i = 0; i < 4; ++i) {
        if (wcscmp(value, words[i]) != 0) continue;
        m_nTabAlign = i;
        InvalidateLayout();
        return S_OK;
    }
    return E_FAIL;
}

HRESULT STabCtrl::OnAttrTextDir(const SStringW& value)
{
    if (wcscmp(value, L"hori") == 0 || wcscmp(value, L"horizontal") == 0) m_txtDir = TextHorizontal;
    else if (wcscmp(value, L"vert") == 0 || wcscmp(value, L"vertical") == 0) m_txtDir = TextVertical;
    else return E_FAIL;
    return S_OK;
}

void STabCtrl::OnInitFinished(pugi::xml_node node)
{
    SWindow::OnInitFinished(node);
    if (!m_pSkinTab) return;
    const SIZE skin = m_pSkinTab->GetSkinSize();
    if (m_nTabWidth == -1) m_nTabWidth = skin.cx;
    if (m_nTabHeight == -1) m_nTabHeight = skin.cy;
}

void STabCtrl::SetColorizeColor(COLORREF color)
{
    if (color == m_crColorize) return;
    SWindow::SetColorizeColor(color);
    ColorizeSkin(m_pSkinIcon, color);
    ColorizeSkin(m_pSkinTab, color);
    ColorizeSkin(m_pSkinTabInter, color);
    ColorizeSkin(m_pSkinFrame, color);
}

// ---- pages ----

STabPage* STabCtrl::CreatePageFromXml(pugi::xml_node node)
{
    if (wcscmp(node.name(), L"page") != 0) return nullptr;
    SApplication* app = SApplication::GetSingletonPtr();
    SWindow* made = app ? app->CreateWindowByName(L"page") : nullptr;
    STabPage* page = sobj_cast<STabPage>(made);
    if (!page && made) made->Release();
    return page;
}

int STabCtrl::InsertItem(pugi::xml_node node, int index, BOOL loading)
{
    STabPage* page = CreatePageFromXml(node);
    if (!page) return -1;
    SAutoRefPtr<SWindow> keep(this);
    // The page's own handlers may run while it is built.
    SAutoRefPtr<STabPage> hold(page);
    if (!page->GetSwnd() || !InsertChild(page)) {
        page->Release();
        return -1;
    }
    if (!page->InitFromXml(node) || page->GetParent() != this) return -1;  // refused: its parent destroyed it
    page->GetLayout().SetFitParent(kAxisBoth);
    // -1 and indexes past the end append: the real position counts from here on.
    if (index < 0 || index > m_pages.GetCount()) index = m_pages.GetCount();
    if (!m_pages.InsertAt(index, hold)) {
        DestroyChild(page);
        return -1;
    }
    if (!loading) {
        const RECT area = GetChildrenLayoutRect();
        page->Move(&area);
        page->SetVisible(FALSE);
        if (m_nCurrentPage != -1 && m_nCurrentPage >= index) ++m_nCurrentPage;
        InvalidateTitle();
        if (m_nCurrentPage == -1) SetCurSel(index);
    }
    OnItemInserted(page);
    return index;
}

int STabCtrl::InsertItem(LPCWSTR xml, int index)
{
    pugi::xml_document doc;
    if (!xml || !doc.load_string(xml)) return -1;
    return InsertItem(doc.first_child(), index, FALSE);
}

BOOL STabCtrl::CreateChildren(pugi::xml_node node)
{
    SAutoRefPtr<SWindow> keep(this);
    for (pugi::xml_node c = node.first_child(); c && !m_bDestroyed; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && !XmlGetMark(c)) InsertItem(c, -1, TRUE);
    }
    if (m_nCurrentPage < 0 || m_nCurrentPage >= m_pages.GetCount()) m_nCurrentPage = 0;
    if (m_pages.GetCount() == 0) m_nCurrentPage = -1;
    if (STabPage* page = GetItem(m_nCurrentPage)) page->SetVisible(TRUE);
    return TRUE;
}

void STabCtrl::DestroyPage(int index)
{
    SAutoRefPtr<STabPage> page = m_pages[index];
    OnItemRemoved(page);
    DestroyChild(page);
    // A handler may have changed the array meanwhile: the page goes by identity.
    const int at = m_pages.Find(page);
    if (at >= 0) m_pages.RemoveAt(at);
}

BOOL STabCtrl::RemoveItem(int index, int selAfter)
{
    if (index < 0 || index >= m_pages.GetCount()) return FALSE;
    SAutoRefPtr<SWindow> keep(this);
    FinishSlide();  // the slide may show the page that goes
    DestroyPage(index);
    m_nHoverTabItem = -1;  // the tabs after it moved
    if (index == m_nCurrentPage) {
        m_nCurrentPage = -1;
        const int last = m_pages.GetCount() - 1;
        SetCurSel(selAfter < 0 ? 0 : (selAfter > last ? last : selAfter));
    } else if (index < m_nCurrentPage) {
        --m_nCurrentPage;
    }
    InvalidateTitle();
    return TRUE;
}

void STabCtrl::RemoveAllItems()
{
    SAutoRefPtr<SWindow> keep(this);
    FinishSlide();
    for (int i = m_pages.GetCount() - 1; i >= 0; --i) {
        if (i < m_pages.GetCount()) DestroyPage(i);
    }
    m_nCurrentPage = -1;
    m_nHoverTabItem = -1;
    Invalidate();
}

STabPage* STabCtrl::GetItem(int index) const
{
    if (index < 0 || index >= m_pages.GetCount()) return nullptr;
    return m_pages[index];
}

int STabCtrl::GetPageIndex(LPCWSTR text, BOOL byTitle) const
{
    if (!text) return -1;
    for (int i = 0; i < m_pages.GetCount(); ++i) {
        const STabPage* page = m_pages[i];
        LPCWSTR key = byTitle ? page->GetTitle().c_str() : page->GetName();
        if (key && wcscmp(key, text) == 0) return i;
    }
    return -1;
}

STabPage* STabCtrl::GetPage(LPCWSTR text, BOOL byTitle) const
{
    return GetItem(GetPageIndex(text, byTitle));
}

BOOL STabCtrl::SetItemTitle(int index, LPCWSTR title)
{
    STabPage* page = GetItem(index);
    if (!page) return FALSE;
    page->SetTitle(title ? title : L"");
    InvalidateTitle();
    return TRUE;
}

// ---- selection ----

BOOL STabCtrl::SetCurSel(int index)
{
    if (index < 0 || index >= m_pages.GetCount() || index == m_nCurrentPage) return FALSE;
    SAutoRefPtr<SWindow> keep(this);  // a handler may destroy the control
    const int old = m_nCurrentPage;
    EventTabSelChanging changing(this, old, index);
    FireEvent(changing);
    if (changing.bCancel || m_bDestroyed) return FALSE;
    // The handler may have changed the pages.
    if (index >= m_pages.GetCount() || m_nCurrentPage != old) return FALSE;

    InvalidateItem(old);
    FinishSlide();
    // The page the slide's end showed has handlers too.
    if (m_bDestroyed || index >= m_pages.GetCount() || m_nCurrentPage != old) return FALSE;
    const SAutoRefPtr<STabPage> oldPage = GetItem(old);
    const SAutoRefPtr<STabPage> newPage = GetItem(index);
    m_nCurrentPage = index;
    if (m_nAnimateSteps > 0 && oldPage && IsVisible(TRUE) && IsPlaced()) {
        const SAutoRefPtr<STabSlider> slider(new STabSlider(this, old, index, m_nAnimateSteps));
        m_slider = slider;
        slider->Start();
        // Without ticks the slide would never end: the page shows at once.
        if (m_slider == slider && !slider->IsTicking()) FinishSlide();
    } else {
        if (oldPage) oldPage->SetVisible(FALSE, TRUE);
        if (!m_bDestroyed && GetItem(m_nCurrentPage) == newPage) newPage->SetVisible(TRUE, TRUE);
    }
    // The pages' visibility handlers may have destroyed the control or
    // moved the selection: the page chosen is followed, not its index.
    if (m_bDestroyed || GetItem(m_nCurrentPage) != newPage) return FALSE;
    InvalidateItem(m_nCurrentPage);
    EventTabSelChanged changed(this, old, m_nCurrentPage);
    FireEvent(changed);
    return TRUE;
}

BOOL STabCtrl::SetCurSel(LPCWSTR text, BOOL byTitle)
{
    const int index = GetPageIndex(text, byTitle);
    return index >= 0 && SetCurSel(index);
}

void STabCtrl::FinishSlide()
{
    if (!m_slider) return;
    SAutoRefPtr<STabSlider> slider(m_slider);
    m_slider = nullptr;
    DestroyChild(slider);
    if (STabPage* page = GetItem(m_nCurrentPage)) page->SetVisible(TRUE, TRUE);
}

// ---- geometry ----

RECT STabCtrl::GetTitleRect() const
{
    RECT rc = GetClientRect();
    switch (m_nTabAlign) {
    case AlignLeft: rc.right = rc.left + m_nTabWidth; break;
    case AlignBottom: rc.top = rc.bottom - m_nTabHeight; break;
    case AlignRight: rc.left = rc.right - m_nTabWidth; break;
    default: rc.bottom = rc.top + m_nTabHeight; break;
    }
    return rc;
}

RECT STabCtrl::GetChildrenLayoutRect() const
{
    RECT rc = GetClientRect();
    switch (m_nTabAlign) {
    case AlignLeft: rc.left += m_nTabWidth; break;
    case AlignBottom: rc.bottom -= m_nTabHeight; break;
    case AlignRight: rc.right -= m_nTabWidth; break;
    default: rc.top += m_nTabHeight; break;
    }
    return rc;
}

BOOL STabCtrl::GetItemRect(int index, RECT& rect) const
{
    if (index < 0 || index >= m_pages.GetCount()) return FALSE;
    const RECT title = GetTitleRect();
    RECT rc = {title.left, title.top, title.left + m_nTabWidth, title.top + m_nTabHeight};
    if (m_nTabAlign == AlignLeft || m_nTabAlign == AlignRight) ::OffsetRect(&rc, 0, index * (m_nTabInterSize + m_nTabHeight) + m_nTabPos);
    else ::OffsetRect(&rc, index * (m_nTabInterSize + m_nTabWidth) + m_nTabPos, 0);
    if (!::IntersectRect(&rect, &rc, &title)) ::SetRectEmpty(&rect);
    return TRUE;
}

int STabCtrl::HitTest(POINT pt)
{
    for (int i = 0; i < m_pages.GetCount(); ++i) {
        RECT rc;
        if (GetItemRect(i, rc) && ::PtInRect(&rc, pt)) return i;
    }
    return -1;
}

void STabCtrl::LayoutChildren()
{
    const RECT area = GetChildrenLayoutRect();
    for (int i = 0; i < m_pages.GetCount(); ++i) m_pages[i]->Move(&area);
    // A slide over an area of another size ends (through the slider's WM_SIZE).
    if (m_slider) m_slider->Move(&area);
}

void STabCtrl::InvalidateItem(int index)
{
    RECT rc;
    if (GetItemRect(index, rc)) InvalidateRect(&rc);
}

void STabCtrl::InvalidateTitle()
{
    const RECT rc = GetTitleRect();
    InvalidateRect(&rc);
}

BOOL STabCtrl::GetToolTipInfo(POINT pt, SwndToolTipInfo& info)
{
    const int index = HitTest(pt);
    STabPage* page = GetItem(index);
    if (!page || page->GetToolTipText().IsEmpty()) return FALSE;
    info.swnd = m_swnd;
    info.key = static_cast<DWORD>(index);
    GetItemRect(index, info.rcTarget);
    info.strTip = page->GetToolTipText();
    return TRUE;
}

// ---- input ----

void STabCtrl::OnTabLButtonDown(UINT flags, POINT pt)
{
    SWindow::OnLButtonDown(flags, pt);
    const int index = HitTest(pt);
    if (index != -1 && index != m_nCurrentPage) SetCurSel(index);
}

void STabCtrl::OnTabMouseMove(UINT, POINT pt)
{
    UpdateHover(pt);
}

void STabCtrl::OnTabMouseLeave()
{
    SWindow::OnMouseLeave();
    UpdateHover(POINT{-1, -1});
}

// The current tab looks the same hovered or not: it is not redrawn.
void STabCtrl::UpdateHover(POINT pt)
{
    const int now = HitTest(pt);
    const int old = m_nHoverTabItem;
    if (now == old) return;
    SAutoRefPtr<SWindow> keep(this);
    m_nHoverTabItem = now;
    if (old != -1) {
        if (old != m_nCurrentPage) InvalidateItem(old);
        EventTabItemLeave leave(this, old);
        FireEvent(leave);
    }
    if (now != -1 && !m_bDestroyed) {
        if (now != m_nCurrentPage) InvalidateItem(now);
        EventTabItemHover hover(this, now);
        FireEvent(hover);
    }
}

// The arrows step and wrap round: a step refused at either end, or vetoed,
// goes to the other end. One whose handlers moved the selection elsewhere
// or destroyed the control stands.
LRESULT STabCtrl::OnTabKeyDown(UINT, WPARAM key, LPARAM)
{
    const int current = m_nCurrentPage;
    const auto refused = [&] { return !m_bDestroyed && m_nCurrentPage == current; };
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        if (!SetCurSel(current - 1) && refused()) SetCurSel(m_pages.GetCount() - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (!SetCurSel(current + 1) && refused()) SetCurSel(0);
        break;
    case VK_HOME: SetCurSel(0); break;
    case VK_END: SetCurSel(m_pages.GetCount() - 1); break;
    default: SetMsgHandled(FALSE); break;
    }
    return 0;
}

void STabCtrl::OnTabDestroy()
{
    // The slider is a child: it goes with the rest, and must not be reached after.
    m_slider = nullptr;
    for (int i = m_pages.GetCount() - 1; i >= 0; --i) {
        SAutoRefPtr<STabPage> page = m_pages[i];
        DestroyChild(page);
    }
    m_pages.RemoveAll();
    SWindow::OnDestroy();
}

}  // namespace WUI
