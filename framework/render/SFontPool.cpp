#include "render/SFontPool.h"

#include "core/SPropBag.h"
#include "render/SSkinPool.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <cwctype>

namespace WUI {

namespace {

// LOGFONTW holds 31 characters and a NUL: longer faces are cut, never overrun.
void CopyFace(LOGFONTW& lf, LPCWSTR face)
{
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
}

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool ScreenHasFace(LPCWSTR face)
{
    if (!face || !*face) return false;
    bool found = false;
    HDC dc = ::GetDC(nullptr);
    if (!dc) return false;
    ::EnumFontsW(dc, face, FoundFace, reinterpret_cast<LPARAM>(&found));
    ::ReleaseDC(nullptr, dc);
    return found;
}

// Past either end of the int range: digits stop growing a number here.
const long long kIntOverflow = 1ll << 32;

// A piece of the description text, not NUL-terminated.
struct Span {
    const wchar_t* p;
    int n;
    bool Is(const wchar_t* word) const { return int(wcslen(word)) == n && wcsncmp(p, word, n) == 0; }
    // Read as _wtoi reads it, over every digit of the span (a cut could turn
    // 0...020 into 2), saturating at the int range.
    int ToInt() const
    {
        int i = 0;
        while (i < n && iswspace(p[i])) ++i;
        bool negative = i < n && p[i] == L'-';
        if (i < n && (p[i] == L'-' || p[i] == L'+')) ++i;
        long long v = 0;
        for (; i < n && p[i] >= L'0' && p[i] <= L'9'; ++i) v = std::min(v * 10 + (p[i] - L'0'), kIntOverflow);
        v = negative ? -v : v;
        return int(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, v)));
    }
    SStringW Text() const { return SStringW(p, n); }
};

struct DescriptionParts {
    DWORD style = kFontNoKeys;
    SStringW face;
    SAutoRefPtr<SPropBag> props;
};

void SetBit(DWORD& style, DWORD bit, const Span& value)
{
    if (value.Is(L"0")) style &= ~bit;
    else style |= bit;
}

// "key:value"; a piece without exactly two non-empty parts around ':' is ignored.
void ApplyPiece(const Span& piece, DescriptionParts& out)
{
    Span runs[2];
    int count = 0;
    for (int i = 0, start = 0; i <= piece.n; ++i) {
        if (i < piece.n && piece.p[i] != L':') continue;
        if (i > start) {
            if (count == 2) return;
            runs[count++] = Span{piece.p + start, i - start};
        }
        start = i + 1;
    }
    if (count != 2) return;
    const Span &key = runs[0], &value = runs[1];
    DWORD& style = out.style;
    if (key.Is(L"face")) {
        out.face = value.Text();
    } else if (key.Is(L"adding") || key.Is(L"size")) {
        // One of the two: whichever comes first decides relative or absolute.
        style = (style & ~(0xFFFFu | kFontAbsSize)) | (DWORD(value.ToInt()) & 0xFFFF);
        if (key.Is(L"size")) style |= kFontAbsSize;
    } else if (key.Is(L"italic")) {
        SetBit(style, kFontItalic, value);
    } else if (key.Is(L"underline")) {
        SetBit(style, kFontUnderline, value);
    } else if (key.Is(L"bold")) {
        SetBit(style, kFontBold, value);
    } else if (key.Is(L"strike")) {
        SetBit(style, kFontStrike, value);
    } else if (key.Is(L"charset")) {
        style = (style & 0x00FFFFFF) | (DWORD(value.ToInt() & 0xFF) << kFontCharsetShift);
    } else {
        if (!out.props) out.props.Attach(new SPropBag);
        out.props->SetKeyValue(key.Text(), value.Text());
    }
}

}  // namespace

SFontPool::SFontPool(IRenderFactory* factory) : SSingletonMap(ReleaseFont), m_factory(factory)
{
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(m_defaultLf), &m_defaultLf);
    m_defaultLf.lfHeight = -12;
    m_defaultLf.lfQuality = CLEARTYPE_QUALITY;
    CopyFace(m_defaultLf, DefaultFontFace());
    CreateAndStore(FontKey(), m_defaultLf);
}

IFont* SFontPool::GetDefaultFont() const
{
    IFont* const* found = Find(FontKey());
    return found ? *found : nullptr;
}

IFont* SFontPool::CreateAndStore(const FontKey& key, const LOGFONTW& lf)
{
    IFont* font = nullptr;
    if (m_factory) m_factory->CreateFont(&font, lf, key.props.IsEmpty() ? nullptr : key.props.c_str());
    if (!font) return nullptr;
    if (!InsertIfAbsent(key, font)) {
        font->Release();
        return nullptr;
    }
    return font;
}

IFont* SFontPool::GetFontByDescription(const SStringW& description)
{
    SStringW text(description);
    text.MakeLower();
    DescriptionParts parts;
    // From the last piece to the first, so the first occurrence of a key wins.
    const wchar_t* p = text.c_str();
    int stop = text.GetLength();
    for (int i = stop - 1; i >= -1; --i) {
        if (i >= 0 && p[i] != L',') continue;
        if (stop - i - 1 > 0) ApplyPiece(Span{p + i + 1, stop - i - 1}, parts);
        stop = i;
    }
    SStringW propText;
    if (parts.props) parts.props->ToXml(&propText);
    return GetFont(parts.style, parts.face, propText);
}

IFont* SFontPool::GetFont(DWORD style, const SStringW& face, const SStringW& props)
{
    FontKey key;
    key.style = style;
    key.face = _wcsicmp(face, m_defaultLf.lfFaceName) == 0 ? SStringW() : face;
    key.props = props;
    if (IFont* const* found = Find(key)) return *found;

    LOGFONTW lf = m_defaultLf;
    lf.lfWeight = (style & kFontBold) ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = (style & kFontUnderline) ? 1 : 0;
    lf.lfItalic = (style & kFontItalic) ? 1 : 0;
    lf.lfStrikeOut = (style & kFontStrike) ? 1 : 0;
    const int size = FontStyleSize(style);
    lf.lfHeight = (style & kFontAbsSize) ? -abs(size) : m_defaultLf.lfHeight - size;
    lf.lfQuality = CLEARTYPE_QUALITY;
    if (FontStyleCharset(style) != DEFAULT_CHARSET) lf.lfCharSet = FontStyleCharset(style);
    if (!key.face.IsEmpty()) CopyFace(lf, key.face);
    return CreateAndStore(key, lf);
}

bool SFontPool::SetDefaultFont(const SStringW& face, int size, BYTE charset)
{
    if (GetCount() >= 2) return false;
    LOGFONTW lf = m_defaultLf;
    CopyFace(lf, ScreenHasFace(face) ? face.c_str() : DefaultFontFace());
    lf.lfHeight = -abs(size);
    if (charset != DEFAULT_CHARSET) lf.lfCharSet = charset;
    IFont* font = nullptr;
    if (m_factory) m_factory->CreateFont(&font, lf, nullptr);
    if (!font) return false;  // the old default stays
    RemoveAndRelease(FontKey());
    m_defaultLf = lf;
    if (!InsertIfAbsent(FontKey(), font)) {
        font->Release();
        return false;
    }
    return true;
}

}  // namespace WUI
