// A spin button ("spinButton"): an up and a down button, taken from its own
// children "btn_up" and "btn_down", that step an integer value within a
// range, wrapping round or stopping at the ends, and write it as text into
// a sibling element (the buddy). Handlers may rewrite that text first.
#pragma once

#include "core/SWindow.h"

namespace WUI {

// The text a value is shown as in the buddy; a handler may replace `text`.
class EventSpinValue2String : public TplEventArgs<EventSpinValue2String> {
public:
    EventSpinValue2String(SWindow* sender, int value) : TplEventArgs<EventSpinValue2String>(sender), nValue(value)
    {
        text.Format(L"%d", value);
    }
    int nValue;
    SStringW text;
};

class SSpinButtonCtrl : public SWindow {
    WUI_SWINDOW_CLASS(SSpinButtonCtrl, SWindow, L"spinButton")
public:
    SSpinButtonCtrl();

    // One step up (value + step) or down (value - step), in 64 bits: past
    // the maximum the value becomes the minimum (circle) or the maximum,
    // below the minimum the maximum (circle) or the minimum, whichever way
    // the step went. Then the buddy shows it.
    void StepValue(BOOL up);
    // Stores the value as it is and updates the buddy.
    void SetValue(int value);
    int GetValue() const { return m_nValue; }
    int GetMax() const { return m_nMax; }
    int GetMin() const { return m_nMin; }
    int GetStep() const { return m_nStep; }
    BOOL IsCircle() const { return m_bCircle != 0; }
    const SStringW& GetBuddyName() const { return m_strBuddy; }
    // The buttons; null when missing or gone.
    SWindow* GetUpButton() const { return SWindowMgr::GetWindow(m_upButton); }
    SWindow* GetDownButton() const { return SWindowMgr::GetWindow(m_downButton); }
    // The element named by the buddy name among the parent's descendants;
    // null without a parent or such an element.
    SWindow* FindBuddy() const;

    // The children, then the buttons by name at any depth: false (the spin
    // stays without buttons and steps nothing) when either is missing.
    // Found buttons take no focus and step the value when clicked; the
    // buddy is updated once.
    BOOL CreateChildren(pugi::xml_node node) override;
    // The up button over the upper half of the client rect, the down button
    // of the same height below it.
    void LayoutChildren() override;
    // The layout's fixed width or 16; its fixed height or the limit's.
    SIZE MeasureContent(const RECT* limit) override;
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_WM_DESTROY(OnSpinDestroy)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    // on_command of a button: the sender decides the direction.
    bool OnButtonClick(EventArgs& args);
    // Fires EventSpinValue2String and puts its text into the buddy.
    void UpdateBuddy();
    // Drops the buttons' subscriptions, then the base's destroy runs.
    void OnSpinDestroy();
    void Subscribe(SWindow* button);

    int m_nMax = 100;
    int m_nMin = 0;
    int m_nValue = 0;
    int m_nStep = 1;
    int m_bCircle = 1;
    SStringW m_strBuddy;
    SWND m_upButton = 0;
    SWND m_downButton = 0;
};

}  // namespace WUI
