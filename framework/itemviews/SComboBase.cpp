#include "itemviews/SComboBase.h"

#include "controls/ControlAttr.h"
#include "controls/RichEditEvents.h"
#include "core/SApplication.h"
#include "core/XmlLookup.h"
#include "itemviews/SComboEdit.h"

#include <algorithm>
#include <new>

namespace WUI {

namespace {

const int kMaxDropHeight = 0x7FFF;

}  // namespace

SComboBase::SComboBase() : m_pSkinBtn(BuiltinSkin(kSkinSysDropBtn))
{
    m_dwFlags |= kFlagFocusable;
    m_style.SetAttribute(L"align", L"left", TRUE);
    m_style.SetAttribute(L"valign", L"middle", TRUE);
    m_evtSet.AddEvent<EventCBSelChange>();
    m_evtSet.AddEvent<EventRENotify>();
}

SComboBase::~SComboBase() = default;

// ---- attributes and children ----

HRESULT SComboBase::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    struct Entry {
        LPCWSTR name;
        int SComboBase::*member;
        int low, high;
    };
    static const Entry kInts[] = {
        {L"dropDown", &SComboBase::m_bDropdown, 0, 1},
        {L"dropHeight", &SComboBase::m_nDropHeight, 0, kMaxDropHeight},
        {L"curSel", &SComboBase::m_iInitSel, -1, 0x7FFFFFFF},
        {L"animateTime", &SComboBase::m_nAnimTime, 0, 10000},
    };
    for (const Entry& e : kInts) {
        if (_wcsicmp(name, e.name) != 0) continue;
        int n;
        if (!AttrParseInt(value, n, true, e.low, e.high)) return E_FAIL;
        this->*e.member = n;
        return AfterSetAttribute(name, value, S_FALSE);
    }
    if (_wcsicmp(name, L"btnSkin") == 0) {
        ISkinObj* skin = FindSkin(value);
        if (!skin) return E_FAIL;
        m_pSkinBtn = skin;
        return AfterSetAttribute(name, value, S_OK);
    }
    return SWindow::SetAttribute(name, value, loading);
}

BOOL SComboBase::CreateChildren(pugi::xml_node node)
{
    m_xmlDropdownStyle.reset();
    if (pugi::xml_node style = XmlChildNoCase(node, L"dropdownStyle")) m_xmlDropdownStyle.append_copy(style);
    if (!m_bDropdown && !CreateEdit(node)) return FALSE;
    return CreateListBox(node);
}

void SComboBase::SetUpListElement(SWindow* list, pugi::xml_node node)
{
    list->SetContainer(GetContainer());
    if (pugi::xml_node style = XmlChildNoCase(node, L"liststyle")) list->InitFromXml(style);
    else list->SendSwndMessage(WM_CREATE);
    list->SetAttribute(L"pos", L"0,0,-0,-0", TRUE);
    list->SetOwner(this);
    list->SetID(kComboListId);
    list->SetVisible(FALSE);
}

// The list normally got WM_DESTROY with the combo.
void SComboBase::ReleaseListElement(SWindow* list)
{
    if (!list) return;
    list->SetOwner(nullptr);
    list->GetEventSet()->SetMuted(true);
    if (!list->IsDestroyed()) list->SendSwndMessage(WM_DESTROY);
    list->Release();
}

BOOL SComboBase::CreateEdit(pugi::xml_node node)
{
    SComboEdit* edit = new (std::nothrow) SComboEdit(this);
    if (!edit) return FALSE;
    SWindowFactoryMgr::ApplyDefaultAttributes(edit);
    InsertChild(edit);
    m_pEdit = edit;
    if (pugi::xml_node style = XmlChildNoCase(node, L"editStyle")) edit->InitFromXml(style);
    else edit->SendSwndMessage(WM_CREATE);
    if (m_pEdit != edit || edit->IsDestroyed()) {  // it refused its creation: its parent dropped it
        m_pEdit = nullptr;
        return FALSE;
    }
    const SIZE btn = ButtonSize();
    const RECT& in = m_style.m_rcInset;
    wchar_t pos[64];
    wsprintfW(pos, L"%d,%d,-%d,-%d", int(in.left), int(in.top), int(in.right + btn.cx), int(in.bottom));
    edit->SetAttribute(L"pos", pos, TRUE);
    edit->SetID(kComboEditId);
    edit->SendSwndMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
    return TRUE;
}

