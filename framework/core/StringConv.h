// Conversions between the two string instantiations by Windows code page.
#pragma once

#include "core/TStringT.h"

namespace WUI {

// Each gives the empty string for empty input or when the conversion fails;
// texts of more than 1024 units go through a heap buffer.
SStringW StrA2W(const SStringA& text, UINT codePage = CP_ACP);
SStringA StrW2A(const SStringW& text, UINT codePage = CP_ACP);
SStringA StrA2A(const SStringA& text, UINT fromCodePage, UINT toCodePage);
SStringW StrW2W(const SStringW& text);

} // namespace WUI
