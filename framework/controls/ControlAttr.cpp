#include "controls/ControlAttr.h"

#include "render/SSkinPool.h"

namespace WUI {

ISkinObj* BuiltinSkin(int index)
{
    SSkinPoolMgr* skins = SSkinPoolMgr::GetSingletonPtr();
    return skins ? skins->GetBuiltinSkin(index) : nullptr;
}

ISkinObj* FindSkin(const SStringW& name)
{
    SSkinPoolMgr* skins = SSkinPoolMgr::GetSingletonPtr();
    return skins ? skins->FindSkinByName(name) : nullptr;
}

DWORD ClampSkinState(ISkinObj* skin, DWORD state)
{
    return skin && state < static_cast<DWORD>(skin->GetStates()) ? state : 0;
}

void ColorizeSkin(ISkinObj* skin, COLORREF color)
{
    if (skin) skin->OnColorize(color);
}

SIZE SkinSize(ISkinObj* skin)
{
    return skin ? skin->GetSkinSize() : SIZE{0, 0};
}

}  // namespace WUI