// ---- text ----

SStringW SComboBase::GetWindowText() const
{
    if (m_pEdit) return m_pEdit->GetWindowText();
    const int sel = GetCurSel();
    return sel == -1 ? SStringW() : const_cast<SComboBase*>(this)->GetLBText(sel);
}

void SComboBase::SetWindowText(const SStringW& text)
{
    SAutoRefPtr<SWindow> keep(this);  // a selection handler may destroy the combo
    SWindow::SetWindowText(text);
    SetCurSel(-1);
    if (m_pEdit && !IsDestroyed()) SetEditText(text);
}

void SComboBase::SetEditText(const SStringW& text)
{
    if (!m_pEdit) return;
    const bool was = m_bEditUpdating;
    m_bEditUpdating = true;
    m_pEdit->SetWindowText(text);
    m_bEditUpdating = was;
}

int SComboBase::FindString(LPCWSTR text, int start)
{
    if (!text) return -1;
    for (int i = std::max(0, start); i < GetCount(); ++i)
        if (wcscmp(GetLBText(i), text) == 0) return i;
    return -1;
}

void SComboBase::OnSelChanged()
{
    if (m_pEdit && !m_bEditUpdating) SetEditText(GetLBText(GetCurSel()));
    Invalidate();
    EventCBSelChange evt(this, GetCurSel());
    FireEvent(evt);
}

// The list's selection and command while it is open; the edit's changes.
BOOL SComboBase::FireEvent(EventArgs& args)
{
    if (args.idFrom == kComboListId && m_pDropDownWnd) {
        if (args.GetId() == EventInfo<EventLBSelChanged>::id || args.GetId() == EventInfo<EventLVSelChanged>::id) {
            OnSelChanged();
            return TRUE;
        }
        if (args.GetId() == EventCmd::EventID) {
            CloseUp();
            return TRUE;
        }
    }
    if (args.GetId() == EventRENotify::EventID && !m_bEditUpdating && static_cast<EventRENotify&>(args).iNotify == EN_CHANGE) {
        // Typing clears the selection and keeps what was typed: the edit is
        // marked as updated while the selection goes, so nothing writes it back.
        SAutoRefPtr<SWindow> keep(this);  // a selection handler may destroy the combo
        m_bEditUpdating = true;
        SetCurSel(-1);
        m_bEditUpdating = false;
        if (IsDestroyed()) return args.handled > 0;
    }
    return SWindow::FireEvent(args);
}

// ---- geometry and painting ----

SIZE SComboBase::ButtonSize() const
{
    if (m_pSkinBtn) return m_pSkinBtn->GetSkinSize();
    // No button skin: a square strip the height of the client area.
    const RECT client = GetClientRect();
    const int side = client.bottom - client.top;
    return SIZE{side, side};
}

void SComboBase::GetDropBtnRect(RECT* out) const
{
    *out = GetClientRect();
    out->left = std::max(out->left, out->right - ButtonSize().cx);
}

void SComboBase::GetTextRect(RECT& rc) const
{
    rc = GetClientRect();
    const RECT& in = m_style.m_rcInset;
    rc.left += in.left;
    rc.top += in.top;
    rc.right -= in.right + ButtonSize().cx;
    rc.bottom -= in.bottom;
    rc.right = std::max(rc.left, rc.right);
    rc.bottom = std::max(rc.top, rc.bottom);
}

