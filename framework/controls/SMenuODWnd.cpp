#include "controls/SMenuODWnd.h"

#include "controls/SMenu.h"
#include "core/SApplication.h"
#include "core/SWindow.h"

#include <algorithm>

namespace WUI {

namespace {

const UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
// A separator without a skin of its own.
const UINT kBareSeparatorHeight = 3;

SAutoRefPtr<IRenderTarget> NewRenderTarget(int width, int height)
{
    SAutoRefPtr<IRenderTarget> rt;
    SApplication* app = SApplication::GetSingletonPtr();
    IRenderFactory* factory = app ? app->GetRenderFactory() : nullptr;
    IRenderTarget* made = nullptr;
    if (factory && factory->CreateRenderTarget(&made, width, height)) rt.Attach(made);
    return rt;
}

// Selects a font and a text colour into a render target for a scope.
class TextScope {
public:
    TextScope(IRenderTarget* rt, IFont* font, COLORREF colour) : m_rt(rt)
    {
        if (font) {
            IRenderObj* old = nullptr;
            rt->SelectObject(font, &old);
            m_saved.font.Attach(old);
        }
        m_saved.textColor = rt->SetTextColor(colour);
    }
    ~TextScope() { RestoreTextStyle(m_rt, m_saved); }
    TextScope(const TextScope&) = delete;
    TextScope& operator=(const TextScope&) = delete;

private:
    IRenderTarget* m_rt;
    SPaintState m_saved;
};

}  // namespace

SMenuODWnd::SMenuODWnd(HWND owner, const SMenuAttr& attr) : SMenuAttr(attr), m_hOwner(owner)
{
}

BOOL SMenuODWnd::ProcessWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
{
    if (mapId != 0) return FALSE;
    switch (msg) {
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
        ::SendMessageW(m_hOwner, msg, wParam, lParam);
        result = 0;
        return TRUE;
    default:
        break;
    }
    if (ProcessOwnerDrawMessage(msg, wParam, lParam, result)) return TRUE;
    BOOL handled = FALSE;
    result = ReflectNotifications(msg, wParam, lParam, handled);
    // A control that leaves its colours alone answers 0: the default colours apply.
    if (handled && msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC && result == 0) handled = FALSE;
    return handled;
}

SIZE SMenuODWnd::MeasureItemText(const SStringW& text)
{
    SIZE size = {0, 0};
    SAutoRefPtr<IRenderTarget> rt = NewRenderTarget(0, 0);
    if (!rt) return size;
    TextScope scope(rt, GetFont(), m_crTxtNormal);
    rt->MeasureText(text, text.GetLength(), &size);
    return size;
}

void SMenuODWnd::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    if (mis->CtlType != ODT_MENU) return;
    const auto* data = reinterpret_cast<const SMenuItemData*>(mis->itemData);
    if (!data) {
        mis->itemWidth = 0;
        mis->itemHeight = m_pSepSkin ? m_pSepSkin->GetSkinSize().cy : kBareSeparatorHeight;
        return;
    }
    const SIZE text = MeasureItemText(data->strText);
    int height = m_nItemHei;
    if (height == 0) {
        // Without an item skin the item fits its icon and its text.
        height = m_pItemSkin ? m_pItemSkin->GetSkinSize().cy
                             : std::max<int>(m_szIcon.cy, text.cy) + 2 * m_nIconMargin;
    }
    int width = m_szIcon.cx + 2 * m_nIconMargin + text.cx + 2 * m_nTextMargin;
    if (m_nMaxWidth != -1 && m_nMaxWidth < width) width = m_nMaxWidth;
    mis->itemHeight = static_cast<UINT>(height);
    mis->itemWidth = static_cast<UINT>(width);
}

void SMenuODWnd::DrawItem(LPDRAWITEMSTRUCT dis)
{
    const RECT& rc = dis->rcItem;
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return;
    SAutoRefPtr<IRenderTarget> rt = NewRenderTarget(width, height);
    if (!rt) return;
    const RECT box = {0, 0, width, height};
    // The item is copied without its alpha: what a skin leaves see-through
    // shows the menu colour, not black.
    rt->FillSolidRect(&box, ::GetSysColor(COLOR_MENU) | 0xFF000000);
    if (const auto* data = reinterpret_cast<const SMenuItemData*>(dis->itemData))
        DrawMenuItem(rt, box, *data, dis->itemState);
    else if (m_pSepSkin)
        m_pSepSkin->Draw(rt, &box, kSkinStateNormal);
    HDC dc = rt->GetDC(0);
    ::BitBlt(dis->hDC, rc.left, rc.top, width, height, dc, 0, 0, SRCCOPY);
    rt->ReleaseDC(dc);
}

void SMenuODWnd::DrawMenuItem(IRenderTarget* rt, const RECT& box, const SMenuItemData& data, UINT state)
{
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool grey = (state & ODS_GRAYED) != 0;
    const bool checked = (state & ODS_CHECKED) != 0;
    if (m_pItemSkin)
        m_pItemSkin->Draw(rt, &box, selected ? kSkinStateHover : kSkinStateNormal);
    else if (selected)
        rt->FillSolidRect(&box, ::GetSysColor(COLOR_HIGHLIGHT) | 0xFF000000);

    RECT icon;
    icon.left = m_nIconMargin;
    icon.right = icon.left + m_szIcon.cx;
    icon.top = (box.bottom - m_szIcon.cy) / 2;
    icon.bottom = icon.top + m_szIcon.cy;
    if (checked) {
        if (m_pCheckSkin) m_pCheckSkin->Draw(rt, &icon, data.bRadio ? kSkinStateHover : kSkinStateNormal);
    } else if (data.iIcon != -1 && m_pIconSkin) {
        m_pIconSkin->Draw(rt, &icon, static_cast<DWORD>(data.iIcon));
    }

    RECT text = {icon.right + m_nIconMargin + m_nTextMargin, box.top, box.right - m_nTextMargin, box.bottom};
    {
        TextScope scope(rt, GetFont(), grey ? m_crTxtGray : selected ? m_crTxtSel : m_crTxtNormal);
        rt->DrawText(data.strText, data.strText.GetLength(), &text, kTextFormat);
    }
    if (selected && m_pItemSkin && m_pItemSkin->GetStates() > 2) m_pItemSkin->Draw(rt, &box, kSkinStatePushed);
}

LRESULT SMenuODWnd::OnMenuChar(UINT ch, UINT, HMENU menu)
{
    const wchar_t key = LowerMenuChar(static_cast<wchar_t>(ch));
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        // Separators carry no record.
        const auto* data = reinterpret_cast<const SMenuItemData*>(info.dwItemData);
        if (data && data->vHotKey && data->vHotKey == key) return MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
}

}  // namespace WUI
