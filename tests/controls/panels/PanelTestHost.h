// What the tests of panels, scroll views and scroll bars share: hosts with
// the panel classes registered and the built-in skins loaded, a log of scroll
// events, and a native window standing in for the host's timers.
#pragma once

#include "controls/ScrollEvents.h"
#include "element/ContainerHost.h"
#include "element/ElementHost.h"
#include "support/MessageRecorder.h"

#include <vector>

namespace paneltest {

// Registers the panel classes with the application, gives it the PNG decoder
// and loads the built-in skins from the test program's resources (skins:
// false leaves them out).
void PreparePanels(WUI::SApplication& app, bool skins = true);

// Elements on a fake container over a memory target, for painting and for
// messages sent to elements directly.
class PaintHost : public elemtest::ElementHost {
public:
    explicit PaintHost(int width = 240, int height = 180, bool skins = true);
    // Forgets the message-box template the system resources installed.
    ~PaintHost();
    // Pixels as the target stores them: 0xAARRGGBB, premultiplied.
    DWORD Px(int x, int y) { return Target()->GetPixel(x, y); }
    // A full paint of the tree on a cleared target.
    void PaintAll();
    // A picture of the target, for a person to look at.
    void SavePicture(const wchar_t* file);

private:
    int m_width, m_height;
};

// Elements in a real container: mouse messages go through its dispatch.
class MouseHost : public elemtest::ContainerHost {
public:
    explicit MouseHost(int width = 240, int height = 180);
    ~MouseHost();
};

// Scroll info of all fields (SIF_ALL).
SCROLLINFO ScrollInfo(int nMin, int nMax, UINT page, int pos, int trackPos = -1);

template <class T>
T* As(WUI::SWindow* element)
{
    return WUI::sobj_cast<T>(element);
}

// The scroll events an element fired.
struct ScrollLog {
    struct Entry {
        int code, pos;
        BOOL vertical;
        bool operator==(const Entry& o) const { return code == o.code && pos == o.pos && vertical == o.vertical; }
    };
    // Subscribes to the element's scroll events.
    explicit ScrollLog(WUI::SWindow* element);
    bool OnScroll(WUI::EventArgs& args);
    std::vector<Entry> entries;
};

// A message-only window whose WM_TIMER ticks are handed to the elements
// they belong to, as a host window does. Install it as the host's window.
class TimerHost {
public:
    TimerHost();
    HWND Handle() const { return m_window.Handle(); }
    // Pumps messages until `count` ticks were handed on or ms passed.
    void PumpTicks(size_t count, DWORD ms);
    // The element timer ids (1-127) of the ticks handed on, in order.
    std::vector<UINT> ticks;

private:
    void OnTick(const MessageRecorder::Message& m);
    MessageRecorder m_window;
};

// The native timer id of an element timer.
UINT_PTR ElementTimerId(UINT id, WUI::SWND swnd);

}  // namespace paneltest
