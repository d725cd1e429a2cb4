// The hot-key field: the classes of held modifiers (set with
// SetKeyboardState) and the rule that replaces invalid ones, typing a
// combination key by key, system keys, the caret, a key set before the field
// exists, attributes and painting.
#include "InputHost.h"
#include "LeakCheck.h"
#include "controls/SHotKeyCtrl.h"

#include <pugixml.hpp>

using namespace WUI;
using namespace inputtest;

class HotKeyTest : public LeakChecked {};

namespace {

const wchar_t kHotKeyLayout[] =
    L"<root><hotkey name='hk' pos='10,10,@200,@24' padding='4,0,4,0'/>"
    L"<window name='other' pos='10,50,@50,@20' focusable='1'/></root>";

// Text, key and modifiers of the field.
struct Shown {
    SStringW text;
    WORD key;
    WORD modifiers;
};

Shown ShownBy(SHotKeyCtrl* hk)
{
    Shown s;
    s.text = hk->GetHotKeyText();
    hk->GetHotKey(s.key, s.modifiers);
    return s;
}

// The field "hk" of the layout, focused; null when the layout made none.
SHotKeyCtrl* LoadFocused(InputHost& host, const wchar_t* layout = kHotKeyLayout)
{
    SHotKeyCtrl* hk = host.Load<SHotKeyCtrl>(layout, L"hk");
    if (hk) hk->SetFocus();
    return hk;
}

// The width and height of text in the font the field's style chain selects.
SIZE TextSize(SHotKeyCtrl* hk, const SStringW& text)
{
    IRenderTarget* rt = nullptr;
    SIZE size = {0, 0};
    if (!SApplication::GetSingletonPtr()->GetRenderFactory()->CreateRenderTarget(&rt, 1, 1)) return size;
    hk->ApplyTextStyleChain(rt);
    rt->MeasureText(text, text.GetLength(), &size);
    rt->Release();
    return size;
}

}  // namespace

TEST_F(HotKeyTest, ClassesOfHeldModifiersAndTheRule)
{
    InputHost host;
    SHotKeyCtrl* hk = LoadFocused(host);
    ASSERT_TRUE(hk);
    const struct {
        BYTE held;
        WORD cls;
    } classes[] = {
        {kHoldNone, kHkNone},       {kHoldShift, kHkShift},
        {kHoldCtrl, kHkCtrl},       {kHoldAlt, kHkAlt},
        {kHoldShift | kHoldCtrl, kHkShiftCtrl}, {kHoldShift | kHoldAlt, kHkShiftAlt},
        {kHoldCtrl | kHoldAlt, kHkCtrlAlt},     {kHoldShift | kHoldCtrl | kHoldAlt, kHkShiftCtrlAlt},
    };
    for (const auto& c : classes) {
        InputHost::Hold(c.held);
        WORD modifiers = 0xFF;
        EXPECT_EQ(c.cls, SHotKeyCtrl::HeldClass(modifiers)) << int(c.held);
        EXPECT_EQ(c.held, modifiers);

        // The class in the invalid mask: the default modifiers stand in.
        hk->SetRule(c.cls, kAccelCtrl | kAccelAlt);
        host.Key(WM_KEYDOWN, 'K');
        Shown s = ShownBy(hk);
        EXPECT_EQ('K', s.key);
        EXPECT_EQ(kAccelCtrl | kAccelAlt, s.modifiers) << int(c.held);
        host.Key(WM_KEYUP, 'K');
        EXPECT_FALSE(hk->IsInEntry());
        // Every other class invalid: the held modifiers stay.
        hk->SetRule(static_cast<WORD>(0xFF & ~c.cls), kAccelShift);
        host.Key(WM_KEYDOWN, 'K');
        s = ShownBy(hk);
        EXPECT_EQ(c.held, s.modifiers) << int(c.held);
        host.Key(WM_KEYUP, 'K');
    }
}

