#pragma once
// A named, reference-counted drawing recipe that paints one state of an
// element into a rectangle.
#include "core/IObjRef.h"
#include "core/SObject.h"
#include "render/IRenderTarget.h"

namespace WUI {

// Skin states; scroll-bar skins add kSkinStateInactive.
enum { kSkinStateNormal = 0, kSkinStateHover = 1, kSkinStatePushed = 2, kSkinStateDisabled = 3, kSkinStateInactive = 4 };

struct ISkinObj : SObject, IObjRef {
    // Draws with the skin's own alpha.
    virtual void Draw(IRenderTarget* rt, const RECT* rect, DWORD state) = 0;
    virtual void DrawWithAlpha(IRenderTarget* rt, const RECT* rect, DWORD state, BYTE alpha) = 0;
    // Natural size of one state; zero when the skin has none.
    virtual SIZE GetSkinSize() = 0;
    virtual BOOL IgnoresState() = 0;
    virtual int GetStates() = 0;
    virtual BYTE GetAlpha() const = 0;
    virtual void SetAlpha(BYTE alpha) = 0;
    // Recolours towards the colour's hue; 0 undoes it.
    virtual void OnColorize(COLORREF color) = 0;
};

}  // namespace WUI
