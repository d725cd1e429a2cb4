#include "controls/SSpinButtonCtrl.h"

#include "controls/ControlAttr.h"
#include "core/SApplication.h"

namespace WUI {

namespace {

const int kDefaultWidth = 16;
const int kUnlimited = 0x7FFF;

}  // namespace

SSpinButtonCtrl::SSpinButtonCtrl()
{
    m_evtSet.AddEvent<EventSpinValue2String>();
}

void SSpinButtonCtrl::StepValue(BOOL up)
{
    long long value = static_cast<long long>(m_nValue) + (up ? m_nStep : -static_cast<long long>(m_nStep));
    if (value > m_nMax) value = m_bCircle ? m_nMin : m_nMax;
    else if (value < m_nMin) value = m_bCircle ? m_nMax : m_nMin;
    m_nValue = static_cast<int>(value);
    UpdateBuddy();
}

void SSpinButtonCtrl::SetValue(int value)
{
    m_nValue = value;
    UpdateBuddy();
}

SWindow* SSpinButtonCtrl::FindBuddy() const
{
    if (!m_pParent || m_strBuddy.IsEmpty()) return nullptr;
    return m_pParent->FindChildByName(m_strBuddy, -1);
}

// The buddy is kept alive: a handler may destroy it, or the spin.
void SSpinButtonCtrl::UpdateBuddy()
{
    SAutoRefPtr<SWindow> buddy = FindBuddy();
    if (!buddy) return;
    SAutoRefPtr<SWindow> keep(this);
    EventSpinValue2String evt(this, m_nValue);
    FireEvent(evt);
    if (!buddy->IsDestroyed()) buddy->SetWindowText(evt.text);
}

HRESULT SSpinButtonCtrl::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SSpinButtonCtrl, int> ints[] = {
        {L"max", &SSpinButtonCtrl::m_nMax, S_FALSE},
        {L"min", &SSpinButtonCtrl::m_nMin, S_FALSE},
        {L"step", &SSpinButtonCtrl::m_nStep, S_FALSE},
        {L"circle", &SSpinButtonCtrl::m_bCircle, S_FALSE},
    };
    HRESULT hr;
    if (SetIntAttr(this, ints, name, value, hr)) return AfterSetAttribute(name, value, hr);
    if (_wcsicmp(name, L"value") == 0) {
        int n = 0;
        if (!AttrParseInt(value, n, false)) return AfterSetAttribute(name, value, E_FAIL);
        if (loading) m_nValue = n;
        else SetValue(n);
        return AfterSetAttribute(name, value, S_FALSE);
    }
    if (_wcsicmp(name, L"buddy") == 0) {
        SApplication* app = SApplication::GetSingletonPtr();
        m_strBuddy = app ? app->GetString(value) : value;
        return AfterSetAttribute(name, value, S_FALSE);
    }
    return SWindow::SetAttribute(name, value, loading);
}

BOOL SSpinButtonCtrl::CreateChildren(pugi::xml_node node)
{
    SAutoRefPtr<SWindow> keep(this);  // a child's handler may destroy the spin
    SWindow::CreateChildren(node);
    if (IsDestroyed()) return FALSE;
    SWindow* up = FindChildByName(L"btn_up", -1);
    SWindow* down = FindChildByName(L"btn_down", -1);
    if (!up || !down) return FALSE;
    Subscribe(up);
    Subscribe(down);
    m_upButton = up->GetSwnd();
    m_downButton = down->GetSwnd();
    UpdateBuddy();
    return TRUE;
}

void SSpinButtonCtrl::Subscribe(SWindow* button)
{
    button->SetAttribute(L"focusable", L"0", FALSE);
    button->GetEventSet()->SubscribeEvent(EventCmd::EventID, &SSpinButtonCtrl::OnButtonClick, this);
}

bool SSpinButtonCtrl::OnButtonClick(EventArgs& args)
{
    if (!args.sender) return false;
    const SWND from = args.sender->GetSwnd();
    if (from != m_upButton && from != m_downButton) return false;
    StepValue(from == m_upButton);
    return true;
}

// A button that outlives the spin (moved elsewhere) must not call it.
void SSpinButtonCtrl::OnSpinDestroy()
{
    for (SWindow* button : {GetUpButton(), GetDownButton()})
        if (button) button->GetEventSet()->UnsubscribeEvent(EventCmd::EventID, &SSpinButtonCtrl::OnButtonClick, this);
    m_upButton = m_downButton = 0;
    SetMsgHandled(FALSE);
}

// An odd height leaves the bottom row to neither button.
void SSpinButtonCtrl::LayoutChildren()
{
    SWindow::LayoutChildren();
    const RECT rc = GetClientRect();
    if (::IsRectEmpty(&rc)) return;
    const LONG half = (rc.bottom - rc.top) / 2;
    const RECT upper = {rc.left, rc.top, rc.right, rc.top + half};
    const RECT lower = {rc.left, rc.top + half, rc.right, rc.top + 2 * half};
    if (SWindow* up = GetUpButton()) up->Move(&upper);
    if (SWindow* down = GetDownButton()) down->Move(&lower);
}

SIZE SSpinButtonCtrl::MeasureContent(const RECT* limit)
{
    SwndLayout& layout = GetLayout();
    const int width = layout.IsSpecifiedSize(kAxisX) ? layout.GetSpecifiedSize(kAxisX) : kDefaultWidth;
    const int limitHeight = limit ? limit->bottom - limit->top : kUnlimited;
    const int height = layout.IsSpecifiedSize(kAxisY) ? layout.GetSpecifiedSize(kAxisY) : limitHeight;
    return SIZE{width, height};
}

}  // namespace WUI