TEST_F(HotKeyTest, TypingACombination)
{
    InputHost host;
    SHotKeyCtrl* hk = LoadFocused(host);
    ASSERT_TRUE(hk);
    EXPECT_STREQ(L"无", hk->GetHotKeyText());

    // Ctrl, then A: the prefix, then the key; letting A go ends the entry.
    InputHost::Hold(kHoldCtrl);
    host.Key(WM_KEYDOWN, VK_CONTROL);
    EXPECT_TRUE(hk->IsInEntry());
    EXPECT_STREQ(L"Ctrl+", hk->GetHotKeyText());
    host.Key(WM_KEYDOWN, 'A');
    EXPECT_STREQ(L"Ctrl+A", hk->GetHotKeyText());
    host.Key(WM_KEYUP, 'A');
    EXPECT_FALSE(hk->IsInEntry());
    InputHost::Hold(kHoldNone);
    host.Key(WM_KEYUP, VK_CONTROL);
    EXPECT_STREQ(L"Ctrl+A", hk->GetHotKeyText());

    // Modifiers only: the prefix alone; letting one go recomputes; letting
    // all go with no key ends the entry (no modifier is invalid: the default 0).
    InputHost::Hold(kHoldCtrl | kHoldShift);
    host.Key(WM_KEYDOWN, VK_SHIFT);
    EXPECT_STREQ(L"Ctrl+Shift+", hk->GetHotKeyText());
    InputHost::Hold(kHoldCtrl);
    host.Key(WM_KEYUP, VK_SHIFT);
    EXPECT_STREQ(L"Ctrl+", hk->GetHotKeyText());
    EXPECT_TRUE(hk->IsInEntry());
    InputHost::Hold(kHoldNone);
    host.Key(WM_KEYUP, VK_CONTROL);
    EXPECT_FALSE(hk->IsInEntry());
    EXPECT_STREQ(L"无", hk->GetHotKeyText());

    // A key without a name does not become the key; a named one replaces it.
    InputHost::Hold(kHoldShift);
    host.Key(WM_KEYDOWN, VK_CAPITAL);
    EXPECT_STREQ(L"Shift+", hk->GetHotKeyText());
    host.Key(WM_KEYDOWN, VK_F5);
    host.Key(WM_KEYDOWN, VK_HOME);
    EXPECT_STREQ(L"Shift+Home", hk->GetHotKeyText());
    // With a key entered, letting go of another key changes nothing.
    host.Key(WM_KEYUP, VK_F5);
    EXPECT_TRUE(hk->IsInEntry());
    EXPECT_STREQ(L"Shift+Home", hk->GetHotKeyText());
    host.Key(WM_KEYUP, VK_HOME);
    EXPECT_FALSE(hk->IsInEntry());
}

TEST_F(HotKeyTest, DefaultModifiersForAKeyAlone)
{
    InputHost host;
    SHotKeyCtrl* hk = LoadFocused(host, L"<root><hotkey name='hk' pos='0,0,@100,@20' invalidComb='1' defCombKey='2'/></root>");
    ASSERT_TRUE(hk);
    InputHost::Hold(kHoldNone);
    host.Key(WM_KEYDOWN, 'Q');
    EXPECT_STREQ(L"Ctrl+Q", hk->GetHotKeyText());
}

TEST_F(HotKeyTest, SystemKeys)
{
    InputHost host;
    SHotKeyCtrl* hk = LoadFocused(host);
    ASSERT_TRUE(hk);
    BOOL handled = TRUE;
    InputHost::Hold(kHoldNone);
    host.Key(WM_SYSKEYDOWN, VK_F10, &handled);  // no Alt: left to the default handling
    EXPECT_FALSE(handled);
    EXPECT_FALSE(hk->IsInEntry());

    InputHost::Hold(kHoldAlt);
    host.Key(WM_SYSKEYDOWN, VK_MENU, &handled);
    EXPECT_TRUE(handled);
    host.Key(WM_SYSKEYDOWN, 'X');
    EXPECT_STREQ(L"Alt+X", hk->GetHotKeyText());
    host.Key(WM_SYSKEYUP, 'X', &handled);
    EXPECT_TRUE(handled);
    EXPECT_FALSE(hk->IsInEntry());
    InputHost::Hold(kHoldNone);
    host.Key(WM_SYSKEYUP, VK_MENU, &handled);  // Alt itself: taken
    EXPECT_TRUE(handled);
    host.Key(WM_SYSKEYUP, VK_F10, &handled);
    EXPECT_FALSE(handled);
    EXPECT_STREQ(L"Alt+X", hk->GetHotKeyText());
}

