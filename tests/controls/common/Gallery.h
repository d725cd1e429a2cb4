// One window holding every common control in each of its states, for a
// person to look at.
#pragma once

#include "core/SWindow.h"

namespace ctltest {

// The layout: 720 x 560, the controls in rows, a label at the left of each.
extern const wchar_t kGalleryLayout[];
const int kGalleryWidth = 720, kGalleryHeight = 560;

// Puts the controls named for a state into it ("..._hover", "..._push"),
// focuses "chk_focus", moves the stopped animations a few frames on, and
// gives the icons that a layout cannot name.
void SetGalleryStates(WUI::SWindow* root);

}  // namespace ctltest
