// The two scroll bars of a view that scrolls both ways (list control,
// multi-column list view): which show, and their ranges, pages and positions.
#pragma once

#include <windows.h>

namespace WUI {

// Content W x H shown in a list of c x b, bars s thick. The vertical bar
// shows when the rows do not fit, or would not once the horizontal bar took
// its room; the horizontal bar when the columns do not fit the width left.
// onlyVerticalPage is the vertical page while only that bar shows. A bar
// that does not show has position 0; a shown bar's position is kept within
// its content. Returns the SSB_* mask of the bars that show.
int FitScrollBars(int W, int H, int c, int b, int s, int onlyVerticalPage, SCROLLINFO& v, SCROLLINFO& h);

}  // namespace WUI
