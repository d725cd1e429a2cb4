#include "core/TStringT.h"

namespace WUI {

namespace {

// Read-only on purpose: a write to the shared empty buffer faults at once.
struct EmptyBlock {
    TStringData header;
    wchar_t nul[2];
};
const EmptyBlock g_emptyBlock = {{-1, 0, 0}, {0, 0}};

} // namespace

TStringData* TStringData::EmptyData()
{
    return const_cast<TStringData*>(&g_emptyBlock.header);
}

template class TStringT<wchar_t, wchar_traits>;
template class TStringT<char, achar_traits>;

} // namespace WUI
