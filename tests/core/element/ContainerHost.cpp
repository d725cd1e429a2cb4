#include "element/ContainerHost.h"

#include "core/AttrParse.h"

namespace elemtest {

ContainerHost* ContainerHost::s_current = nullptr;

namespace {

const struct {
    UINT msg;
    const wchar_t* name;
} kLoggedMessages[] = {
    {WM_MOUSEMOVE, L"move"},       {WM_NCMOUSEMOVE, L"ncmove"},   {WM_MOUSEHOVER, L"hover"},
    {WM_NCMOUSEHOVER, L"nchover"}, {WM_MOUSELEAVE, L"leave"},     {WM_NCMOUSELEAVE, L"ncleave"},
    {WM_LBUTTONDOWN, L"down"},     {WM_LBUTTONUP, L"up"},         {WM_NCLBUTTONDOWN, L"ncdown"},
    {WM_NCLBUTTONUP, L"ncup"},     {WM_RBUTTONDOWN, L"rdown"},    {WM_MOUSEWHEEL, L"wheel"},
    {WM_KEYDOWN, L"keydown"},      {WM_CHAR, L"char"},            {WM_SETFOCUS, L"setfocus"},
    {WM_KILLFOCUS, L"killfocus"},  {WM_ACTIVATEAPP, L"activateapp"},
};

bool IsKeyMessage(UINT msg)
{
    return msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
}

}  // namespace

HostedContainer::HostedContainer(WUI::IRenderTarget* target) : m_target(target)
{
    if (m_target) m_target->AddRef();
}

HostedContainer::~HostedContainer()
{
    if (m_target) m_target->Release();
}

BOOL HostedContainer::OnFireEvent(WUI::EventArgs& args)
{
    hostEvents.push_back(args.GetId());
    return FALSE;
}

WUI::IRenderTarget* HostedContainer::GetRenderTarget(const RECT&, int)
{
    if (m_target) m_target->AddRef();
    return m_target;
}

void HostedContainer::ReleaseRenderTarget(WUI::IRenderTarget* rt, const RECT&, int)
{
    if (rt) rt->Release();
}

BOOL ProbeElement::ProcessSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    ContainerHost* host = ContainerHost::Current();
    for (const auto& m : kLoggedMessages) {
        if (m.msg == msg && host) host->log.push_back(std::wstring(GetName()) + L" " + m.name);
    }
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) lastFocusParam = wParam;
    if (takeKeys && IsKeyMessage(msg)) {
        result = 0;
        return TRUE;
    }
    return SWindow::ProcessSwndMessage(msg, wParam, lParam, result);
}

HRESULT ProbeElement::SetAttribute(const WUI::SStringW& name, const WUI::SStringW& value, BOOL loading)
{
    int n = 0;
    if (_wcsicmp(name, L"dlgCode") == 0 && WUI::AttrParseInt(value, n)) {
        dlgCode = static_cast<UINT>(n);
        return S_FALSE;
    }
    if (_wcsicmp(name, L"takeKeys") == 0 && WUI::AttrParseInt(value, n)) {
        takeKeys = n != 0;
        return S_FALSE;
    }
    return SWindow::SetAttribute(name, value, loading);
}

WUI::SWindow* GroupRadio::GetCheckedSiblingInGroup()
{
    for (SWindow* s = GetParent()->GetWindow(WUI::GSW_FIRSTCHILD); s; s = s->GetWindow(WUI::GSW_NEXTSIBLING))
        if (s->JoinsSiblingGroup() && s->IsChecked()) return s;
    return nullptr;
}

ContainerHost::ContainerHost(int width, int height) : m_base(width, height)
{
    m_base.App().RegisterFactory<ProbeElement>();
    m_base.App().RegisterFactory<GroupRadio>();
    m_container = new HostedContainer(m_base.Target());
    const RECT rc = {0, 0, width, height};
    m_container->Move(&rc);
    s_current = this;
}

// The host window's WM_DESTROY, then its last reference.
ContainerHost::~ContainerHost()
{
    m_container->SendSwndMessage(WM_DESTROY);
    m_container->Release();
    s_current = nullptr;
}

void ContainerHost::Load(const wchar_t* xml)
{
    m_container->CreateChildrenFromString(xml);
    m_container->UpdateLayout();
}

WUI::SWindow* ContainerHost::Find(const wchar_t* name)
{
    return m_container->FindChildByName(name, -1);
}

WUI::SWND ContainerHost::Swnd(const wchar_t* name)
{
    WUI::SWindow* element = Find(name);
    return element ? element->GetSwnd() : 0;
}

LRESULT ContainerHost::Send(UINT msg, WPARAM wParam, LPARAM lParam, BOOL* handled)
{
    const LRESULT result = m_container->DispatchHostMessage(msg, wParam, lParam);
    if (handled) *handled = m_container->IsMsgHandled();
    return result;
}

LRESULT ContainerHost::Mouse(UINT msg, int x, int y, BOOL* handled)
{
    return Send(msg, 0, MAKELPARAM(x, y), handled);
}

LRESULT ContainerHost::Key(UINT vk, bool ctrl, bool shift, bool alt, BOOL* handled)
{
    BYTE keys[256] = {};
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_MENU] = alt ? 0x80 : 0;
    ::SetKeyboardState(keys);
    const LRESULT result = Send(WM_KEYDOWN, vk, 0, handled);
    BYTE none[256] = {};
    ::SetKeyboardState(none);
    return result;
}

std::vector<std::wstring> ContainerHost::TakeLog()
{
    std::vector<std::wstring> taken;
    taken.swap(log);
    return taken;
}

}  // namespace elemtest
