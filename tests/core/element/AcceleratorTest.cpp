// Accelerators as text: formatting, parsing, and the round trip between them.
#include "core/CAccelerator.h"
#include "LeakCheck.h"

#include <string>

using namespace WUI;

class AcceleratorTest : public LeakChecked {};

namespace {

std::wstring Format(DWORD packed)
{
    return std::wstring(CAccelerator(packed).FormatHotkey().c_str());
}

}  // namespace

TEST_F(AcceleratorTest, FormatsModifiersAndKeyNames)
{
    const struct {
        DWORD packed;
        const wchar_t* text;
    } cases[] = {
        {0, L"\x65E0"},  // no key, no modifier
        {MAKELONG(VK_F5, kAccelCtrl | kAccelShift), L"Ctrl+Shift+F5"},
        {MAKELONG('A', 1), L"Alt+A"},
        {MAKELONG('A', 3), L"Ctrl+Alt+A"},
        {MAKELONG('A', 5), L"Shift+Alt+A"},
        {MAKELONG('A', 7), L"Ctrl+Shift+Alt+A"},
        {MAKELONG(0, kAccelCtrl), L"Ctrl+"},
        {VK_RETURN, L"Enter"},
        {VK_ESCAPE, L"ESC"},
        {VK_PRIOR, L"PageUp"},
        {VK_NEXT, L"PageDown"},
        {VK_END, L"End"},
        {VK_HOME, L"Home"},
        {VK_LEFT, L"Left"},
        {VK_DOWN, L"Down"},
        {VK_INSERT, L"Insert"},
        {'0', L"0"},
        {'Z', L"Z"},
        {VK_NUMPAD0, L"Num 0"},
        {VK_NUMPAD9, L"Num 9"},
        {VK_MULTIPLY, L"Num *"},
        {VK_ADD, L"Num +"},
        {VK_DECIMAL, L"Num Del"},
        {VK_F1, L"F1"},
        {VK_F12, L"F12"},
        {0xBA, L";"},  // US layout
        {0xDE, L"'"},
        {0xC0, L"`"},
        {VK_SPACE, L""},  // keys without a name
        {VK_F13, L""},
        {VK_SUBTRACT, L"Num -"},  // not "-": that is another key's name
        {VK_DIVIDE, L"Num /"},
        {VK_SEPARATOR, L""},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.packed), c.text) << std::hex << c.packed;
}

TEST_F(AcceleratorTest, ParsesText)
{
    const struct {
        const wchar_t* text;
        DWORD packed;
    } cases[] = {
        {L"ctrl+num del", 0x0002006E},
        {L"SHIFT+a", 0x00040041},
        {L"ctrl", 0x00020000},
        {L"Ctrl+Alt+Del", 0x00030000},  // "del" alone names no key
        {L"del", 0},
        {L"Ctrl+Num +", 0x0002006B},
        {L"num +", VK_ADD},
        {L"num *", VK_MULTIPLY},
        {L"num 7", VK_NUMPAD7},
        {L"num -", VK_SUBTRACT},
        {L"num 10", 0},
        {L"num x", 0},
        {L"F5", VK_F5},
        {L"f24", VK_F24},
        {L"f25", 0},
        {L"f0", 0},
        {L"fx", 0},
        {L"f", 'F'},
        {L"end", VK_END},
        {L"ctrl++a", 0x00020041},  // empty pieces are skipped
        {L"+alt+", 0x00010000},
        {L"a+ctrl", 'A'},  // the key ends the text
        {L"shift+,", 0x000400BC},
        {L"'", 0xDE},
        {L"\\", 0xDC},
        {L"9", '9'},
        {L"\x65E9", 0},  // not a key of the table
        {L"\x65E0", 0},  // "none" parses back to none
        {L"ctrl+whatever", 0x00020000},
        {L"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CAccelerator::ParseAccelKey(c.text), c.packed) << c.text;
    EXPECT_EQ(CAccelerator::ParseAccelKey(nullptr), 0u);
    // 99 characters still parse; 100 are refused.
    std::wstring longText = L"ctrl+" + std::wstring(93, L'+') + L"a";
    ASSERT_EQ(longText.size(), 99u);
    EXPECT_EQ(CAccelerator::ParseAccelKey(longText.c_str()), 0x00020041u);
    longText.insert(0, L"+");
    EXPECT_EQ(CAccelerator::ParseAccelKey(longText.c_str()), 0u);
}

// Every accelerator whose key has a name comes back from its text.
TEST_F(AcceleratorTest, EveryFormattedHotkeyParsesBack)
{
    int named = 0;
    for (WORD modifiers = 0; modifiers < 8; ++modifiers) {
        for (WORD key = 0; key < 256; ++key) {
            const DWORD packed = MAKELONG(key, modifiers);
            if (key != 0 && CAccelerator::GetKeyName(key).IsEmpty()) continue;
            ++named;
            EXPECT_EQ(CAccelerator::ParseAccelKey(CAccelerator(packed).FormatHotkey()), packed)
                << std::hex << packed << " " << Format(packed).c_str();
        }
    }
    EXPECT_GT(named, 8 * 70);  // letters, digits, number pad, F keys, named and punctuation keys
}

TEST_F(AcceleratorTest, BuildsFromKeyAndModifierStates)
{
    CAccelerator accel('K', true, false, true);
    EXPECT_EQ(accel.GetKey(), 'K');
    EXPECT_EQ(accel.GetModifier(), kAccelCtrl | kAccelShift);
    EXPECT_EQ(accel.GetAccel(), 0x0006004Bu);
    EXPECT_EQ(CAccelerator(VK_TAB, false, true, false).GetAccel(), 0x00010009u);
}
