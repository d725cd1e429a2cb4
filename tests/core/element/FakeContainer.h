// A container without a native window: it answers what elements ask of their
// host and records it, so element trees run and are checked without a screen.
#pragma once

#include "core/ISwndContainer.h"
#include "render/IRenderTarget.h"

#include <functional>
#include <string>
#include <vector>

namespace elemtest {

class FakeContainer : public WUI::ISwndContainer {
public:
    // target stands for the host's image: render targets for a rectangle
    // are made beside it and show into it (null: none are made).
    explicit FakeContainer(WUI::IRenderTarget* target = nullptr);
    ~FakeContainer();
    FakeContainer(const FakeContainer&) = delete;
    FakeContainer& operator=(const FakeContainer&) = delete;

    void OnNextFrame() override;
    BOOL RegisterDragDrop(WUI::SWND swnd, IDropTarget* target) override;
    BOOL RevokeDragDrop(WUI::SWND swnd) override;
    // Records the event's name and sender, then asks hostHook when set.
    BOOL FireEvent(WUI::EventArgs& args) override;
    HWND GetHostHwnd() override { return hostHwnd; }
    LPCWSTR GetTranslatorContext() override { return translatorContext.c_str(); }
    BOOL IsTranslucent() override { return FALSE; }
    BOOL IsSendWheel2Hover() override { return FALSE; }
    RECT GetContainerRect() override { return containerRect; }
    WUI::IRenderTarget* GetRenderTarget(const RECT& rect, int mode) override;
    void ReleaseRenderTarget(WUI::IRenderTarget* rt, const RECT& rect, int mode) override;
    void OnRedraw(const RECT& rect) override { redraws.push_back(rect); }
    WUI::SWND GetCapture() override { return capture; }
    BOOL ReleaseCapture() override;
    WUI::SWND SetCapture(WUI::SWND swnd) override;
    void SetFocus(WUI::SWND swnd) override { focus = swnd; }
    WUI::SWND GetHover() override { return hover; }
    WUI::SWND GetFocus() override { return focus; }
    BOOL CreateCaret(WUI::SWND owner, HBITMAP bitmap, int width, int height) override;
    BOOL ShowCaret(BOOL show) override;
    BOOL SetCaretPos(int x, int y) override;
    void UpdateWindow() override {}
    void UpdateTooltip() override { ++tooltipUpdates; }
    void OnUpdateCaretRect(const RECT& rect) override { caretRects.push_back(rect); }
    WUI::CFocusManager* GetFocusManager() override { return nullptr; }
    BOOL RegisterTimelineHandler(WUI::ITimelineHandler* handler) override;
    BOOL UnregisterTimelineHandler(WUI::ITimelineHandler* handler) override;
    BOOL RegisterTrackMouseEvent(WUI::SWND swnd) override;
    BOOL UnregisterTrackMouseEvent(WUI::SWND swnd) override;
    WUI::SMessageLoop* GetMsgLoop() override { return nullptr; }
    void MarkZorderDirty() override
    {
        ++zorderMarks;
        zorderDirty = true;
    }
    // Numbers root's tree in paint order when marked dirty.
    void UpdateZorder() override;
    WUI::IScriptModule* GetScriptModule() override { return script; }

    // How many events of that id reached the host.
    int HostEventCount(int id) const;

    // What the elements asked for.
    std::vector<RECT> redraws;
    std::vector<RECT> caretRects;  // visible areas the caret reported
    struct HostEvent {
        int id;
        WUI::SWND sender;
    };
    std::vector<HostEvent> hostEvents;
    std::function<BOOL(WUI::EventArgs&)> hostHook;  // the application's hook; unset: not handled
    std::vector<WUI::SWND> tracked;
    std::vector<WUI::ITimelineHandler*> timelines;
    WUI::SWND capture = 0, hover = 0, focus = 0;
    int zorderMarks = 0;
    bool zorderDirty = true;
    WUI::SWindow* root = nullptr;  // not owned
    // Each render target handed out and given back, with its rectangle and mode.
    struct TargetUse {
        RECT rect;
        int mode;
    };
    std::vector<TargetUse> targetsTaken, targetsShown;
    int tooltipUpdates = 0;
    POINT caretPos = {-1, -1};  // the last SetCaretPos
    int openTargets = 0;
    HWND hostHwnd = nullptr;
    RECT containerRect = {0, 0, 0, 0};
    std::wstring translatorContext;
    WUI::IScriptModule* script = nullptr;  // not owned

private:
    WUI::IRenderTarget* m_target;
};

}  // namespace elemtest
