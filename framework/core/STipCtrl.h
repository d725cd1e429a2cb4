#pragma once

#include "core/CSimpleWnd.h"
#include "core/IToolTip.h"
#include "core/TStringT.h"
#include "render/GdiHandles.h"

namespace WUI {

// The tooltip popup of one host window: after the mouse has rested in the
// tip's area for the initial delay, a top-most window below the pointer
// shows the text for the display time. Made by the default tooltip factory;
// the object deletes itself once its window is destroyed.
class STipCtrl : public IToolTip, public CSimpleWnd {
public:
    // Timers of the tip window.
    enum { kTimerDelay = 1, kTimerShow = 2 };
    // Tip texts wrap within this width and are cut at this height.
    enum { kMaxTextWidth = 500, kMaxTextHeight = 1000 };

    // A tip for the host window with its popup made (hidden); null when
    // the host is not a window or the popup cannot be made.
    static STipCtrl* CreateTip(HWND host);

    BOOL PreTranslateMessage(MSG* msg) override;
    void UpdateTip(const TIPID& id, const RECT& rect, LPCWSTR text) override;
    void ClearTip() override;
    void RelayEvent(const MSG* msg) override;

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    HWND GetHost() const { return m_host; }
    const SStringW& GetText() const { return m_text; }
    const TIPID& GetTipId() const { return m_id; }
    HFONT GetFont() const { return m_font.Get(); }
    // The window size the text needs: its wrapped extent plus the margins.
    SIZE MeasureTip() const;

protected:
    void FreeThunk(HWND hWnd) override;

private:
    explicit STipCtrl(HWND host) : m_host(host) {}
    ~STipCtrl() override = default;
    BOOL CreatePopup();
    void ShowTip();
    void HideTip();
    void OnTimer(UINT_PTR id);
    void OnPaint();
    UINT TextFormat() const;

    HWND m_host;
    int m_delay = 500;    // ms the mouse rests before the tip shows
    int m_showTime = 5000; // ms the tip stays
    SStringW m_text;
    RECT m_rect = {0, 0, 0, 0};
    TIPID m_id = {0, 0};
    GdiObject<HFONT> m_font;
};

}  // namespace WUI
