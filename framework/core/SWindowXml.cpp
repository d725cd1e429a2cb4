// Building an element from XML and its attribute table.
#include "core/SWindow.h"

#include "core/AttrParse.h"
#include "core/SApplication.h"
#include "core/StringConv.h"
#include "core/XmlLookup.h"
#include "core/XmlMarks.h"
#include "render/SSkinPool.h"
#include "render/SStylePool.h"

namespace WUI {

namespace {

// Layouts nest a few dozen levels at most; deeper ones would only exhaust the stack.
const int kMaxTreeDepth = 128;
// "include" fragments that include each other stop here.
const int kMaxIncludeNesting = 8;
// Fragments that one include of a layout brings in, its own included: a
// fragment that includes itself twice would double at every level.
const int kMaxIncludedFragments = 32;
int g_includeNesting = 0;    // UI thread only
int g_includedFragments = 0;  // under the outermost include in progress

const struct {
    LPCWSTR name;
    int id;
} kStandardIds[] = {{L"IDOK", IDOK},       {L"IDCANCEL", IDCANCEL}, {L"IDABORT", IDABORT},
                    {L"IDRETRY", IDRETRY}, {L"IDIGNORE", IDIGNORE}, {L"IDYES", IDYES},
                    {L"IDNO", IDNO},       {L"IDCLOSE", IDCLOSE},   {L"IDHELP", IDHELP}};

bool IsOn(const SStringW& value)
{
    return value != L"0";
}

}  // namespace

SStringW SWindow::ResolveText(const SStringW& text)
{
    SApplication* app = SApplication::GetSingletonPtr();
    return app ? app->GetString(text) : text;
}

SStringW SWindow::TranslateText(const SStringW& text)
{
    SApplication* app = SApplication::GetSingletonPtr();
    ITranslatorMgr* translator = app ? app->GetTranslator() : nullptr;
    if (!translator) return text;
    LPCWSTR context = m_pContainer ? m_pContainer->GetTranslatorContext() : nullptr;
    return translator->Translate(text, context ? context : L"");
}

SWindow::AttrHandler SWindow::FindAttrHandler(const SStringW& name)
{
    static const struct {
        LPCWSTR name;
        AttrHandler handler;
    } attrs[] = {
        {L"class", &SWindow::OnAttrClass},
        {L"id", &SWindow::OnAttrId},
        {L"name", &SWindow::OnAttrName},
        {L"skin", &SWindow::OnAttrSkin},
        {L"ncskin", &SWindow::OnAttrNcSkin},
        {L"data", &SWindow::OnAttrData},
        {L"enable", &SWindow::OnAttrEnable},
        {L"visible", &SWindow::OnAttrVisible},
        {L"show", &SWindow::OnAttrVisible},
        {L"display", &SWindow::OnAttrDisplay},
        {L"pos", &SWindow::OnAttrPos},
        {L"offset", &SWindow::OnAttrOffset},
        {L"pos2type", &SWindow::OnAttrPos2Type},
        {L"cache", &SWindow::OnAttrCache},
        {L"alpha", &SWindow::OnAttrAlpha},
        {L"layeredWindow", &SWindow::OnAttrLayered},
        {L"trackMouseEvent", &SWindow::OnAttrTrackMouseEvent},
        {L"tip", &SWindow::OnAttrTip},
        {L"msgTransparent", &SWindow::OnAttrFlag<kFlagMsgTransparent, S_FALSE>},
        {L"maxWidth", &SWindow::OnAttrMaxWidth},
        {L"clipClient", &SWindow::OnAttrFlag<kFlagClipClient, S_FALSE>},
        {L"focusable", &SWindow::OnAttrFlag<kFlagFocusable, S_FALSE>},
        {L"drawFocusRect", &SWindow::OnAttrFlag<kFlagDrawFocusRect, S_OK>},
        {L"float", &SWindow::OnAttrFloat},
    };
    for (const auto& attr : attrs)
        if (_wcsicmp(name, attr.name) == 0) return attr.handler;
    return nullptr;
}

// Setting "visible" or "enable" runs change handlers, which may destroy the
// element: it is kept to the end of the call.
HRESULT SWindow::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    SAutoRefPtr<SWindow> keep(this);
    HRESULT hr;
    if (AttrHandler handler = FindAttrHandler(name)) {
        hr = (this->*handler)(value, loading);
    } else {
        hr = m_style.SetAttribute(name, value, loading);
        if (FAILED(hr)) hr = HandleUnknownAttribute(name, value);
    }
    return AfterSetAttribute(name, value, hr);
}

