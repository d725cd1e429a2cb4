// The element names of the setup's layouts and the ids they get, so the
// wizards can find elements by id as well as by name.
#pragma once

#include "core/SNamedValue.h"

const int kNamedIdCount = 38;

// Sorted by name, as the application's table expects.
extern const WUI::SNamedID::TableEntry kNamedIdTable[kNamedIdCount];

// The names of the table, in its order.
extern const wchar_t* const kElementNames[kNamedIdCount];
