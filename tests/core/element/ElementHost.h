// An application object, a memory render target and a fake container with a
// root element: element trees built from layout strings run here and are
// laid out, without any native window.
#pragma once

#include "app/AdoptRef.h"
#include "core/SApplication.h"
#include "core/SWindow.h"
#include "element/FakeContainer.h"

#include <memory>

namespace elemtest {

// An element for layout tests: tag "stub"; "content"="w,h" is the size it
// measures to; it counts its measures and position changes.
class StubElement : public WUI::SWindow {
    WUI_SWINDOW_CLASS(StubElement, WUI::SWindow, L"stub")
public:
    SIZE MeasureContent(const RECT* limit) override;
    void OnPosChanged(const RECT* oldRect, const RECT* newRect) override;
    HRESULT SetAttribute(const WUI::SStringW& name, const WUI::SStringW& value, BOOL loading) override;

    SIZE content = {0, 0};
    int measures = 0;
    int posChanges = 0;
};

class ElementHost {
public:
    // The root covers (0, 0, width, height) of the container.
    explicit ElementHost(int width = 400, int height = 300);
    // Destroys the tree, then the container, the target and the application.
    ~ElementHost();
    ElementHost(const ElementHost&) = delete;
    ElementHost& operator=(const ElementHost&) = delete;

    WUI::SApplication& App() { return *m_app; }
    FakeContainer& Container() { return *m_container; }
    WUI::SWindow* Root() { return m_root; }
    WUI::IRenderTarget* Target() { return m_target; }

    // Builds the children of the layout's root element under the root and
    // runs the layout; the last child made, or null when the text does not parse.
    WUI::SWindow* Load(const wchar_t* xml);
    // Runs pending layout passes.
    void Layout();
    // The element of that name anywhere in the tree, or null.
    WUI::SWindow* Find(const wchar_t* name);
    StubElement* Stub(const wchar_t* name);

    // A style pool with the "class" children of <style>...</style>.
    void AddStyles(const wchar_t* xml);
    // A skin pool with the skins of <skin>...</skin>.
    void AddSkins(const wchar_t* xml);
    // The class defaults of <objattr>...</objattr>.
    bool SetDefaults(const wchar_t* xml);
    // A PNG of the render target, for a person to look at.
    void SavePicture(const wchar_t* file);

private:
    WUI::IRenderFactory* m_factory = nullptr;
    std::unique_ptr<WUI::SApplication> m_app;
    WUI::IRenderTarget* m_target = nullptr;
    std::unique_ptr<FakeContainer> m_container;
    WUI::SWindow* m_root = nullptr;
};

}  // namespace elemtest