HRESULT SWindow::OnUnknownAttribute(const SStringW& name, const SStringW& value, BOOL)
{
    return HandleUnknownAttribute(name, value);
}

HRESULT SWindow::AfterSetAttribute(const SStringW&, const SStringW&, HRESULT result)
{
    if (result == S_OK) InvalidateRect(nullptr);
    return result;
}

HRESULT SWindow::HandleUnknownAttribute(const SStringW& name, const SStringW& value)
{
    if (!m_pContainer || !m_pContainer->GetScriptModule()) return E_FAIL;
    return m_evtSet.SetScriptHandler(name, StrW2A(value, CP_UTF8)) ? S_FALSE : E_FAIL;
}

HRESULT SWindow::OnAttrClass(const SStringW& value, BOOL loading)
{
    SStylePoolMgr* styles = SStylePoolMgr::GetSingletonPtr();
    pugi::xml_node style = styles ? styles->FindStyle(value) : pugi::xml_node();
    for (pugi::xml_attribute a = style.first_attribute(); a; a = a.next_attribute())
        if (_wcsicmp(a.name(), L"class") != 0) SetAttribute(SStringW(a.name()), SStringW(a.value()), loading);
    return S_FALSE;
}

HRESULT SWindow::OnAttrId(const SStringW& value, BOOL)
{
    if (value.IsEmpty()) return S_FALSE;
    if (value.GetAt(0) == L'#') {
        SApplication* app = SApplication::GetSingletonPtr();
        m_nID = app ? app->GetNamedId(value.c_str() + 1) : 0;
        return S_FALSE;
    }
    if (wcsncmp(value, L"ID", 2) == 0) {
        for (const auto& id : kStandardIds)
            if (value == id.name) m_nID = id.id;
        return S_FALSE;
    }
    int id;
    if (!AttrParseInt(value, id, false)) return E_FAIL;
    m_nID = id;
    return S_FALSE;
}

HRESULT SWindow::OnAttrName(const SStringW& value, BOOL)
{
    m_strName = value;
    if (m_nID == 0) {
        SApplication* app = SApplication::GetSingletonPtr();
        m_nID = app ? app->GetNamedId(value) : 0;
    }
    return S_FALSE;
}

HRESULT SWindow::OnAttrSkin(const SStringW& value, BOOL loading)
{
    SSkinPoolMgr* skins = SSkinPoolMgr::GetSingletonPtr();
    m_pBgSkin = skins ? skins->FindSkinByName(value) : nullptr;
    if (!loading && m_layout.IsFitContent(kAxisBoth)) InvalidateLayout();
    return S_FALSE;
}

HRESULT SWindow::OnAttrNcSkin(const SStringW& value, BOOL)
{
    SSkinPoolMgr* skins = SSkinPoolMgr::GetSingletonPtr();
    m_pNcSkin = skins ? skins->FindSkinByName(value) : nullptr;
    return S_OK;
}

HRESULT SWindow::OnAttrData(const SStringW& value, BOOL)
{
    int data;
    if (!AttrParseInt(value, data)) return E_FAIL;
    m_uData = static_cast<ULONG_PTR>(data);
    return S_FALSE;
}

// Loading sets the own flag as well as the state: a later enabling of the
// parent must not enable an element its layout declared disabled.
HRESULT SWindow::OnAttrEnable(const SStringW& value, BOOL loading)
{
    const BOOL enable = IsOn(value);
    if (!loading) {
        EnableWindow(enable, TRUE);
        return S_FALSE;
    }
    if (enable) {
        m_dwFlags &= ~kFlagDisabled;
        ModifyState(0, WndState_Disable);
    } else {
        m_dwFlags |= kFlagDisabled;
        ModifyState(WndState_Disable, WndState_Hover);
    }
    return S_FALSE;
}