void SComboBase::DrawFocus(IRenderTarget* rt)
{
    if (!IsFocusable() || !IsDrawFocusRect()) return;
    RECT rc = GetClientRect();
    rc.right = std::max(rc.left, rc.right - ButtonSize().cx);
    DrawDefaultFocusRect(rt, rc);
}

void SComboBase::RedrawButton()
{
    RECT rc;
    GetDropBtnRect(&rc);
    InvalidateRect(&rc);
}

void SComboBase::SetColorizeColor(COLORREF color)
{
    SWindow::SetColorizeColor(color);
    ColorizeSkin(m_pSkinBtn, color);
}

BOOL SComboBase::IsFocusable() const
{
    return !m_pEdit && SWindow::IsFocusable();
}

void SComboBase::OnCbPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    if (!m_pEdit && GetCurSel() != -1) {
        RECT rc;
        GetTextRect(rc);
        const SStringW text = GetWindowText();
        DrawText(rt, text, text.GetLength(), &rc, GetTextAlign());
    }
    if (IsFocused()) DrawFocus(rt);
    AfterPaint(rt, saved);
    if (m_pSkinBtn) {
        RECT btn;
        GetDropBtnRect(&btn);
        m_pSkinBtn->Draw(rt, &btn, ClampSkinState(m_pSkinBtn, m_dwBtnState));
    }
}

// ---- opening and closing ----

RECT SComboBase::PlaceDropDown(const RECT& combo, int height, int limitBottom, bool* above)
{
    RECT rc = combo;
    *above = combo.bottom + height > limitBottom;
    if (*above) {
        rc.top = combo.top - height;
        rc.bottom = combo.top;
    } else {
        rc.top = combo.bottom;
        rc.bottom = combo.bottom + height;
    }
    return rc;
}

