// One window holding every common control in each of its states, for a
// person to look at.
#pragma once

#include "core/SWindow.h"

namespace ctltest {

// The layout: 720 x 560, the controls in rows, a label at the left of each.
extern const wchar_t kGalleryLayout[];
const int kGalleryWidth = 720, kGalleryHeight = 560;

// Puts the controls named for a state into it: "..._hover", "..._push",
// "..._focus", and the animation a few frames on. Skins and icons that a
// layout cannot name are given here.
void SetGalleryStates(WUI::SWindow* root);

}  // namespace ctltest