HRESULT SWindow::OnAttrVisible(const SStringW& value, BOOL loading)
{
    const BOOL show = IsOn(value);
    if (!loading) SetVisible(show, TRUE);
    else if (show) m_dwFlags |= kFlagVisible;
    else m_dwFlags &= ~kFlagVisible;
    return S_FALSE;
}

HRESULT SWindow::OnAttrDisplay(const SStringW& value, BOOL loading)
{
    if (IsOn(value)) m_dwFlags |= kFlagDisplay;
    else m_dwFlags &= ~kFlagDisplay;
    if (!loading) InvalidateLayout();
    return S_FALSE;
}

HRESULT SWindow::OnAttrPos(const SStringW& value, BOOL loading)
{
    if (value.IsEmpty() || !m_layout.InitPosFromString(value)) return E_FAIL;
    if (!loading && m_pParent) InvalidateLayout();
    return S_FALSE;
}

HRESULT SWindow::OnAttrOffset(const SStringW& value, BOOL loading)
{
    if (value.IsEmpty() || !m_layout.InitOffsetFromString(value)) return E_FAIL;
    if (!loading && m_pParent) InvalidateLayout();
    return S_FALSE;
}

HRESULT SWindow::OnAttrPos2Type(const SStringW& value, BOOL loading)
{
    if (!m_layout.InitPos2TypeFromString(value)) return E_FAIL;
    if (!loading) InvalidateLayout();
    return S_FALSE;
}

HRESULT SWindow::OnAttrCache(const SStringW& value, BOOL loading)
{
    if (IsOn(value)) m_dwFlags |= kFlagCache;
    else m_dwFlags &= ~kFlagCache;
    if (!loading) {
        UpdateCacheMode();
        InvalidateRect(nullptr);
    }
    return S_FALSE;
}

HRESULT SWindow::OnAttrAlpha(const SStringW& value, BOOL loading)
{
    HRESULT hr = m_style.SetAttribute(SStringW(L"alpha"), value, loading);
    if (FAILED(hr)) return hr;
    if (loading) return S_FALSE;
    if (!IsLayered()) UpdateCacheMode();
    return S_OK;
}

HRESULT SWindow::OnAttrLayered(const SStringW& value, BOOL loading)
{
    if (IsOn(value)) m_dwFlags |= kFlagLayered;
    else m_dwFlags &= ~kFlagLayered;
    if (loading) return S_FALSE;
    UpdateLayeredMode();
    return S_OK;
}

HRESULT SWindow::OnAttrTrackMouseEvent(const SStringW& value, BOOL loading)
{
    if (IsOn(value)) m_style.m_flags |= SwndStyle::kTrackMouseEvent;
    else m_style.m_flags &= ~static_cast<DWORD>(SwndStyle::kTrackMouseEvent);
    if (!loading) UpdateTrackMouseRegistration();
    return S_FALSE;
}

HRESULT SWindow::OnAttrTip(const SStringW& value, BOOL loading)
{
    m_strToolTip = TranslateText(ResolveText(value));
    if (!loading && m_pContainer && m_pContainer->GetHover() == m_swnd) m_pContainer->UpdateTooltip();
    return S_FALSE;
}

HRESULT SWindow::OnAttrMaxWidth(const SStringW& value, BOOL)
{
    int width;
    if (!AttrParseInt(value, width, true, -1, kMaxLayoutValue)) return E_FAIL;
    m_nMaxWidth = width;
    return S_FALSE;
}

HRESULT SWindow::OnAttrFloat(const SStringW& value, BOOL)
{
    int floating;
    if (!AttrParseInt(value, floating)) return E_FAIL;
    m_bFloat = floating;
    return S_FALSE;
}

template <DWORD flag, HRESULT result>
HRESULT SWindow::OnAttrFlag(const SStringW& value, BOOL)
{
    int n;
    if (!AttrParseInt(value, n)) return E_FAIL;
    if (n) m_dwFlags |= flag;
    else m_dwFlags &= ~flag;
    return result;
}

