// What tests of real host windows share (the controls' screenshot tests
// too): an application with the framework's system resources, host windows
// built from layout strings, pumping until painted, the host's own pixels,
// and X screenshots saved as PNG for a person to look at.
#pragma once

#include "core/SApplication.h"
#include "core/SHostWnd.h"

#include <functional>
#include <memory>
#include <vector>

namespace hosttest {

// The GDI render factory with the PNG decoder, an application object over
// it ("WUIHOST"), the framework's system skins, edit menu and message-box
// template loaded, and the test executable as resource provider (link the
// object libraries wui_sys_skin and wui_sys_res into the test). Element
// sets added with SWindowFactoryMgr::AddStandardFactories before it is
// made are registered.
class HostApp {
public:
    HostApp();
    // Forgets the message-box template it installed.
    ~HostApp();
    HostApp(const HostApp&) = delete;
    HostApp& operator=(const HostApp&) = delete;

    WUI::SApplication& App() { return *m_app; }
    WUI::IRenderFactory* Factory() const { return m_factory; }
    // What LoadSystemResources reported missing (0: all there).
    int MissingSystemResources() const { return m_missing; }

private:
    WUI::IRenderFactory* m_factory = nullptr;
    WUI::IImgDecoderFactory* m_decoders = nullptr;
    std::unique_ptr<WUI::SApplication> m_app;
    int m_missing = 0;
};

// A host that records the ids of the events reaching its hook and the
// system commands sent to it; those are taken, so no move loop or
// maximising runs.
class RecordingHost : public WUI::SHostWnd {
public:
    explicit RecordingHost(LPCWSTR layout = nullptr) : SHostWnd(layout) {}
    BOOL OnFireEvent(WUI::EventArgs& args) override;
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;
    int EventCount(int id) const;

    std::vector<int> events;
    std::vector<WPARAM> sysCommands;
    int buttonUps = 0;  // WM_LBUTTONUP messages the window received
};

// Posts a mouse message at pt (client coordinates) to the window, with the
// left button held for WM_LBUTTONDOWN.
void PostMouse(HWND hwnd, UINT msg, POINT pt);
// Posts a move to pt, then a left press and release there.
void PostClick(HWND hwnd, POINT pt);

// Dispatches the thread's messages for ms milliseconds (0: what is queued
// now); with filters, as PumpUntil does.
void Pump(DWORD ms, WUI::SMessageLoop* filters = nullptr);
// Dispatches until done() holds (checked after each burst) or ms pass; whether it held.
// With filters, each message is offered to that loop's filters first, as the
// application's loop does (a drop-down takes its keys there).
bool PumpUntil(const std::function<bool()>& done, DWORD ms, WUI::SMessageLoop* filters = nullptr);

// Builds host (not created yet) from the "WUI" root of a layout string: the
// window is made as a popup without a layout, the root is loaded with the
// layout's size, and, with show, it is shown without activation at (x, y)
// and pumped until its first paint. False when the text does not parse, the
// window cannot be made, or it never paints. The default place keeps clear
// of the screen's top-left, where other tests read the screen meanwhile.
const int kHostX = 640, kHostY = 480;
bool LoadHost(WUI::SHostWnd& host, const wchar_t* xml, bool show = true, int x = kHostX, int y = kHostY);
// Pumps until no repaint of the host is pending and at least one paint step
// ran since paintsBefore (a paint count read earlier); false after ms.
bool WaitPainted(WUI::SHostWnd& host, int paintsBefore, DWORD ms = 5000);
// A pixel of the host's own image: 0xAARRGGBB, premultiplied.
DWORD HostPixel(WUI::SHostWnd& host, int x, int y);

// The screen under the window (what X shows), made opaque, saved as a PNG;
// the window is raised above others and repainted first. False when the
// window has no area or the file cannot be written.
bool SaveScreenshot(WUI::IRenderFactory* factory, HWND hwnd, const wchar_t* path);

}  // namespace hosttest
