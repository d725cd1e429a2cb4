#include "common/Gallery.h"

#include "controls/SAnimateImgWnd.h"
#include "controls/SIconWnd.h"

#include <string>

namespace ctltest {

using namespace WUI;

#define LABEL(y, text) L"<text pos='10," y ",@90,@24' colorText='#5e6673'>" text L"</text>"
#define LINK L"font='underline:1,size:12' colorText='#1a5fb4' colorTextHover='#3584e4' colorTextPush='#0b3d91'"\
    L" cursor='hand' colorTextDisable='#a6adb8' "

const wchar_t kGalleryLayout[] =
    L"<root><window pos='0,0,-0,-0' colorBkgnd='#ffffff' font='size:12' colorText='#1d232b'>"
    LABEL(L"10", L"text")
    L"<text pos='110,10,@120,@24'>Static text</text>"
    L"<text pos='240,6,@120,@40' multiLines='1' interHeight='2' valign='top'>Two lines\\nof text</text>"
    L"<text pos='370,10,@120,@24' enable='0' colorTextDisable='#a6adb8'>Disabled text</text>"
    LABEL(L"50", L"link")
    L"<link " LINK L"pos='110,50,@120,@24' href='https://example.invalid/'>Visit our site</link>"
    L"<link " LINK L"name='link_hover' pos='240,50,@120,@24' href='https://example.invalid/'>Hovered link</link>"
    L"<link " LINK L"name='link_push' pos='370,50,@120,@24' href='https://example.invalid/'>Pressed link</link>"
    L"<link " LINK L"pos='500,50,@120,@24' enable='0' href='https://example.invalid/'>Disabled link</link>"
    LABEL(L"88", L"button")
    L"<button pos='110,86,@100,@30'>Normal</button>"
    L"<button name='btn_hover' pos='220,86,@100,@30'>Hover</button>"
    L"<button name='btn_push' pos='330,86,@100,@30'>Pushed</button>"
    L"<button pos='440,86,@100,@30' enable='0' colorTextDisable='#a6adb8'>Disabled</button>"
    LABEL(L"130", L"imgbtn")
    L"<imgbtn pos='110,132' skin='_skin.sys.btn.close'/>"
    L"<imgbtn name='ib_hover' pos='150,132' skin='_skin.sys.btn.close'/>"
    L"<imgbtn name='ib_push' pos='190,132' skin='_skin.sys.btn.close'/>"
    L"<imgbtn pos='230,132' skin='_skin.sys.btn.close' enable='0'/>"
    L"<imgbtn pos='290,132' skin='_skin.sys.btn.minimize'/>"
    L"<imgbtn name='ib2_hover' pos='330,132' skin='_skin.sys.btn.minimize'/>"
    L"<imgbtn name='ib2_push' pos='370,132' skin='_skin.sys.btn.minimize'/>"
    LABEL(L"170", L"check")
    L"<check pos='110,172,@110,@20'>Normal</check>"
    L"<check name='chk_hover' pos='220,172,@110,@20'>Hover</check>"
    L"<check name='chk_push' pos='330,172,@110,@20'>Pushed</check>"
    L"<check pos='440,172,@110,@20' enable='0' colorTextDisable='#a6adb8'>Disabled</check>"
    L"<check name='chk_focus' pos='550,172,@110,@20'>Focused</check>"
    L"<check pos='110,198,@110,@20' checked='1'>Checked</check>"
    L"<check name='chk2_hover' pos='220,198,@110,@20' checked='1'>Hover</check>"
    L"<check name='chk2_push' pos='330,198,@110,@20' checked='1'>Pushed</check>"
    L"<check pos='440,198,@110,@20' checked='1' enable='0' colorTextDisable='#a6adb8'>Disabled</check>"
    LABEL(L"230", L"radio")
    L"<window pos='110,232,@560,@20'>"
    L"<radio pos='0,0,@110,@20'>Normal</radio>"
    L"<radio name='rad_hover' pos='110,0,@110,@20'>Hover</radio>"
    L"<radio name='rad_push' pos='220,0,@110,@20'>Pushed</radio>"
    L"<radio pos='330,0,@110,@20' enable='0' colorTextDisable='#a6adb8'>Disabled</radio></window>"
    L"<window pos='110,258,@110,@20'><radio pos='0,0,@110,@20' checked='1'>Checked</radio></window>"
    L"<window pos='220,258,@110,@20'><radio name='rad2_hover' pos='0,0,@110,@20' checked='1'>Hover</radio></window>"
    L"<window pos='330,258,@110,@20'><radio name='rad2_push' pos='0,0,@110,@20' checked='1'>Pushed</radio></window>"
    L"<window pos='440,258,@110,@20'><radio pos='0,0,@110,@20' checked='1' enable='0'"
    L" colorTextDisable='#a6adb8'>Disabled</radio></window>"
    LABEL(L"290", L"toggle")
    L"<toggle pos='110,294'/><toggle name='tog_hover' pos='140,294'/><toggle name='tog_push' pos='170,294'/>"
    L"<toggle pos='210,294' toggled='1'/><toggle name='tog2_hover' pos='240,294' toggled='1'/>"
    L"<toggle name='tog2_push' pos='270,294' toggled='1'/>"
    LABEL(L"326", L"progress")
    L"<progress pos='110,332,@150,@12' value='0'/>"
    L"<progress pos='270,332,@150,@12' value='37'/>"
    L"<progress pos='430,332,@150,@12' value='100'/>"
    L"<progress pos='110,352,@310,@20' value='62' showPercent='1' colorText='#1d232b'/>"
    L"<progress pos='430,352,@150,@20' min='5' max='5' showPercent='1'/>"
    L"<progress pos='600,326,@12,@60' vertical='1' value='40'/>"
    L"<progress pos='620,326,@12,@60' vertical='1' value='100' showPercent='1'/>"
    LABEL(L"392", L"img, icon")
    L"<img pos='110,396' skin='_skin.sys.icons' iconIndex='0'/><img pos='134,396' skin='_skin.sys.icons' iconIndex='1'/>"
    L"<img pos='158,396' skin='_skin.sys.icons' iconIndex='2'/><img pos='182,396' skin='_skin.sys.icons' iconIndex='3'/>"
    L"<img pos='206,396' skin='_skin.sys.icons' iconIndex='4'/><img pos='230,396' skin='_skin.sys.icons' iconIndex='5'/>"
    L"<img pos='270,390,@48,@24' skin='_skin.sys.prog.bar'/>"
    L"<icon name='icon_info' pos='340,388,@32,@32'/><icon name='icon_warn' pos='380,388,@32,@32'/>"
    LABEL(L"430", L"group, hr")
    L"<group pos='110,430,@220,@70' colorLine1='#ffffff' colorLine2='#b4bcc8'>Options"
    L"  <check pos='10,8,@150,@20' checked='1'>Inside a group</check></group>"
    L"<group pos='340,430,@120,@70' align='left' colorLine2='#b4bcc8'>Left title</group>"
    L"<group pos='470,440,@80,@60' colorLine2='#b4bcc8'/>"
    L"<hr pos='560,440,@100,@1' colorLine='#b4bcc8'/>"
    L"<hr pos='560,452,@100,@1' colorLine='#1d232b' lineStyle='dash'/>"
    L"<hr pos='560,464,@100,@3' colorLine='#3c7dd9' size='2'/>"
    L"<hr pos='560,474,@1,@26' colorLine='#1d232b' mode='vertical'/>"
    L"<hr pos='570,474,@30,@26' colorLine='#e04336' mode='tilt'/>"
    LABEL(L"516", L"animateimg")
    L"<animateimg name='anim_0' pos='110,518' skin='_skin.sys.icons' autoStart='0'/>"
    L"<animateimg name='anim_3' pos='134,518' skin='_skin.sys.icons' speed='0' autoStart='0'/>"
    L"<animateimg name='anim_7' pos='158,518' skin='_skin.sys.icons' speed='0' autoStart='0'/>"
    L"<text pos='190,516,@300,@24' colorText='#5e6673'>frames 0, 3 and 7 of a twelve-frame skin</text>"
    L"</window></root>";

#undef LABEL
#undef LINK

namespace {

bool EndsWith(const std::wstring& s, const wchar_t* tail)
{
    const size_t n = wcslen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

void SetStates(SWindow* element)
{
    const std::wstring name = element->GetName();
    if (EndsWith(name, L"_hover")) element->ModifyState(WndState_Hover, 0);
    if (EndsWith(name, L"_push")) element->ModifyState(WndState_Hover | WndState_PushDown, 0);
    if (auto* anim = sobj_cast<SAnimateImgWnd>(element)) {
        const int frames = name == L"anim_3" ? 3 : name == L"anim_7" ? 7 : 0;
        for (int i = 0; i < frames; ++i) anim->OnNextFrame();  // stopped: the host's ticks do not move it on
    }
    for (SWindow* c = element->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING)) SetStates(c);
}

}  // namespace

void SetGalleryStates(SWindow* root)
{
    SetStates(root);
    if (auto* icon = sobj_cast<SIconWnd>(root->FindChildByName(L"icon_info")))
        icon->SetIcon(CopyIcon(LoadIconW(nullptr, IDI_INFORMATION)));
    if (auto* icon = sobj_cast<SIconWnd>(root->FindChildByName(L"icon_warn")))
        icon->SetIcon(CopyIcon(LoadIconW(nullptr, IDI_WARNING)));
    // One element has the focus at a time.
    if (SWindow* focused = root->FindChildByName(L"chk_focus")) focused->SetFocus();
}

}  // namespace ctltest
