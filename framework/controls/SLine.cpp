#include "controls/SLine.h"

#include "controls/ControlAttr.h"
#include "controls/ScopedPen.h"
#include "core/XmlLookup.h"

namespace WUI {

template <size_t N>
HRESULT SLine::ParseWord(const SStringW& value, const LPCWSTR (&words)[N], int& out)
{
    for (size_t i = 0; i < N; ++i) {
        if (value != words[i]) continue;
        out = static_cast<int>(i);
        return S_FALSE;
    }
    return E_FAIL;
}

HRESULT SLine::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    // In the order of their numbers: the pen styles and the modes.
    static const LPCWSTR styles[] = {L"solid", L"dash", L"dot", L"dashdot", L"dashdotdot"};
    static const LPCWSTR modes[] = {L"horizontal", L"vertical", L"tilt"};
    static const MemberAttr<SLine, int> ints[] = {{L"size", &SLine::m_nSize, S_FALSE}};
    HRESULT hr;
    if (SetIntAttr(this, ints, name, value, hr)) return AfterSetAttribute(name, value, hr);
    if (_wcsicmp(name, L"colorLine") == 0) hr = ParseColorAttr(value, m_crLine) ? S_FALSE : E_FAIL;
    else if (_wcsicmp(name, L"lineStyle") == 0) hr = ParseWord(value, styles, m_nLineStyle);
    else if (_wcsicmp(name, L"mode") == 0) hr = ParseWord(value, modes, m_nMode);
    else return SWindow::SetAttribute(name, value, loading);
    return AfterSetAttribute(name, value, hr);
}

void SLine::OnInitFinished(pugi::xml_node node)
{
    SWindow::OnInitFinished(node);
    int width;
    if (pugi::xml_attribute size = XmlAttributeNoCase(node, L"size"))
        if (AttrParseInt(size.value(), width)) m_nSize = width;
}

void SLine::OnLinePaint(IRenderTarget* rt)
{
    if (!rt) return;
    const RECT rc = GetPlacedRect();
    POINT pts[2] = {{rc.left, rc.top}, {rc.right, rc.top}};
    if (m_nMode == kVertical) pts[1] = POINT{rc.left, rc.bottom};
    else if (m_nMode == kTilt) pts[1] = POINT{rc.right, rc.bottom};
    ScopedPen pen(rt, m_nLineStyle, m_crLine, m_nSize);
    if (pen.Ok()) rt->DrawLines(pts, 2);
}

}  // namespace WUI
