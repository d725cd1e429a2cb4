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

InputHost::InputHost(int width, int height) : RealContainerHost(width, height)
{
    RegisterInputControls(App());
    RegisterDragControls(App());
}

InputHost::~InputHost()
{
    Hold(kHoldNone);
}

void InputHost::Hold(BYTE modifiers)
{
    BYTE keys[256] = {};
    keys[VK_MENU] = (modifiers & kHoldAlt) ? 0x80 : 0;
    keys[VK_CONTROL] = (modifiers & kHoldCtrl) ? 0x80 : 0;
    keys[VK_SHIFT] = (modifiers & kHoldShift) ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

}  // namespace inputtest
