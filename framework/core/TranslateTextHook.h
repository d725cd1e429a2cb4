// Where SObject::TranslateText finds the application's translator. The
// application object installs the hook while it lives; without one, text
// comes back unchanged.
#pragma once

#include "core/TStringT.h"

namespace WUI {

typedef SStringW (*FnTranslateText)(const SStringW& text, const SStringW& context);

// Null removes the hook.
void SetTranslateTextHook(FnTranslateText hook);
FnTranslateText GetTranslateTextHook();

} // namespace WUI
