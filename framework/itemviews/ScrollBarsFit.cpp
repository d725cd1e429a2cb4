#include "itemviews/ScrollBarsFit.h"

#include "controls/SPanel.h"

#include <algorithm>

namespace WUI {

int FitScrollBars(int W, int H, int c, int b, int s, int onlyVerticalPage, SCROLLINFO& v, SCROLLINFO& h)
{
    int bars = SSB_NULL;
    v.nMin = 0;
    h.nMin = 0;
    if (b < H || (b < H + s && c < W)) {
        bars |= SSB_VERT;
        v.nMax = H - 1;
        if (c - s < W) {
            bars |= SSB_HORZ;
            v.nPage = UINT(std::max(0, b - s));
            h.nMax = W - 1;
            h.nPage = UINT(std::max(0, c - s));
        } else {
            v.nPage = UINT(std::max(0, onlyVerticalPage));
            h.nPos = 0;
            h.nMax = c - 1;
            h.nPage = UINT(std::max(0, c));
        }
    } else {
        v.nPos = 0;
        v.nMax = b - 1;
        v.nPage = UINT(std::max(0, b));
        h.nPage = UINT(std::max(0, c));
        if (c < W) {
            bars |= SSB_HORZ;
            h.nMax = W - 1;
        } else {
            h.nPos = 0;
            h.nMax = c - 1;
        }
    }
    if ((bars & SSB_VERT) && v.nPos + int(v.nPage) > H) v.nPos = std::max(0, H - int(v.nPage));
    if ((bars & SSB_HORZ) && h.nPos + int(h.nPage) > W) h.nPos = std::max(0, W - int(h.nPage));
    if (!(bars & SSB_HORZ)) h.nPos = 0;
    return bars;
}

}  // namespace WUI