void SComboBase::DropDown()
{
    if (m_dwBtnState == 2 || m_pDropDownWnd || !GetContainer()) return;
    HWND host = GetContainer()->GetHostHwnd();
    if (!host) return;
    SAutoRefPtr<SWindow> keep(this);
    SDropDownWnd_ComboBox* dropDown = new (std::nothrow) SDropDownWnd_ComboBox(this);
    if (!dropDown) return;
    const int height = GetListBoxHeight();

    RECT rc = GetWindowRect();
    const RECT frame = GetContainer()->GetContainerRect();
    ::OffsetRect(&rc, frame.left, frame.top);
    ::MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    int limit = ::GetSystemMetrics(SM_CYSCREEN);
    if (HMONITOR monitor = ::MonitorFromWindow(host, MONITOR_DEFAULTTONULL)) {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        if (::GetMonitorInfoW(monitor, &info)) limit = info.rcMonitor.bottom;
    }
    bool above = false;
    const RECT place = PlaceDropDown(rc, height, limit, &above);

    // Until Create returns the window is the maker's: a failure leaves it to
    // us. The list's handlers run while it is filled and may end it, when
    // the window's reference goes: ours keeps the object to the end.
    SAutoRefPtr<SWindow> hold(dropDown);
    m_pDropDownWnd = dropDown;
    if (!dropDown->Create(place, nullptr, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW)) {
        m_pDropDownWnd = nullptr;
        dropDown->Release();
        return;
    }
    if (m_pDropDownWnd != dropDown) return;
    if (m_nAnimTime < 1)
        ::SetWindowPos(dropDown->m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    else
        dropDown->AnimateHostWindow(m_nAnimTime, AW_SLIDE | (above ? AW_VER_NEGATIVE : AW_VER_POSITIVE));
    if (m_pDropDownWnd == dropDown) ::SetCapture(dropDown->m_hWnd);
}

void SComboBase::CloseUp()
{
    if (m_pDropDownWnd) m_pDropDownWnd->EndDropDown(IDCANCEL);
}

// The style is the root element's: the window itself keeps its own attributes.
void SComboBase::OnCreateDropDown(SDropDownWnd* dropDown)
{
    if (pugi::xml_node style = m_xmlDropdownStyle.first_child()) ApplyXmlAttributes(dropDown, style);
    m_dwBtnState = 2;
    RedrawButton();
    SWindow* list = GetListElement();
    if (!list) return;
    dropDown->InsertChild(list);
    list->AddRef();  // the root's reference; the combo keeps its own
    dropDown->InvalidateLayout();
    dropDown->UpdateLayout();
    list->SetVisible(TRUE);
    list->SetFocus();
    EnsureSelVisible();
}

void SComboBase::OnDestroyDropDown(SDropDownWnd* dropDown)
{
    SAutoRefPtr<SWindow> keep(this);
    if (SWindow* list = GetListElement()) {
        if (dropDown->RemoveChild(list)) list->Release();
        list->SetVisible(FALSE);
        list->SetContainer(GetContainer());
    }
    // The edit's handlers may destroy the combo, which forgets the edit.
    if (SAutoRefPtr<SWindow> edit = m_pEdit) {
        edit->SetFocus();
        if (!IsDestroyed()) edit->SendSwndMessage(EM_SETSEL, 0, 65535);
        if (!IsDestroyed()) edit->SendSwndMessage(EM_SCROLLCARET);
    }
    m_dwBtnState = 0;
    m_pDropDownWnd = nullptr;
    if (IsDestroyed()) return;
    RedrawButton();
    if (GetState() & WndState_Hover) ModifyState(0, WndState_Hover, TRUE);
    if (ISwndContainer* container = GetContainer()) {
        if (HWND host = container->GetHostHwnd()) {
            POINT pt;
            ::GetCursorPos(&pt);
            ::ScreenToClient(host, &pt);
            ::PostMessageW(host, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        }
    }
    if (dropDown->GetExitCode() == IDOK && !IsDestroyed()) OnSelChanged();
}

// ---- messages ----

void SComboBase::OnCbLButtonDown(UINT, POINT)
{
    SetFocus();
    DropDown();
}

void SComboBase::OnCbMouseMove(UINT flags, POINT pt)
{
    if (m_dwBtnState == 2) return;
    SWindow::OnMouseHover(flags, pt);
    RECT btn;
    GetDropBtnRect(&btn);
    if (::PtInRect(&btn, pt)) {
        if (m_dwBtnState != 1) {
            m_dwBtnState = 1;
            RedrawButton();
        }
    } else if (m_dwBtnState == 1) {
        m_dwBtnState = 0;
        RedrawButton();
    }
}

void SComboBase::OnCbMouseLeave()
{
    if (m_dwBtnState == 2) return;
    if (GetState() & WndState_Hover) SWindow::OnMouseLeave();
    if (m_dwBtnState == 1) {
        m_dwBtnState = 0;
        RedrawButton();
    }
}

LRESULT SComboBase::OnCbKeyDown(UINT, WPARAM wParam, LPARAM)
{
    if (wParam == VK_DOWN) DropDown();
    else SetMsgHandled(FALSE);
    return 0;
}

LRESULT SComboBase::OnCbChar(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!m_pEdit) {
        SetMsgHandled(FALSE);
        return 0;
    }
    return m_pEdit->SendSwndMessage(msg, wParam, lParam);
}

void SComboBase::OnCbSetFocus()
{
    if (m_pEdit) m_pEdit->SetFocus();
    else SWindow::OnSetFocus();
}

void SComboBase::OnCbKillFocus()
{
    SWindow::OnKillFocus();
    CloseUp();
}

// The list goes with the combo while the combo still lives: its end fires
// events that reach the combo as its owner.
void SComboBase::OnCbDestroy()
{
    CloseUp();
    if (SWindow* list = GetListElement())
        if (!list->IsDestroyed()) list->SendSwndMessage(WM_DESTROY);
    m_pEdit = nullptr;  // the tree lets it go with the other children
    SWindow::OnDestroy();
}

}  // namespace WUI
