#include "element/FakeContainer.h"

#include "core/SWindow.h"

#include <algorithm>

namespace elemtest {

namespace {

template <class T>
BOOL AddOnce(std::vector<T>& list, T item)
{
    if (std::find(list.begin(), list.end(), item) != list.end()) return FALSE;
    list.push_back(item);
    return TRUE;
}

template <class T>
BOOL RemoveIfThere(std::vector<T>& list, T item)
{
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return FALSE;
    list.erase(it);
    return TRUE;
}

}  // namespace

FakeContainer::FakeContainer(WUI::IRenderTarget* target) : m_target(target)
{
    if (m_target) m_target->AddRef();
}

FakeContainer::~FakeContainer()
{
    if (m_target) m_target->Release();
}

void FakeContainer::OnNextFrame()
{
    std::vector<WUI::ITimelineHandler*> copy(timelines);
    for (WUI::ITimelineHandler* h : copy) h->OnNextFrame();
}

BOOL FakeContainer::RegisterDragDrop(WUI::SWND, IDropTarget*)
{
    return FALSE;
}

BOOL FakeContainer::RevokeDragDrop(WUI::SWND)
{
    return FALSE;
}

BOOL FakeContainer::FireEvent(WUI::EventArgs& args)
{
    hostEvents.push_back({args.GetId(), args.sender ? args.sender->GetSwnd() : 0});
    return hostHook ? hostHook(args) : FALSE;
}

int FakeContainer::HostEventCount(int id) const
{
    int n = 0;
    for (const HostEvent& e : hostEvents) n += e.id == id;
    return n;
}

void FakeContainer::UpdateZorder()
{
    if (!zorderDirty || !root) return;
    root->AssignZorder(0);
    zorderDirty = false;
}

// As a host window does with its screen image: each target is a new one of
// the rectangle's size, so it dies when its last reference goes; except in
// mode kRtEmpty the image's pixels are copied in, and back on release.
WUI::IRenderTarget* FakeContainer::GetRenderTarget(const RECT& rect, int mode)
{
    if (!m_target) return nullptr;
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    WUI::IRenderTarget* rt = nullptr;
    if (FAILED(m_target->CreateCompatibleRenderTarget(SIZE{width > 0 ? width : 0, height > 0 ? height : 0}, &rt)) || !rt)
        return nullptr;
    rt->SetViewportOrg(POINT{-rect.left, -rect.top});
    if (mode != WUI::kRtEmpty) rt->BitBlt(&rect, m_target, rect.left, rect.top, SRCCOPY);
    targetsTaken.push_back({rect, mode});
    ++openTargets;
    return rt;
}

void FakeContainer::ReleaseRenderTarget(WUI::IRenderTarget* rt, const RECT& rect, int mode)
{
    if (!rt) return;
    if (mode != WUI::kRtEmpty && m_target) m_target->BitBlt(&rect, rt, rect.left, rect.top, SRCCOPY);
    targetsShown.push_back({rect, mode});
    --openTargets;
    rt->Release();
}

BOOL FakeContainer::ReleaseCapture()
{
    capture = 0;
    return TRUE;
}

WUI::SWND FakeContainer::SetCapture(WUI::SWND swnd)
{
    WUI::SWindow* element = WUI::SWindowMgr::GetWindow(swnd);
    if (element && element->IsDisabled(TRUE)) return 0;
    WUI::SWND previous = capture;
    capture = swnd;
    return previous;
}

BOOL FakeContainer::CreateCaret(WUI::SWND, HBITMAP, int, int)
{
    return FALSE;
}

BOOL FakeContainer::ShowCaret(BOOL)
{
    return FALSE;
}

BOOL FakeContainer::SetCaretPos(int x, int y)
{
    caretPos = POINT{x, y};
    return FALSE;
}

BOOL FakeContainer::RegisterTimelineHandler(WUI::ITimelineHandler* handler)
{
    return AddOnce(timelines, handler);
}

BOOL FakeContainer::UnregisterTimelineHandler(WUI::ITimelineHandler* handler)
{
    return RemoveIfThere(timelines, handler);
}

BOOL FakeContainer::RegisterTrackMouseEvent(WUI::SWND swnd)
{
    return AddOnce(tracked, swnd);
}

BOOL FakeContainer::UnregisterTrackMouseEvent(WUI::SWND swnd)
{
    return RemoveIfThere(tracked, swnd);
}

}  // namespace elemtest
