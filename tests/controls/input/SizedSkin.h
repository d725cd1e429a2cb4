// A flat colour skin with a natural size ("sizedrect", attribute
// "size='cx,cy'"), so geometry that follows skin sizes can be tested
// without images.
#pragma once

#include "core/AttrParse.h"
#include "render/SSkinColorRect.h"

namespace inputtest {

class SizedRect : public WUI::SSkinColorRect {
    WUI_CLASS_NAME(SizedRect, WUI::SSkinColorRect, L"sizedrect")
public:
    SIZE GetSkinSize() override { return m_size; }

    WUI_ATTRS_BEGIN()
        WUI_ATTR_CUSTOM(L"size", OnAttrSize)
    WUI_ATTRS_END(WUI::SSkinColorRect)

private:
    HRESULT OnAttrSize(const WUI::SStringW& value, BOOL)
    {
        int parts[2] = {0, 0};
        if (WUI::AttrParseIntList(value, parts, 2, 0, 1000) != 2) return E_FAIL;
        m_size = SIZE{parts[0], parts[1]};
        return S_OK;
    }
    SIZE m_size = {0, 0};
};

}  // namespace inputtest
