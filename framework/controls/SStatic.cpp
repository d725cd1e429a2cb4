#include "controls/SStatic.h"

#include "controls/ControlAttr.h"

#include <algorithm>

namespace WUI {

SStatic::SStatic()
{
    m_dwFlags |= kFlagMsgTransparent;
    m_style.SetAttribute(L"align", L"left", TRUE);
}

HRESULT SStatic::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SStatic, int> ints[] = {
        {L"multiLines", &SStatic::m_nMultiLines, S_FALSE},
        {L"interHeight", &SStatic::m_nInterHeight, S_FALSE},
    };
    HRESULT hr;
    if (SetIntAttr(this, ints, name, value, hr)) return AfterSetAttribute(name, value, hr);
    return SWindow::SetAttribute(name, value, loading);
}

void SStatic::DrawText(IRenderTarget* rt, LPCWSTR text, int length, RECT* rect, UINT format)
{
    if (!m_nMultiLines) {
        SWindow::DrawText(rt, text, length, rect, format);
        return;
    }
    if (length < 0) length = static_cast<int>(wcslen(text));
    if (format & DT_CALCRECT) {
        const SIZE extent = LayoutLines(rt, text, length, *rect, format, false);
        rect->right = rect->left + extent.cx;
        rect->bottom = rect->top + extent.cy;
        return;
    }
    RECT rc = *rect;
    if (format & (DT_VCENTER | DT_BOTTOM)) {
        const int room = (rc.bottom - rc.top) - LayoutLines(rt, text, length, rc, format, false).cy;
        rc.top += (format & DT_VCENTER) ? room / 2 : room;
    }
    LayoutLines(rt, text, length, rc, format, true);
}

// A character that would pass the right edge starts the next line; one that
// is wider than the whole rectangle takes a line of its own, so the layout
// always advances.
SIZE SStatic::LayoutLines(IRenderTarget* rt, LPCWSTR text, int length, const RECT& rect, UINT format, bool draw)
{
    SIZE probe = {0, 0};
    rt->MeasureText(L"A", 1, &probe);
    const int lineHeight = probe.cy;
    const int maxWidth = rect.right - rect.left;
    LPCWSTR const end = text + length;
    int top = rect.top, widest = 0, bottom = rect.top;
    auto width = [rt](LPCWSTR from, LPCWSTR to) {
        SIZE size = {0, 0};
        if (to > from) rt->MeasureText(from, static_cast<int>(to - from), &size);
        return static_cast<int>(size.cx);
    };
    auto endLine = [&](LPCWSTR from, LPCWSTR to) {
        if (draw && to > from) {
            RECT line = {rect.left, top, rect.right, top + lineHeight};
            SWindow::DrawText(rt, from, static_cast<int>(to - from), &line, format);
        }
        widest = std::max(widest, width(from, to));
        bottom = top + lineHeight;
        top += lineHeight + m_nInterHeight;
    };
    LPCWSTR lineStart = text;
    for (LPCWSTR p = text; p < end;) {
        if (p[0] == L'\\' && p + 1 < end && p[1] == L'n') {
            endLine(lineStart, p);
            p += 2;
            lineStart = p;
            continue;
        }
        LPCWSTR next = std::min<LPCWSTR>(::CharNextW(p), end);
        if (next == p) next = p + 1;
        if (p > lineStart && width(lineStart, next) > maxWidth) {
            endLine(lineStart, p);
            lineStart = p;  // measured again as the first of the new line
            continue;
        }
        p = next;
    }
    endLine(lineStart, end);
    return SIZE{widest, bottom - rect.top};
}

}  // namespace WUI
