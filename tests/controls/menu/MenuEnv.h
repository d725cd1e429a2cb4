// What the menu tests share: an application with the GDI render factory,
// the built-in skins and this executable's resources; a translator that
// marks what it translates; helpers to read a native menu's items.
#pragma once

#include "controls/SMenu.h"
#include "core/LeakCheck.h"
#include "core/SApplication.h"
#include "render/IRenderTarget.h"
#include "render/SSkinPool.h"

#include <memory>
#include <pugixml.hpp>
#include <string>

namespace menutest {

class MenuEnv {
public:
    MenuEnv();
    ~MenuEnv();
    MenuEnv(const MenuEnv&) = delete;
    MenuEnv& operator=(const MenuEnv&) = delete;

    WUI::SApplication& App() { return *m_app; }
    WUI::IRenderFactory* Factory() { return m_factory; }
    // Pushes a skin pool with the skins of <skin>...</skin> until the env goes.
    void AddSkins(const wchar_t* xml);
    // Installs a translator: (text, context) gives "context:text" for the
    // contexts named in `contexts` (";"-separated, "" included), text itself otherwise.
    void TranslateIn(const wchar_t* contexts);
    // A new render target (one reference held by the result).
    WUI::SAutoRefPtr<WUI::IRenderTarget> NewTarget(int width, int height);

private:
    WUI::IRenderFactory* m_factory = nullptr;
    std::unique_ptr<WUI::SApplication> m_app;
    WUI::SAutoRefPtr<WUI::SSkinPool> m_skins;
};

// Every menu test runs with a fresh env under the leak check.
class MenuTest : public LeakChecked {
protected:
    void SetUp() override;
    void TearDown() override;
    MenuEnv& Env() { return *m_env; }
    // Builds menu from the first element of xml; false when the text does not parse.
    static bool Load(WUI::SMenu& menu, const wchar_t* xml);

private:
    std::unique_ptr<MenuEnv> m_env;
};

// The record of the item at the position; null for separators.
const WUI::SMenuItemData* ItemData(HMENU menu, int position);
// What GetMenuItemInfoW tells of the item at the position.
MENUITEMINFOW ItemInfo(HMENU menu, int position);

}  // namespace menutest
