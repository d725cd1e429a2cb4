// What scroll bars and scroll views tell the application.
#pragma once

#include "core/EventArgs.h"

namespace WUI {

// A scroll bar moved, or the user asked it to: code SB_* (the part pressed
// for a stand-alone bar), the bar's position, and which bar.
class EventScroll : public TplEventArgs<EventScroll> {
public:
    EventScroll(SWindow* sender, int scrollCode, int position, BOOL isVertical)
        : TplEventArgs<EventScroll>(sender), nSbCode(scrollCode), nPos(position), bVertical(isVertical)
    {
    }
    int nSbCode;
    int nPos;
    BOOL bVertical;
};

class EventScrollViewOriginChanged : public TplEventArgs<EventScrollViewOriginChanged> {
public:
    EventScrollViewOriginChanged(SWindow* sender, POINT oldOrigin, POINT newOrigin)
        : TplEventArgs<EventScrollViewOriginChanged>(sender), ptOldOrigin(oldOrigin), ptNewOrigin(newOrigin)
    {
    }
    POINT ptOldOrigin;
    POINT ptNewOrigin;
};

class EventScrollViewSizeChanged : public TplEventArgs<EventScrollViewSizeChanged> {
public:
    EventScrollViewSizeChanged(SWindow* sender, SIZE oldSize, SIZE newSize)
        : TplEventArgs<EventScrollViewSizeChanged>(sender), szOldViewSize(oldSize), szNewViewSize(newSize)
    {
    }
    SIZE szOldViewSize;
    SIZE szNewViewSize;
};

}  // namespace WUI
