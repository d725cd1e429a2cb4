// Where an element sits in its parent: the position language of "pos",
// "offset", "pos2type", "width", "height" and "size", and the layout pass
// that turns the children's descriptions into window rectangles.
#pragma once

#include "core/SArray.h"
#include "core/SAutoRefPtr.h"
#include "core/TStringT.h"

namespace WUI {

class SWindow;

enum PosItemType {
    PIT_NULL = 0,
    PIT_NORMAL = 1,      // "10": from the near edge; "-10": from the far edge
    PIT_CENTER = 2,      // "|10": from the middle
    PIT_PERCENT = 3,     // "%50": percentage of the range
    PIT_PREV_END = 4,    // "[5": after the previous sibling's end
    PIT_NEXT_BEGIN = 5,  // "]5": from the next sibling's begin
    PIT_PREV_BEGIN = 6,  // "{5"
    PIT_NEXT_END = 7,    // "}5"
    PIT_SIZE = 8,        // "@100": a size, only for right and bottom
    PIT_SIB_BEGIN = 10,  // "sib.left@id:offset", "sib.top@id:offset"
    PIT_SIB_END = 11,    // "sib.right@id:offset", "sib.bottom@id:offset"
};

struct PosItem {
    int type = PIT_NULL;
    int refId = -1;         // sibling id of the "sib." types
    signed char sign = 1;   // +1 or -1
    float value = 0;        // never negative: the sign carries the direction
};

// Size flags: bits 0-2 for the x axis, 4-6 for the y axis.
enum : UINT {
    SIZE_SPECIFIED = 0x1,
    SIZE_FIT_CONTENT = 0x2,
    SIZE_FIT_PARENT = 0x4,
};
// Axes of the size queries and setters.
enum { kAxisX = 1, kAxisY = 2, kAxisBoth = 3 };

// Coordinates of an element the pass has not placed: not computed yet, and
// waiting for another element. An element whose left holds either is not placed.
const int POS_INIT = 0x11000000;
const int POS_WAIT = 0x12000000;
inline bool IsPosSentinel(int v)
{
    return v == POS_INIT || v == POS_WAIT;
}

// Numbers a layout may give; computed coordinates are held well below the sentinels.
const int kMaxLayoutValue = 0x00FFFFFF;
const int kMaxLayoutCoord = 0x0FFFFFFF;

// One child queued for a pass: its rectangle before the pass, kept to tell
// whether it moved. Holds a reference, so a handler run by an earlier
// child's move cannot free it mid-pass.
class SwndRepos {
public:
    // Saves the element's rectangle and marks all four coordinates POS_INIT.
    SwndRepos(SWindow* element, bool measureOnly);
    SWindow* GetElement() const { return m_element; }
    const RECT& GetSavedRect() const { return m_saved; }
    // Nothing when measuring; otherwise, when the rectangle changed or the
    // element's layout is dirty, clears that flag and tells the element.
    void Apply();

private:
    SAutoRefPtr<SWindow> m_element;
    RECT m_saved;
    bool m_measureOnly;
};

class SwndLayout {
public:
    // Each parser returns whether the value was taken; a refused value leaves
    // the descriptor as it was.
    BOOL InitPosFromString(const SStringW& text);
    BOOL InitOffsetFromString(const SStringW& text);
    BOOL InitPos2TypeFromString(const SStringW& text);
    // "full" fills the parent; a negative number sizes to the content.
    BOOL InitWidth(const SStringW& text);
    BOOL InitHeight(const SStringW& text);
    // "width,height".
    BOOL InitSizeFromString(const SStringW& text);
    // No pos, no offset, sizes to its content; width and height stay.
    void Clear();

    BOOL IsSpecifiedSize(int axis) const { return HasSizeFlag(axis, SIZE_SPECIFIED); }
    BOOL IsFitContent(int axis) const { return HasSizeFlag(axis, SIZE_FIT_CONTENT); }
    BOOL IsFitParent(int axis) const { return HasSizeFlag(axis, SIZE_FIT_PARENT); }
    // The fixed width (axis 1) or height (axis 2); with four pos items, the
    // "@" size of the far item, or 0 when it is not a size.
    int GetSpecifiedSize(int axis) const;
    // False for no axis.
    BOOL SetFitContent(int axes) { return SetSizeFlag(axes, SIZE_FIT_CONTENT); }
    BOOL SetFitParent(int axes) { return SetSizeFlag(axes, SIZE_FIT_PARENT); }
    void SetWidth(int width);
    void SetHeight(int height);

    int GetItemCount() const { return m_count; }
    const PosItem& GetItem(int index) const { return m_items[index]; }
    UINT GetSizeFlags() const { return m_sizeFlags; }
    float GetOffsetX() const { return m_offsetX; }
    float GetOffsetY() const { return m_offsetY; }

    // The pass over queued children inside the parent rectangle: sweeps until
    // every child is placed (true) or a sweep places none (false; the rest
    // keep sentinel coordinates and are not told they moved). A reverse chain
    // of N children ("]" from the last to the first) needs N sweeps.
    static BOOL CalcChildrenPositions(SArray<SwndRepos>& list, const RECT& parent);
    // Computes rc in place from the layout (the element's own when null);
    // returns how many coordinates wait on elements not placed yet (0 = placed).
    static int CalcPosition(SWindow* element, const RECT& parent, RECT& rc, const SwndLayout* layout = nullptr);
    // The desired size of an element placed by 0 or 2 items.
    static SIZE CalcSize(SWindow* element, const RECT& parent, const SwndLayout& layout);
    // One coordinate of an item within the range [a, b].
    static int CalcCoordinate(SWindow* element, const PosItem& item, int a, int b, BOOL horizontal);

private:
    static bool ParsePosItem(const SStringW& text, PosItem& item);
    static bool ParseSibItem(const wchar_t* text, PosItem& item);
    void SetAxisFromItems(int axis, const PosItem& nearItem, const PosItem& farItem);
    BOOL InitAxisSize(const SStringW& text, int axis);
    BOOL HasSizeFlag(int axis, UINT flag) const;
    BOOL SetSizeFlag(int axes, UINT flag);

    UINT m_sizeFlags = SIZE_FIT_CONTENT | SIZE_FIT_CONTENT << 4;
    int m_count = 0;
    PosItem m_items[4];
    float m_offsetX = 0, m_offsetY = 0;
    int m_width = 0, m_height = 0;
};

}  // namespace WUI