TEST_F(HotKeyTest, CaretFollowsTheText)
{
    InputHost host;
    host.Load(kHotKeyLayout);
    SHotKeyCtrl* hk = host.Find<SHotKeyCtrl>(L"hk");
    ASSERT_TRUE(hk);
    RecordingContainer& c = host.Container();

    hk->SetHotKey('B', kAccelCtrl);  // not focused: the caret is someone else's
    EXPECT_EQ(0, c.caretMoves);
    host.Click(20, 20);
    ASSERT_TRUE(hk->IsFocused());
    EXPECT_EQ(hk->GetSwnd(), c.caretOwner);
    EXPECT_EQ(1, c.caretSize.cx);
    EXPECT_EQ(TextSize(hk, L"A").cy, c.caretSize.cy);
    EXPECT_TRUE(c.caretShown);
    RECT text;
    hk->GetTextRect(text);
    EXPECT_EQ(14, text.left);  // the padding
    SIZE size = TextSize(hk, L"Ctrl+B");
    EXPECT_EQ(text.left + size.cx, c.caretPos.x);
    EXPECT_EQ(text.top + (text.bottom - text.top - size.cy) / 2, c.caretPos.y);

    InputHost::Hold(kHoldCtrl | kHoldShift);
    host.Key(WM_KEYDOWN, VK_F12);
    size = TextSize(hk, L"Ctrl+Shift+F12");
    EXPECT_EQ(text.left + size.cx, c.caretPos.x);
    InputHost::Hold(kHoldNone);
    const int moves = c.caretMoves;
    hk->SetHotKey(0, 0);
    EXPECT_EQ(moves + 1, c.caretMoves);
    EXPECT_EQ(text.left + TextSize(hk, L"无").cx, c.caretPos.x);

    host.Click(20, 55);  // another element takes the focus
    EXPECT_FALSE(hk->IsFocused());
    EXPECT_FALSE(c.caretShown);
}

TEST_F(HotKeyTest, SetBeforeCreationAndPainted)
{
    InputHost host;
    SAutoRefPtr<SHotKeyCtrl> hk;
    hk.Attach(new SHotKeyCtrl);
    hk->SetHotKey('Z', kAccelCtrl | kAccelAlt);  // no container, no font yet
    Shown s = ShownBy(hk);
    EXPECT_EQ('Z', s.key);
    EXPECT_EQ(kAccelCtrl | kAccelAlt, s.modifiers);
    EXPECT_STREQ(L"Ctrl+Alt+Z", s.text);

    SWindow* root = &host.Container();
    SHotKeyCtrl* field = hk.get();
    field->AddRef();  // becomes the parent's reference
    ASSERT_TRUE(root->InsertChild(field));
    pugi::xml_document doc;
    doc.load_string(L"<hotkey pos='0,0,@160,@30' colorText='#000000'/>");
    ASSERT_TRUE(field->InitFromXml(doc.first_child()));
    root->UpdateLayout();
    EXPECT_STREQ(L"Ctrl+Alt+Z", field->GetHotKeyText());

    host.PaintAll();
    int inked = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 160; ++x) inked += host.Px(x, y) != 0;
    EXPECT_GT(inked, 20);
    field->SetFocus();
    EXPECT_GT(host.Container().caretPos.x, TextSize(field, L"Ctrl+Alt+").cx);
}

TEST_F(HotKeyTest, AttributesAndKeysItLeavesToTheFocus)
{
    InputHost host;
    host.Load(L"<root><hotkey name='hk' pos='0,0,@100,@20' hotKey='0x41' combKey='6'/>"
              L"<window name='other' pos='0,30,@50,@20' focusable='1'/></root>");
    SHotKeyCtrl* hk = host.Find<SHotKeyCtrl>(L"hk");
    ASSERT_TRUE(hk);
    EXPECT_STREQ(L"Ctrl+Shift+A", hk->GetHotKeyText());
    EXPECT_TRUE(hk->IsFocusable());
    EXPECT_EQ(0x8000FFFDu, hk->GetDlgCode());
    for (const wchar_t* bad : {L"0x10000", L"-1", L"abc", L"", L"65a"}) {
        for (const wchar_t* name : {L"hotKey", L"combKey", L"invalidComb", L"defCombKey"})
            EXPECT_EQ(E_FAIL, hk->SetAttribute(name, bad, FALSE)) << name << " " << bad;
    }
    EXPECT_STREQ(L"Ctrl+Shift+A", hk->GetHotKeyText());
    EXPECT_EQ(S_OK, hk->SetAttribute(L"HOTKEY", L"0x74", FALSE));
    EXPECT_EQ(S_OK, hk->SetAttribute(L"combKey", L"0", FALSE));
    EXPECT_STREQ(L"F5", hk->GetHotKeyText());
    EXPECT_EQ(S_FALSE, hk->SetAttribute(L"invalidComb", L"0xFF", FALSE));
    EXPECT_EQ(S_FALSE, hk->SetAttribute(L"defCombKey", L"4", FALSE));
    hk->SetFocus();
    host.Key(WM_KEYDOWN, 'M');
    EXPECT_STREQ(L"Shift+M", hk->GetHotKeyText());
    host.Key(WM_KEYUP, 'M');

    // Tab still moves the focus on.
    InputHost::Hold(kHoldNone);
    host.Key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(host.Find(L"other")->GetSwnd(), host.Container().GetFocus());
    EXPECT_STREQ(L"Shift+M", hk->GetHotKeyText());
}
