#include "core/SwndLayout.h"

#include "core/AttrParse.h"
#include "core/SWindow.h"

#include <cmath>
#include <cwchar>
#include <utility>

namespace WUI {

namespace {

// Offsets are fractions of the element's own size.
const float kMaxOffset = 1000.0f;

int ClampCoord(long long v)
{
    if (v > kMaxLayoutCoord) return kMaxLayoutCoord;
    if (v < -kMaxLayoutCoord) return -kMaxLayoutCoord;
    return static_cast<int>(v);
}

int ClampCoord(double v)
{
    if (!(v <= kMaxLayoutCoord)) return kMaxLayoutCoord;
    if (v < -kMaxLayoutCoord) return -kMaxLayoutCoord;
    return static_cast<int>(v);  // toward zero
}

// Pieces between commas, empty ones included; -1 when there are more than max.
int SplitKeepEmpty(const SStringW& text, SStringW* parts, int max)
{
    int count = 0, start = 0;
    const wchar_t* p = text.c_str();
    for (int i = 0, n = text.GetLength(); i <= n; ++i) {
        if (i < n && p[i] != L',') continue;
        if (count == max) return -1;
        parts[count++] = SStringW(p + start, i - start);
        start = i + 1;
    }
    return count;
}

// The sibling before (step -1) or after (+1) that takes space in the flow:
// one whose own visible flag or display flag is set.
SWindow* SiblingTakingSpace(SWindow* element, bool previous)
{
    SWindow* s = element;
    do {
        s = s->GetWindow(previous ? GSW_PREVSIBLING : GSW_NEXTSIBLING);
    } while (s && !s->IsVisible(FALSE) && !s->IsDisplay());
    return s;
}

// The gap flow placement leaves between siblings: the parent's "sepSpace".
int SepSpaceOf(SWindow* element)
{
    SWindow* parent = element->GetParent();
    return parent ? parent->GetStyle().m_bySepSpace : 0;
}

int Near(const RECT& rc, BOOL horizontal)
{
    return horizontal ? rc.left : rc.top;
}

int Far(const RECT& rc, BOOL horizontal)
{
    return horizontal ? rc.right : rc.bottom;
}

}  // namespace

SwndRepos::SwndRepos(SWindow* element, bool measureOnly) : m_element(element), m_measureOnly(measureOnly)
{
    m_saved = element->m_rcWindow;
    element->m_rcWindow = RECT{POS_INIT, POS_INIT, POS_INIT, POS_INIT};
}

void SwndRepos::Apply()
{
    if (m_measureOnly) return;
    const RECT now = m_element->m_rcWindow;
    if (EqualRect(&now, &m_saved) && !m_element->IsLayoutDirty()) return;
    m_element->m_dwFlags &= ~SWindow::kFlagLayoutDirty;
    m_element->OnPosChanged(&m_saved, &now);
}

bool SwndLayout::ParseSibItem(const wchar_t* text, PosItem& item)
{
    static const struct {
        LPCWSTR word;
        int type;
    } words[] = {{L"left@", PIT_SIB_BEGIN}, {L"right@", PIT_SIB_END}, {L"top@", PIT_SIB_BEGIN}, {L"bottom@", PIT_SIB_END}};
    for (const auto& w : words) {
        size_t len = wcslen(w.word);
        if (wcsncmp(text, w.word, len) != 0) continue;
        SStringW rest(text + len);
        int colon = rest.Find(L':');
        if (colon < 0) return false;
        int id, offset;
        if (!AttrParseInt(rest.Left(colon), id, false) || id == 0 ||
            !AttrParseInt(rest.Mid(colon + 1), offset, false, -kMaxLayoutValue, kMaxLayoutValue))
            return false;
        item.type = w.type;
        item.refId = id;
        item.sign = offset < 0 ? -1 : 1;
        item.value = static_cast<float>(offset < 0 ? -offset : offset);
        return true;
    }
    return false;
}

bool SwndLayout::ParsePosItem(const SStringW& text, PosItem& item)
{
    SStringW trimmed(text);
    trimmed.TrimBlank();
    if (trimmed.IsEmpty()) return false;
    const wchar_t* p = trimmed.c_str();
    PosItem parsed;
    if (wcsncmp(p, L"sib.", 4) == 0) {
        if (!ParseSibItem(p + 4, parsed)) return false;
        item = parsed;
        return true;
    }
    static const wchar_t marks[] = L"%@[]{|}";
    static const int types[] = {PIT_PERCENT, PIT_SIZE, PIT_PREV_END, PIT_NEXT_BEGIN, PIT_PREV_BEGIN, PIT_CENTER, PIT_NEXT_END};
    parsed.type = PIT_NORMAL;
    if (const wchar_t* mark = wcschr(marks, *p)) {
        parsed.type = types[mark - marks];
        ++p;
    }
    if (*p == L'-') {
        parsed.sign = -1;
        ++p;
    }
    // A bare mark means 0; anything else must be one plain non-negative number.
    if (*p && (*p == L'-' || *p == L'+' || !AttrParseFloat(p, parsed.value, kMaxLayoutValue))) return false;
    item = parsed;
    return true;
}

void SwndLayout::SetAxisFromItems(int axis, const PosItem& nearItem, const PosItem& farItem)
{
    const int shift = axis == kAxisX ? 0 : 4;
    if (nearItem.type == PIT_NORMAL && nearItem.value == 0 && nearItem.sign > 0 && farItem.type == PIT_NORMAL &&
        farItem.value == 0 && farItem.sign < 0) {
        m_sizeFlags |= SIZE_FIT_PARENT << shift;
    } else if (farItem.type == PIT_SIZE && farItem.sign < 0) {
        m_sizeFlags |= SIZE_FIT_CONTENT << shift;
    } else if (farItem.type == PIT_SIZE) {
        m_sizeFlags |= SIZE_SPECIFIED << shift;
        (axis == kAxisX ? m_width : m_height) = static_cast<int>(farItem.value);
    }
}

BOOL SwndLayout::InitPosFromString(const SStringW& text)
{
    SStringW parts[4];
    const int count = SplitKeepEmpty(text, parts, 4);
    if (count != 2 && count != 4) return FALSE;
    PosItem items[4];
    for (int i = 0; i < count; ++i) {
        if (!ParsePosItem(parts[i], items[i])) return FALSE;
        if (i < 2 && items[i].type == PIT_SIZE) return FALSE;
    }
    m_count = count;
    for (int i = 0; i < count; ++i) m_items[i] = items[i];
    if (count == 4) {
        m_sizeFlags &= ~0xFFu;
        SetAxisFromItems(kAxisX, items[0], items[2]);
        SetAxisFromItems(kAxisY, items[1], items[3]);
    }
    return TRUE;
}

BOOL SwndLayout::InitOffsetFromString(const SStringW& text)
{
    SStringW parts[2];
    float x, y;
    if (SplitKeepEmpty(text, parts, 2) != 2 || !AttrParseFloat(parts[0], x, kMaxOffset) ||
        !AttrParseFloat(parts[1], y, kMaxOffset))
        return FALSE;
    m_offsetX = x;
    m_offsetY = y;
    return TRUE;
}

BOOL SwndLayout::InitPos2TypeFromString(const SStringW& text)
{
    static const struct {
        LPCWSTR word;
        float x, y;
    } types[] = {{L"lefttop", 0, 0},         {L"leftmid", 0, -0.5f},     {L"leftbottom", 0, -1},
                 {L"midtop", -0.5f, 0},      {L"center", -0.5f, -0.5f},  {L"midbottom", -0.5f, -1},
                 {L"righttop", -1, 0},       {L"rightmid", -1, -0.5f},   {L"rightbottom", -1, -1}};
    SStringW word(text);
    word.MakeLower();
    for (const auto& t : types) {
        if (word != t.word) continue;
        m_offsetX = t.x;
        m_offsetY = t.y;
        return TRUE;
    }
    return FALSE;
}

BOOL SwndLayout::InitAxisSize(const SStringW& text, int axis)
{
    if (text.IsEmpty()) return FALSE;
    SStringW word(text);
    word.MakeLower();
    if (word == L"full") return SetFitParent(axis);
    int n;
    if (!AttrParseInt(word, n, false, -kMaxLayoutValue, kMaxLayoutValue)) return FALSE;
    if (n < 0) return SetFitContent(axis);
    if (axis == kAxisX) SetWidth(n);
    else SetHeight(n);
    return TRUE;
}

BOOL SwndLayout::InitWidth(const SStringW& text)
{
    return InitAxisSize(text, kAxisX);
}

BOOL SwndLayout::InitHeight(const SStringW& text)
{
    return InitAxisSize(text, kAxisY);
}

BOOL SwndLayout::InitSizeFromString(const SStringW& text)
{
    SStringW parts[2];
    if (SplitKeepEmpty(text, parts, 2) != 2) return FALSE;
    BOOL width = InitWidth(parts[0]);
    BOOL height = InitHeight(parts[1]);
    return width && height;
}

void SwndLayout::Clear()
{
    m_count = 0;
    m_offsetX = m_offsetY = 0;
    m_sizeFlags = SIZE_FIT_CONTENT | SIZE_FIT_CONTENT << 4;
}

BOOL SwndLayout::HasSizeFlag(int axis, UINT flag) const
{
    bool x = (axis & kAxisX) && (m_sizeFlags & flag);
    bool y = (axis & kAxisY) && (m_sizeFlags & (flag << 4));
    return x || y;
}

BOOL SwndLayout::SetSizeFlag(int axes, UINT flag)
{
    if (!(axes & kAxisBoth)) return FALSE;
    if (axes & kAxisX) m_sizeFlags = (m_sizeFlags & ~0x0Fu) | flag;
    if (axes & kAxisY) m_sizeFlags = (m_sizeFlags & ~0xF0u) | flag << 4;
    return TRUE;
}

void SwndLayout::SetWidth(int width)
{
    m_width = width;
    SetSizeFlag(kAxisX, SIZE_SPECIFIED);
}

void SwndLayout::SetHeight(int height)
{
    m_height = height;
    SetSizeFlag(kAxisY, SIZE_SPECIFIED);
}

int SwndLayout::GetSpecifiedSize(int axis) const
{
    if (m_count != 4) return axis == kAxisX ? m_width : m_height;
    const PosItem& item = m_items[axis == kAxisX ? 2 : 3];
    return item.type == PIT_SIZE ? static_cast<int>(item.value) : 0;
}

int SwndLayout::CalcCoordinate(SWindow* element, const PosItem& item, int a, int b, BOOL horizontal)
{
    const long long n = static_cast<long long>(item.value) * item.sign;
    SWindow* parent = element->GetParent();
    switch (item.type) {
    case PIT_NORMAL:
        return ClampCoord(item.sign < 0 ? b + n : a + n);
    case PIT_CENTER:
        return ClampCoord(a + n + (static_cast<long long>(b) - a) / 2);
    case PIT_PERCENT: {
        const double len = static_cast<double>(b) - a;
        const double shift = item.sign < 0 ? (item.value - 100.0) * len / 100.0 : len * item.value / -100.0;
        const int v = ClampCoord(a - std::trunc(shift));
        return v > b ? b : v;
    }
    case PIT_PREV_END:
    case PIT_PREV_BEGIN:
    case PIT_NEXT_BEGIN:
    case PIT_NEXT_END: {
        const bool previous = item.type == PIT_PREV_END || item.type == PIT_PREV_BEGIN;
        const bool farEdge = item.type == PIT_PREV_END || item.type == PIT_NEXT_END;
        if (SWindow* sibling = SiblingTakingSpace(element, previous)) {
            const RECT& rc = sibling->m_rcWindow;
            const int v = farEdge ? Far(rc, horizontal) : Near(rc, horizontal);
            return IsPosSentinel(v) ? POS_WAIT : ClampCoord(v + n);
        }
        // No such sibling: the parent's client edge on the side looked to.
        long long edge = previous ? a : b;
        if (parent) {
            const RECT client = parent->GetClientRect();
            edge = previous ? Near(client, horizontal) : Far(client, horizontal);
        }
        return ClampCoord(edge + n);
    }
    case PIT_SIB_BEGIN:
    case PIT_SIB_END: {
        // An id that names no element waits: the element stays unplaced.
        SWindow* sibling = parent ? parent->FindChildByID(item.refId, -1) : nullptr;
        if (!sibling) return POS_WAIT;
        const int v = item.type == PIT_SIB_END ? Far(sibling->m_rcWindow, horizontal) : Near(sibling->m_rcWindow, horizontal);
        return IsPosSentinel(v) ? POS_WAIT : ClampCoord(v + n);
    }
    default:
        return 0;
    }
}

SIZE SwndLayout::CalcSize(SWindow* element, const RECT& parent, const SwndLayout& layout)
{
    SIZE size = {0, 0};
    if (layout.IsSpecifiedSize(kAxisX)) size.cx = layout.GetSpecifiedSize(kAxisX);
    else if (layout.IsFitParent(kAxisX)) size.cx = parent.right - parent.left;
    if (layout.IsSpecifiedSize(kAxisY)) size.cy = layout.GetSpecifiedSize(kAxisY);
    else if (layout.IsFitParent(kAxisY)) size.cy = parent.bottom - parent.top;
    const bool fitX = layout.IsFitContent(kAxisX), fitY = layout.IsFitContent(kAxisY);
    if (fitX || fitY) {
        SIZE content = element->MeasureContent(&parent);
        if (fitX) size.cx = content.cx;
        if (fitY) size.cy = content.cy;
    }
    return size;
}

int SwndLayout::CalcPosition(SWindow* element, const RECT& parent, RECT& rc, const SwndLayout* layout)
{
    const SwndLayout& l = layout ? *layout : element->GetLayout();
    int waiting = 0;
    if (l.m_count == 4) {
        if (IsPosSentinel(rc.left)) rc.left = CalcCoordinate(element, l.m_items[0], parent.left, parent.right, TRUE);
        if (IsPosSentinel(rc.top)) rc.top = CalcCoordinate(element, l.m_items[1], parent.top, parent.bottom, FALSE);
        SIZE content = {0, 0};
        bool measured = false;
        for (int i = 2; i < 4; ++i) {
            const BOOL horizontal = i == 2;
            LONG& farCoord = horizontal ? rc.right : rc.bottom;
            const LONG nearCoord = horizontal ? rc.left : rc.top;
            const PosItem& item = l.m_items[i];
            if (!IsPosSentinel(farCoord)) continue;
            if (item.type != PIT_SIZE) {
                farCoord = CalcCoordinate(element, item, horizontal ? parent.left : parent.top,
                                          horizontal ? parent.right : parent.bottom, horizontal);
            } else if (!IsPosSentinel(nearCoord)) {
                long long extent = static_cast<long long>(item.value);
                if (item.sign < 0) {
                    if (!measured) content = element->MeasureContent(&parent);
                    measured = true;
                    extent = horizontal ? content.cx : content.cy;
                }
                farCoord = ClampCoord(nearCoord + extent);
            }
        }
        waiting = (rc.left == POS_WAIT) + (rc.top == POS_WAIT) + (rc.right == POS_WAIT) + (rc.bottom == POS_WAIT);
        if (waiting) return waiting;
    } else {
        int x = rc.left, y = rc.top;
        if (l.m_count == 2) {
            if (IsPosSentinel(x)) x = CalcCoordinate(element, l.m_items[0], parent.left, parent.right, TRUE);
            if (IsPosSentinel(y)) y = CalcCoordinate(element, l.m_items[1], parent.top, parent.bottom, FALSE);
        } else {
            if (IsPosSentinel(x) && l.IsFitParent(kAxisX)) x = parent.left;
            if (IsPosSentinel(y) && l.IsFitParent(kAxisY)) y = parent.top;
            SWindow* prev = SiblingTakingSpace(element, true);
            if (IsPosSentinel(x)) {
                if (!prev) x = parent.left;
                else if (IsPosSentinel(prev->m_rcWindow.right)) x = POS_WAIT;
                else x = ClampCoord(static_cast<long long>(prev->m_rcWindow.right) + SepSpaceOf(element));
            }
            if (IsPosSentinel(y)) {
                if (!prev) y = parent.top;
                else y = IsPosSentinel(prev->m_rcWindow.top) ? POS_WAIT : prev->m_rcWindow.top;
            }
        }
        waiting = (x == POS_WAIT) + (y == POS_WAIT);
        if (waiting) {
            rc.left = x;
            rc.top = y;
            return waiting;
        }
        const SIZE size = CalcSize(element, parent, l);
        rc = RECT{x, y, ClampCoord(static_cast<long long>(x) + size.cx), ClampCoord(static_cast<long long>(y) + size.cy)};
    }
    if (rc.right < rc.left) std::swap(rc.left, rc.right);
    if (rc.bottom < rc.top) std::swap(rc.top, rc.bottom);
    // Up to 1000 times the size: past what an int holds, so computed wide.
    const double dx = std::trunc(double(rc.right - rc.left) * l.m_offsetX);
    const double dy = std::trunc(double(rc.bottom - rc.top) * l.m_offsetY);
    rc = RECT{ClampCoord(rc.left + dx), ClampCoord(rc.top + dy), ClampCoord(rc.right + dx), ClampCoord(rc.bottom + dy)};
    return 0;
}

BOOL SwndLayout::CalcChildrenPositions(SArray<SwndRepos>& list, const RECT& parent)
{
    while (list.GetCount() > 0) {
        const int before = list.GetCount();
        int kept = 0;
        for (int i = 0; i < before; ++i) {
            SWindow* element = list[i].GetElement();
            // A handler run by an earlier child's move may have taken this one out.
            if (!element->GetParent()) continue;
            if (CalcPosition(element, parent, element->m_rcWindow) == 0) {
                list[i].Apply();
                continue;
            }
            if (kept != i) list[kept] = list[i];
            ++kept;
        }
        while (list.GetCount() > kept) list.RemoveAt(list.GetCount() - 1);
        if (kept == before) return FALSE;
    }
    return TRUE;
}

}  // namespace WUI
