#pragma once
// Shared fonts by description ("face:arial,size:14,bold:1"): each distinct
// font is created once and kept for the pool's life.
#include "core/SSingleton.h"
#include "render/IRenderTarget.h"

namespace WUI {

// Bits of a font style word; the size sits in bits 0-15 (signed) and the
// character set in bits 24-31, where 1 means "not given".
enum : DWORD {
    kFontItalic = 1u << 16,
    kFontUnderline = 1u << 17,
    kFontBold = 1u << 18,
    kFontStrike = 1u << 19,
    kFontAbsSize = 1u << 20,
    kFontCharsetShift = 24,
    kFontNoKeys = 0x01000000u,  // the style word of a description with no keys
};

inline short FontStyleSize(DWORD style) { return short(style & 0xFFFF); }
inline BYTE FontStyleCharset(DWORD style) { return BYTE(style >> kFontCharsetShift); }

struct FontKey {
    DWORD style = 0;
    SStringW face;   // empty: the default face
    SStringW props;  // the property bag's text, or empty
    bool operator==(const FontKey& other) const
    {
        return style == other.style && face == other.face && props == other.props;
    }
};

template <>
struct SHashTraits<FontKey> {
    static UINT Hash(const FontKey& key)
    {
        return key.style + 1024 * SHashTraits<SStringW>::Hash(key.face) + 32 * SHashTraits<SStringW>::Hash(key.props) + 1;
    }
    static bool Equal(const FontKey& a, const FontKey& b) { return a == b; }
};

class SFontPool : public SSingletonMap<SFontPool, IFont*, FontKey> {
public:
    // Makes the default font (the GUI font at height -12 in the default face);
    // without a render factory no font can be made and every lookup gives null.
    explicit SFontPool(IRenderFactory* factory);

    // Parses the description (case ignored; the first occurrence of a key wins;
    // malformed pieces ignored; unknown keys become properties) and returns GetFont.
    IFont* GetFontByDescription(const SStringW& description);
    // The pooled font of the key, made on first use; the pool keeps the
    // reference. Null when the font cannot be made.
    IFont* GetFont(DWORD style, const SStringW& face, const SStringW& props);
    // Replaces the default font while it is the only one pooled (else
    // nothing): a face the screen lacks becomes the default face, height
    // -|size|, charset kept when 1. False when nothing changed.
    bool SetDefaultFont(const SStringW& face, int size, BYTE charset);
    IFont* GetDefaultFont() const;
    const LOGFONTW& GetDefaultLogFont() const { return m_defaultLf; }

private:
    static void ReleaseFont(IFont** font) { (*font)->Release(); }
    IFont* CreateAndStore(const FontKey& key, const LOGFONTW& lf);

    SAutoRefPtr<IRenderFactory> m_factory;
    LOGFONTW m_defaultLf{};
};

}  // namespace WUI
