#include "render/SFontPool.h"

#include "core/SPropBag.h"
#include "core/SplitString.h"
#include "render/SSkinPool.h"

#include <cwchar>

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

void SetBit(DWORD& style, DWORD bit, const SStringW& value)
{
    if (value == L"0") style &= ~bit;
    else style |= bit;
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
    SArray<SStringW> pieces;
    SplitString(text, L',', pieces);
    DWORD style = kFontNoKeys;
    SStringW face;
    SAutoRefPtr<SPropBag> props;
    // From the last piece to the first, so the first occurrence of a key wins.
    for (int i = int(pieces.GetCount()) - 1; i >= 0; --i) {
        SArray<SStringW> kv;
        SplitString(pieces[i], L':', kv);
        if (kv.GetCount() != 2 || kv[0].IsEmpty() || kv[1].IsEmpty()) continue;
        const SStringW &key = kv[0], &value = kv[1];
        if (key == L"face") {
            face = value;
        } else if (key == L"adding" || key == L"size") {
            // One of the two: whichever comes first decides relative or absolute.
            style = (style & ~(0xFFFFu | kFontAbsSize)) | (DWORD(_wtoi(value)) & 0xFFFF);
            if (key == L"size") style |= kFontAbsSize;
        } else if (key == L"italic") {
            SetBit(style, kFontItalic, value);
        } else if (key == L"underline") {
            SetBit(style, kFontUnderline, value);
        } else if (key == L"bold") {
            SetBit(style, kFontBold, value);
        } else if (key == L"strike") {
            SetBit(style, kFontStrike, value);
        } else if (key == L"charset") {
            style = (style & 0x00FFFFFF) | (DWORD(_wtoi(value) & 0xFF) << kFontCharsetShift);
        } else {
            if (!props) props.Attach(new SPropBag);
            props->SetKeyValue(key, value);
        }
    }
    SStringW propText;
    if (props) props->ToXml(&propText);
    return GetFont(style, face, propText);
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
