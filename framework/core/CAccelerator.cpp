#include "core/CAccelerator.h"

#include <cwchar>

namespace WUI {

namespace {

struct KeyWord {
    LPCWSTR name;
    WORD key;
};

// Named keys of the text form, in the case ParseAccelKey reads them.
const KeyWord kKeyWords[] = {
    {L"esc", VK_ESCAPE},   {L"enter", VK_RETURN}, {L"up", VK_UP},         {L"down", VK_DOWN},
    {L"left", VK_LEFT},    {L"right", VK_RIGHT},  {L"home", VK_HOME},     {L"end", VK_END},
    {L"pageup", VK_PRIOR}, {L"pagedown", VK_NEXT}, {L"insert", VK_INSERT},
};

// Names GetKeyName gives; the parser reads them back through kKeyWords.
const KeyWord kKeyNames[] = {
    {L"Enter", VK_RETURN}, {L"ESC", VK_ESCAPE}, {L"PageUp", VK_PRIOR}, {L"PageDown", VK_NEXT},
    {L"End", VK_END},      {L"Home", VK_HOME},  {L"Left", VK_LEFT},    {L"Up", VK_UP},
    {L"Right", VK_RIGHT},  {L"Down", VK_DOWN},  {L"Insert", VK_INSERT},
};

// Punctuation keys by the character they carry on a US layout.
struct PunctKey {
    wchar_t ch;
    WORD key;
};
const PunctKey kPunctKeys[] = {
    {L',', 188}, {L'-', 189}, {L'.', 190}, {L'/', 191}, {L';', 186}, {L'=', 187},
    {L'[', 219}, {L'\\', 220}, {L']', 221}, {L'`', 192}, {L'\'', 222},
};

// Prefixes by the three modifier bits.
const LPCWSTR kModifierPrefixes[8] = {
    L"", L"Alt+", L"Ctrl+", L"Ctrl+Alt+", L"Shift+", L"Shift+Alt+", L"Ctrl+Shift+", L"Ctrl+Shift+Alt+",
};

const int kMaxAccelText = 100;
const wchar_t kNumPlus[] = L"num +";
const int kNumPlusLength = 5;

// A whole run of one or two digits within [low, high]; -1 otherwise.
int SmallNumber(const wchar_t* text, int length, int low, int high)
{
    if (length < 1 || length > 2) return -1;
    int n = 0;
    for (int i = 0; i < length; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return -1;
        n = n * 10 + (text[i] - L'0');
    }
    return n >= low && n <= high ? n : -1;
}

bool PieceIs(const wchar_t* piece, int length, LPCWSTR word)
{
    return static_cast<int>(wcslen(word)) == length && wcsncmp(piece, word, length) == 0;
}

WORD SingleCharKey(wchar_t ch)
{
    if (ch >= L'a' && ch <= L'z') return static_cast<WORD>(ch - L'a' + L'A');
    if (ch >= L'0' && ch <= L'9') return static_cast<WORD>(ch);
    for (const PunctKey& p : kPunctKeys)
        if (p.ch == ch) return p.key;
    return 0;
}

// The key a lower-case piece names; 0 for none. Function keys run F1-F24 and
// number-pad digits 0-9: other numbers name no key.
WORD KeyOfPiece(const wchar_t* piece, int length)
{
    for (const KeyWord& w : kKeyWords)
        if (PieceIs(piece, length, w.name)) return w.key;
    if (length == 1) return SingleCharKey(piece[0]);
    if (piece[0] == L'f') {
        int n = SmallNumber(piece + 1, length - 1, 1, 24);
        return n < 0 ? 0 : static_cast<WORD>(VK_F1 - 1 + n);
    }
    if (length > 4 && wcsncmp(piece, L"num ", 4) == 0) {
        const wchar_t* rest = piece + 4;
        const int restLength = length - 4;
        if (PieceIs(rest, restLength, L"del")) return VK_DECIMAL;
        if (PieceIs(rest, restLength, L"*")) return VK_MULTIPLY;
        if (PieceIs(rest, restLength, L"+")) return VK_ADD;
        if (PieceIs(rest, restLength, L"-")) return VK_SUBTRACT;
        if (PieceIs(rest, restLength, L"/")) return VK_DIVIDE;
        int n = SmallNumber(rest, restLength, 0, 9);
        return n < 0 ? 0 : static_cast<WORD>(VK_NUMPAD0 + n);
    }
    return 0;
}

// Length of the piece at text (up to the next "+"); "num +" is one piece,
// since its "+" is the key and not a separator.
int PieceLength(const wchar_t* text)
{
    if (wcsncmp(text, kNumPlus, kNumPlusLength) == 0) return kNumPlusLength;
    int n = 0;
    while (text[n] && text[n] != L'+') ++n;
    return n;
}

}  // namespace

CAccelerator::CAccelerator(UINT key, bool ctrl, bool alt, bool shift)
    : m_wModifier(static_cast<WORD>((alt ? kAccelAlt : 0) | (ctrl ? kAccelCtrl : 0) | (shift ? kAccelShift : 0))),
      m_wVK(static_cast<WORD>(key))
{
}

CAccelerator::CAccelerator(DWORD packed) : m_wModifier(HIWORD(packed)), m_wVK(LOWORD(packed)) {}

SStringW CAccelerator::FormatHotkey() const
{
    if (m_wModifier == 0 && m_wVK == 0) return SStringW(L"\x65E0");
    SStringW text(kModifierPrefixes[m_wModifier & 7]);
    text += GetKeyName(m_wVK);
    return text;
}

SStringW CAccelerator::GetKeyName(WORD key)
{
    for (const KeyWord& k : kKeyNames)
        if (k.key == key) return SStringW(k.name);
    SStringW name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        name += static_cast<wchar_t>(key);
    } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        name.Format(L"Num %d", key - VK_NUMPAD0);
    } else if (key == VK_MULTIPLY) {
        name = L"Num *";
    } else if (key == VK_ADD) {
        name = L"Num +";
    } else if (key == VK_SUBTRACT) {
        name = L"Num -";
    } else if (key == VK_DIVIDE) {
        name = L"Num /";
    } else if (key == VK_DECIMAL) {
        name = L"Num Del";
    } else if (key >= VK_F1 && key <= VK_F12) {
        name.Format(L"F%d", key - VK_F1 + 1);
    } else if (key >= VK_OEM_1 && key <= VK_OEM_102) {
        // The character the layout puts on a punctuation key. Other keys the
        // layout maps to the same characters (the number pad's) must not
        // borrow those names: the text would parse back to another key.
        const wchar_t ch = static_cast<wchar_t>(::MapVirtualKeyA(key, MAPVK_VK_TO_CHAR) & 0xFFFF);
        for (const PunctKey& p : kPunctKeys)
            if (ch && p.ch == ch) name += ch;
    }
    return name;
}

DWORD CAccelerator::ParseAccelKey(LPCWSTR text)
{
    if (!text) return 0;
    const size_t length = wcslen(text);
    if (length >= static_cast<size_t>(kMaxAccelText)) return 0;
    wchar_t lower[kMaxAccelText];
    wmemcpy(lower, text, length + 1);
    ::CharLowerBuffW(lower, static_cast<DWORD>(length));

    WORD modifiers = 0;
    for (const wchar_t* p = lower; *p;) {
        if (*p == L'+') {  // empty pieces are skipped
            ++p;
            continue;
        }
        const int n = PieceLength(p);
        if (PieceIs(p, n, L"ctrl")) modifiers |= kAccelCtrl;
        else if (PieceIs(p, n, L"alt")) modifiers |= kAccelAlt;
        else if (PieceIs(p, n, L"shift")) modifiers |= kAccelShift;
        else return MAKELONG(KeyOfPiece(p, n), modifiers);  // the key ends the text
        p += n;
    }
    return MAKELONG(0, modifiers);
}

}  // namespace WUI