// Handlers run during the build (create, state, visibility, the children's)
// and may destroy the element: it is kept alive to the end and the build
// stops once it is destroyed.
BOOL SWindow::InitFromXml(pugi::xml_node node)
{
    SAutoRefPtr<SWindow> keep(this);
    SStringW text(node.text().get());
    text.TrimBlank();
    if (!text.IsEmpty()) m_strText = TranslateText(ResolveText(text));

    m_layout.Clear();
    {
        // Read after the rest, so "pos" can decide whether they count.
        XmlMarkScope marks;
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
            if (_wcsicmp(a.name(), L"width") == 0 || _wcsicmp(a.name(), L"height") == 0 || _wcsicmp(a.name(), L"size") == 0)
                marks.Mark(a);
        if (node) SObject::InitFromXml(node);
    }
    if (m_bDestroyed) return FALSE;
    if (m_layout.GetItemCount() != 4) ApplySizeAttributes(node);

    if (SendSwndMessage(WM_CREATE) != 0) {
        if (m_pParent) m_pParent->DestroyChild(this);
        else if (!m_bDestroyed) SendSwndMessage(WM_DESTROY);
        return FALSE;
    }
    if (m_pParent && !m_bDestroyed) ModifyState(m_pParent->m_dwState & (WndState_Invisible | WndState_Disable), 0);
    if (!m_bDestroyed) SendSwndMessage(WM_SHOWWINDOW, !(m_dwState & WndState_Invisible), 1);
    CreateChildren(node);  // makes nothing once the element is destroyed
    if (m_bDestroyed) return FALSE;
    InvalidateLayout();
    return TRUE;
}

void SWindow::ApplySizeAttributes(pugi::xml_node node)
{
    if (pugi::xml_attribute width = XmlAttributeNoCase(node, L"width")) m_layout.InitWidth(width.value());
    if (pugi::xml_attribute height = XmlAttributeNoCase(node, L"height")) m_layout.InitHeight(height.value());
    if (pugi::xml_attribute size = XmlAttributeNoCase(node, L"size")) m_layout.InitSizeFromString(size.value());
}

BOOL SWindow::CreateChildren(pugi::xml_node node)
{
    if (TreeDepth() >= kMaxTreeDepth) return FALSE;
    SAutoRefPtr<SWindow> keep(this);  // a child's handler may destroy this element
    for (pugi::xml_node c = node.first_child(); c && !m_bDestroyed; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || XmlGetMark(c)) continue;
        if (_wcsicmp(c.name(), L"include") == 0) IncludeFragment(c);
        else CreateChildFromNode(c);
    }
    return TRUE;
}

BOOL SWindow::CreateChildFromNode(pugi::xml_node node)
{
    SApplication* app = SApplication::GetSingletonPtr();
    SWindow* child = app ? app->CreateWindowByName(node.name()) : nullptr;
    if (!child) return FALSE;
    // Without a handle nothing could find the element again.
    if (!child->GetSwnd() || !InsertChild(child)) {
        child->Release();
        return FALSE;
    }
    SAutoRefPtr<SWindow> keep(child);  // an override may go on after the base build was cut short
    return child->InitFromXml(node);
}

void SWindow::IncludeFragment(pugi::xml_node node)
{
    SApplication* app = SApplication::GetSingletonPtr();
    SStringW parts[2];
    const int n = ParseResId(XmlAttributeNoCase(node, L"src").value(), parts);
    if (!app || n == 0 || g_includeNesting >= kMaxIncludeNesting) return;
    if (g_includeNesting == 0) g_includedFragments = 0;
    if (g_includedFragments >= kMaxIncludedFragments) return;
    pugi::xml_document doc;
    if (!app->LoadXmlDocument(doc, n == 2 ? parts[1] : parts[0], n == 2 ? parts[0] : SStringW(L"LAYOUT"))) return;
    ++g_includedFragments;
    ++g_includeNesting;
    CreateChildren(XmlChildNoCase(doc, L"include"));
    --g_includeNesting;
}

SWindow* SWindow::CreateChildrenFromString(LPCWSTR xml)
{
    pugi::xml_document doc;
    if (!xml || !doc.load_string(xml)) return nullptr;
    CreateChildren(doc.document_element());
    return m_pLastChild;
}

}  // namespace WUI
