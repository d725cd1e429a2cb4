#include "InputHost.h"

#include "controls/DragControls.h"
#include "controls/InputControls.h"

using namespace WUI;

namespace inputtest {

BOOL RecordingContainer::CreateCaret(SWND owner, HBITMAP, int width, int height)
{
    caretOwner = owner;
    caretSize = SIZE{width, height};
    return TRUE;
}

BOOL RecordingContainer::ShowCaret(BOOL show)
{
    caretShown = show;
    return TRUE;
}

BOOL RecordingContainer::SetCaretPos(int x, int y)
{
    caretPos = POINT{x, y};
    ++caretMoves;
    return TRUE;
}

IRenderTarget* RecordingContainer::GetRenderTarget(const RECT& rect, int mode)
{
    ++targetsTaken;
    return HostedContainer::GetRenderTarget(rect, mode);
}

InputHost::InputHost(int width, int height) : m_base(width, height), m_rect{0, 0, width, height}
{
    RegisterInputControls(m_base.App());
    RegisterDragControls(m_base.App());
    m_container = new RecordingContainer(m_base.Target());
    m_container->Move(&m_rect);
}

InputHost::~InputHost()
{
    m_container->SendSwndMessage(WM_DESTROY);
    m_container->Release();
    Hold(kHoldNone);
}

void InputHost::Load(const wchar_t* xml)
{
    m_container->CreateChildrenFromString(xml);
    m_container->UpdateLayout();
}

SWindow* InputHost::Find(const wchar_t* name)
{
    return m_container->FindChildByName(name, -1);
}

LRESULT InputHost::Send(UINT msg, WPARAM wParam, LPARAM lParam, BOOL* handled)
{
    const LRESULT result = m_container->DispatchHostMessage(msg, wParam, lParam);
    if (handled) *handled = m_container->IsMsgHandled();
    return result;
}

void InputHost::Mouse(UINT msg, int x, int y)
{
    Send(msg, 0, MAKELPARAM(x, y));
}

void InputHost::Click(int x, int y)
{
    Mouse(WM_MOUSEMOVE, x, y);
    Mouse(WM_LBUTTONDOWN, x, y);
    Mouse(WM_LBUTTONUP, x, y);
}

void InputHost::Hold(BYTE modifiers)
{
    BYTE keys[256] = {};
    keys[VK_MENU] = (modifiers & kHoldAlt) ? 0x80 : 0;
    keys[VK_CONTROL] = (modifiers & kHoldCtrl) ? 0x80 : 0;
    keys[VK_SHIFT] = (modifiers & kHoldShift) ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

void InputHost::PaintAll()
{
    Target()->ClearRect(&m_rect, 0);
    m_container->UpdateZorder();
    m_container->RedrawRegion(Target(), nullptr);
}

}  // namespace inputtest
