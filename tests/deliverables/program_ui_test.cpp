// The user interface each program carries: every resource its windows load by
// name, well-formed XML, skins that exist with images that fit them, elements
// the dialogs look up, and texts that both translation tables translate.
#include <gtest/gtest.h>

#include <windows.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <functional>
#include <list>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "DataModule.h"

namespace {

std::string Narrow(const std::wstring& w)
{
    std::string s;
    for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

std::wstring Upper(std::wstring s)
{
    for (wchar_t& c : s) c = static_cast<wchar_t>(std::towupper(c));
    return s;
}

// "type:name" split at the first colon.
std::pair<std::wstring, std::wstring> SplitId(const std::wstring& id)
{
    size_t colon = id.find(L':');
    if (colon == std::wstring::npos) return {L"", id};
    return {id.substr(0, colon), id.substr(colon + 1)};
}

std::wstring Trim(std::wstring s)
{
    const wchar_t* blanks = L" \t\r\n";
    size_t a = s.find_first_not_of(blanks);
    if (a == std::wstring::npos) return L"";
    return s.substr(a, s.find_last_not_of(blanks) - a + 1);
}

// A program's resources, read from its file as data.
class Program {
public:
    explicit Program(const wchar_t* path) : file_(path), module_(file_.get()) {}

    bool Loaded() const { return module_ != nullptr; }

    // Icons live under RT_GROUP_ICON, like the framework's resource provider asks for them.
    static LPCWSTR Win32Type(const std::wstring& type)
    {
        return _wcsicmp(type.c_str(), L"ICON") == 0 ? RT_GROUP_ICON : type.c_str();
    }

    std::string Bytes(const std::wstring& type, const std::wstring& name) const
    {
        HRSRC res = FindResourceW(module_, name.c_str(), Win32Type(type));
        if (!res) return {};
        const char* data = static_cast<const char*>(LockResource(LoadResource(module_, res)));
        return data ? std::string(data, SizeofResource(module_, res)) : std::string();
    }

    bool Xml(pugi::xml_document& doc, const std::wstring& type, const std::wstring& name) const
    {
        std::string bytes = Bytes(type, name);
        return !bytes.empty() &&
               doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
    }

    bool XmlById(pugi::xml_document& doc, const std::wstring& id) const
    {
        auto parts = SplitId(id);
        return !parts.first.empty() && Xml(doc, parts.first, parts.second);
    }

    // Every name of a resource type, as stored (the resource compiler upper-cases them).
    std::vector<std::wstring> Names(const wchar_t* type) const
    {
        std::vector<std::wstring> names;
        EnumResourceNamesW(module_, type, CollectName, reinterpret_cast<LONG_PTR>(&names));
        return names;
    }

private:
    static BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out)
    {
        if (!IS_INTRESOURCE(name)) reinterpret_cast<std::vector<std::wstring>*>(out)->push_back(name);
        return TRUE;
    }

    DataModule file_;
    HMODULE module_;
};

struct Expectation {
    const wchar_t* path;
    std::vector<std::wstring> resources;  // type:name
    std::vector<std::wstring> pngs;       // names under PNG
    // Layout name and the elements the program finds in that window ("name"
    // or "name=tag"); "#1" names the element with id 1.
    std::vector<std::pair<std::wstring, std::vector<std::wstring>>> windows;
    std::vector<std::wstring> languageImages;  // images whose state the language index picks
    std::vector<std::pair<std::wstring, std::wstring>> codeTexts;  // (context, text) the code translates
};

void PrintTo(const Expectation& e, std::ostream* os) { *os << Narrow(e.path); }

const std::vector<std::wstring> kSetupResources = {
    L"UIDEF:XML_INIT", L"VALUES:string", L"VALUES:color", L"VALUES:skin",
    L"LAYOUT:XML_MAINWND", L"LAYOUT:XML_SELLANG", L"LAYOUT:page_begin", L"LAYOUT:page_license",
    L"LAYOUT:page_config", L"LAYOUT:page_installing", L"LAYOUT:page_end", L"LAYOUT:XML_QUERYWND",
    L"LAYOUT:XML_UNMAINWND", L"LAYOUT:page_unconfig", L"LAYOUT:page_uninstalling", L"LAYOUT:page_unend",
    L"TRANSLATOR:lang_cn", L"TRANSLATOR:lang_en", L"ICON:ICON_LOGO"};

const std::vector<std::wstring> kSetupPngs = {
    L"ID_BTN_CLOSE_SMALL", L"ID_BTN_MIN_SMALL", L"ID_VSCROLLBAR", L"Orvo_logo", L"bkgnd", L"begin_note",
    L"change_dir", L"check", L"check_focus", L"dlg_shadow", L"finish_note", L"fs_01", L"fs_02", L"fs_03",
    L"fs_04", L"lang_bkgnd", L"next", L"progressbar", L"progressbar_bkgnd", L"select_lang_bkgnd",
    L"select_lang_next", L"select_lang_sep", L"step", L"user_permit_bkgnd", L"hint", L"button"};

const std::vector<std::pair<std::wstring, std::vector<std::wstring>>> kSetupWindows = {
    {L"XML_SELLANG", {L"img_logo=img", L"btn_close", L"item_chinese_simplified", L"item_english", L"btn_goon"}},
    {L"XML_MAINWND",
     {L"img_logo=img", L"btn_close", L"btn_min", L"page_begin", L"page_license", L"page_config",
      L"page_installing", L"page_end", L"img_begin_note=img", L"link_to_license=link", L"btn_to_config",
      L"re_license=richedit", L"btn_from_license_to_config", L"edit_location=edit", L"btn_change_dir",
      L"txt_required_space=text", L"txt_available_space=text", L"check_create_desktop_shortcut=check",
      L"check_create_start_menu_shortcut=check", L"check_auto_run=check", L"btn_to_install",
      L"img_feather_show_01=img", L"img_feather_show_02=img", L"img_feather_show_03=img",
      L"img_feather_show_04=img", L"prg_installing=progress", L"img_finish_note=img",
      L"check_run_right_now=check", L"btn_finish"}},
    {L"XML_QUERYWND", {L"btn_close", L"txt_promption=text", L"#1", L"#2"}},
    {L"XML_UNMAINWND",
     {L"img_logo=img", L"btn_close", L"btn_min", L"page_unconfig", L"page_uninstalling", L"page_unend",
      L"btn_to_uninstall", L"btn_to_cancel", L"prg_installing=progress", L"btn_finish"}}};

const std::vector<std::pair<std::wstring, std::wstring>> kSetupCodeTexts = {
    {L"", L"SureToExit"}, {L"", L"SureToExitUn"}, {L"", L"FailedToInstall"}, {L"", L"FailedToUninstall"},
    {L"", L"DestinationFolderDoesNotExist"}, {L"", L"SpaceAvailableIsNotEnough"}, {L"", L"FolderHoldsOtherFiles"}, {L"", L"Orvoesports"},
    {L"", L"UninstallOrvoesports"}, {L"", L"Publisher"}, {L"", L"Location"}};

const Expectation kExpectations[] = {
    {ORVOSETUP_EXE, kSetupResources, kSetupPngs, kSetupWindows,
     {L"img_logo", L"img_begin_note", L"img_finish_note", L"img_feather_show_01", L"img_feather_show_02",
      L"img_feather_show_03", L"img_feather_show_04"},
     kSetupCodeTexts},
    {ORVOUNINSTALL_EXE, kSetupResources, kSetupPngs, kSetupWindows, {}, kSetupCodeTexts},
    {ORVOMAIN_EXE,
     {L"UIDEF:XML_INIT", L"VALUES:string", L"VALUES:color", L"VALUES:skin", L"LAYOUT:XML_MAINWND",
      L"TRANSLATOR:lang_cn", L"TRANSLATOR:lang_en", L"ICON:ICON_LOGO"},
     {L"ID_BTN_CLOSE_SMALL", L"ID_BTN_MIN_SMALL", L"ID_ORVOLOGO", L"ID_VSCROLLBAR", L"bg", L"bg_head",
      L"bg_bottom", L"bg_main", L"bg_shadow", L"prog_fg", L"prog_bg"},
     {{L"XML_MAINWND",
       {L"btn_close", L"btn_min", L"btn_restore", L"current_version=text", L"progress=progress",
        L"server_status=text", L"txt_notice=richedit", L"txt_number=text", L"txt_progress=text",
        L"txt_speed=text"}}},
     {},
     {{L"dlg_main", L"updateError"}, {L"dlg_main", L"UpdateComplete"}}},
};

// Calls visit on every element of a layout, an "include" replaced by the
// fragment it names, as the element tree builds it.
void ForEachElement(const Program& program, pugi::xml_node node, const std::function<void(pugi::xml_node)>& visit,
                    int depth = 0)
{
    ASSERT_LT(depth, 16) << "includes nest too deep";
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        if (_wcsicmp(child.name(), L"include") == 0) {
            auto id = SplitId(child.attribute(L"src").value());
            pugi::xml_document fragment;
            ASSERT_TRUE(program.Xml(fragment, id.first.empty() ? std::wstring(L"LAYOUT") : id.first, id.second))
                << Narrow(child.attribute(L"src").value());
            ForEachElement(program, fragment.child(L"include"), visit, depth + 1);
            continue;
        }
        visit(child);
        ForEachElement(program, child, visit, depth + 1);
    }
}

// What the UI definition brings: its document and the sections it redirects
// to value tables.
class UiDefinition {
public:
    explicit UiDefinition(const Program& program) : program_(program)
    {
        loaded_ = program.Xml(uidef_, L"UIDEF", L"XML_INIT") && uidef_.child(L"UIDEF");
    }
    bool Loaded() const { return loaded_; }

    // The section as the framework reads it: a "src" attribute replaces it
    // with the same-named element of the resource it names.
    pugi::xml_node Section(const wchar_t* name)
    {
        pugi::xml_node section = uidef_.child(L"UIDEF").child(name);
        const wchar_t* src = section.attribute(L"src").value();
        if (!*src) return section;
        auto& doc = tables_[name];
        if (!program_.XmlById(doc, src)) return pugi::xml_node();
        return doc.child(name);
    }

private:
    const Program& program_;
    pugi::xml_document uidef_;
    std::map<std::wstring, pugi::xml_document> tables_;
    bool loaded_ = false;
};

struct Png {
    unsigned width = 0, height = 0;
};

bool ReadPngSize(const std::string& bytes, Png* png)
{
    if (bytes.size() < 33 || std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) != 0 ||
        std::memcmp(bytes.data() + 12, "IHDR", 4) != 0)
        return false;
    auto be32 = [&](size_t at) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        return (unsigned(p[0]) << 24) | (unsigned(p[1]) << 16) | (unsigned(p[2]) << 8) | p[3];
    };
    png->width = be32(16);
    png->height = be32(20);
    return png->width && png->height;
}

using Table = std::map<std::pair<std::wstring, std::wstring>, std::wstring>;

bool LoadTranslations(const Program& program, const wchar_t* name, Table* table, std::wstring* guid)
{
    pugi::xml_document doc;
    if (!program.Xml(doc, L"TRANSLATOR", name)) return false;
    pugi::xml_node language = doc.child(L"language");
    *guid = language.attribute(L"guid").value();
    for (pugi::xml_node context : language.children(L"context"))
        for (pugi::xml_node message : context.children(L"message"))
            (*table)[{context.attribute(L"name").value(), message.child(L"source").child_value()}] =
                message.child(L"translation").child_value();
    return !table->empty();
}

// The translator looks in the context, then in the shared empty one.
bool Translates(const Table& table, const std::wstring& context, const std::wstring& text)
{
    auto hit = table.find({context, text});
    if (hit == table.end()) hit = table.find({L"", text});
    return hit != table.end() && !hit->second.empty();
}

class ProgramUi : public testing::TestWithParam<Expectation> {};

TEST_P(ProgramUi, CarriesEveryResourceByTypeAndName)
{
    const Expectation& e = GetParam();
    Program program(e.path);
    ASSERT_TRUE(program.Loaded());
    for (const std::wstring& id : e.resources) {
        auto parts = SplitId(id);
        EXPECT_FALSE(program.Bytes(parts.first, parts.second).empty()) << Narrow(id);
    }
    std::vector<std::wstring> pngs = program.Names(L"PNG");
    for (const std::wstring& name : e.pngs)
        EXPECT_NE(pngs.end(), std::find(pngs.begin(), pngs.end(), Upper(name))) << "PNG:" << Narrow(name);
    for (const std::wstring& name : pngs) {
        Png png;
        EXPECT_TRUE(ReadPngSize(program.Bytes(L"PNG", name), &png)) << "PNG:" << Narrow(name);
    }
    // Every XML resource of the program parses, under the root its reader expects.
    const std::pair<const wchar_t*, std::function<bool(const pugi::xml_document&, const std::wstring&)>> roots[] = {
        {L"UIDEF", [](const pugi::xml_document& d, const std::wstring&) { return !!d.child(L"UIDEF"); }},
        {L"VALUES", [](const pugi::xml_document& d, const std::wstring& n) {
             return !!d.first_child() && _wcsicmp(d.first_child().name(), n.c_str()) == 0; }},
        {L"LAYOUT", [](const pugi::xml_document& d, const std::wstring&) {
             return d.child(L"WUI").child(L"root") || d.child(L"include"); }},
        {L"TRANSLATOR", [](const pugi::xml_document& d, const std::wstring&) { return !!d.child(L"language"); }},
    };
    for (const auto& root : roots) {
        std::vector<std::wstring> names = program.Names(root.first);
        EXPECT_FALSE(names.empty()) << Narrow(root.first);
        for (const std::wstring& name : names) {
            pugi::xml_document doc;
            EXPECT_TRUE(program.Xml(doc, root.first, name) && root.second(doc, name))
                << Narrow(root.first) << ":" << Narrow(name);
        }
    }
}

TEST_P(ProgramUi, IconHasTheSmallAndLargeSizes)
{
    Program program(GetParam().path);
    ASSERT_TRUE(program.Loaded());
    std::string group = program.Bytes(L"ICON", L"ICON_LOGO");
    ASSERT_GE(group.size(), 6u);
    unsigned count = static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5]) << 8;
    ASSERT_EQ(group.size(), 6 + 14 * count);
    std::set<int> sizes;
    for (unsigned i = 0; i < count; i++) {
        int w = static_cast<unsigned char>(group[6 + 14 * i]), h = static_cast<unsigned char>(group[7 + 14 * i]);
        EXPECT_EQ(w, h);
        sizes.insert(w);
    }
    EXPECT_EQ((std::set<int>{16, 32, 48}), sizes);
}

TEST_P(ProgramUi, WindowsHaveTheElementsTheDialogsFind)
{
    const Expectation& e = GetParam();
    Program program(e.path);
    ASSERT_TRUE(program.Loaded());
    for (const auto& window : e.windows) {
        SCOPED_TRACE(Narrow(window.first));
        pugi::xml_document doc;
        ASSERT_TRUE(program.Xml(doc, L"LAYOUT", window.first));
        std::multimap<std::wstring, std::wstring> tags;  // name (or #id) -> tag
        ForEachElement(program, doc.child(L"WUI").child(L"root"), [&](pugi::xml_node n) {
            if (*n.attribute(L"name").value()) tags.emplace(n.attribute(L"name").value(), n.name());
            std::wstring id = n.attribute(L"id").value();
            if (id == L"IDOK" || id == L"1") tags.emplace(L"#1", n.name());
            if (id == L"IDCANCEL" || id == L"2") tags.emplace(L"#2", n.name());
        });
        for (const std::wstring& wanted : window.second) {
            size_t eq = wanted.find(L'=');
            std::wstring name = wanted.substr(0, eq);
            EXPECT_EQ(1u, tags.count(name)) << Narrow(name);
            if (eq != std::wstring::npos && tags.count(name)) {
                EXPECT_EQ(wanted.substr(eq + 1), tags.find(name)->second) << Narrow(name);
            }
        }
    }
}

TEST_P(ProgramUi, SkinsAndStylesThatLayoutsNameExistAndFitTheirImages)
{
    const Expectation& e = GetParam();
    Program program(e.path);
    ASSERT_TRUE(program.Loaded());
    UiDefinition uidef(program);
    ASSERT_TRUE(uidef.Loaded());

    std::map<std::wstring, int> skinStates;  // name -> states
    auto addSkins = [&](pugi::xml_node table) {
        for (pugi::xml_node skin : table.children()) {
            std::wstring name = skin.attribute(L"name").value();
            SCOPED_TRACE(Narrow(name));
            auto src = SplitId(skin.attribute(L"src").value());
            int states = skin.attribute(L"states").as_int(_wcsicmp(skin.name(), L"vscrollbar") == 0 ? 3 : 1);
            Png png;
            ASSERT_TRUE(ReadPngSize(program.Bytes(src.first, src.second), &png)) << Narrow(src.second);
            EXPECT_EQ(0u, png.width % states) << "the image splits into whole cells";
            skinStates[name] = states;
        }
    };
    addSkins(uidef.Section(L"skin"));
    std::set<std::wstring> classes;
    for (pugi::xml_node c : uidef.Section(L"style").children(L"class")) classes.insert(c.attribute(L"name").value());

    std::vector<pugi::xml_node> named;  // nodes whose skin attributes must resolve
    for (pugi::xml_node c : uidef.Section(L"style").children()) named.push_back(c);
    for (pugi::xml_node c : uidef.Section(L"objattr").children()) named.push_back(c);
    std::list<pugi::xml_document> layouts;  // keeps the nodes above alive
    for (const std::wstring& name : program.Names(L"LAYOUT")) {
        pugi::xml_document& doc = layouts.emplace_back();
        ASSERT_TRUE(program.Xml(doc, L"LAYOUT", name));
        addSkins(doc.child(L"WUI").child(L"skin"));  // a window's own skins
        pugi::xml_node root = doc.child(L"WUI") ? doc.child(L"WUI").child(L"root") : doc.child(L"include");
        for (pugi::xpath_node n : root.select_nodes(L"descendant-or-self::*")) named.push_back(n.node());
    }
    std::map<std::wstring, std::wstring> elementSkin;  // element name -> skin
    for (pugi::xml_node n : named) {
        for (const wchar_t* attr : {L"skin", L"ncskin", L"sbSkin", L"bkgndSkin", L"posSkin", L"focusSkin"}) {
            std::wstring skin = n.attribute(attr).value();
            if (!skin.empty()) {
                EXPECT_TRUE(skinStates.count(skin)) << Narrow(attr) << "=" << Narrow(skin);
            }
        }
        std::wstring cls = n.attribute(L"class").value();
        if (!cls.empty() && _wcsicmp(n.name(), L"class") != 0) {
            EXPECT_TRUE(classes.count(cls)) << "class=" << Narrow(cls);
        }
        if (*n.attribute(L"name").value() && *n.attribute(L"skin").value())
            elementSkin[n.attribute(L"name").value()] = n.attribute(L"skin").value();
    }
    for (const std::wstring& name : e.languageImages) {
        ASSERT_TRUE(elementSkin.count(name)) << Narrow(name);
        EXPECT_GE(skinStates[elementSkin[name]], 2) << Narrow(name) << ": a state for each language";
    }
}

TEST_P(ProgramUi, BothLanguagesTranslateEveryText)
{
    const Expectation& e = GetParam();
    Program program(e.path);
    ASSERT_TRUE(program.Loaded());
    Table cn, en;
    std::wstring cnGuid, enGuid;
    ASSERT_TRUE(LoadTranslations(program, L"lang_cn", &cn, &cnGuid));
    ASSERT_TRUE(LoadTranslations(program, L"lang_en", &en, &enGuid));
    // The translator manager refuses a second table with the same GUID.
    EXPECT_EQ(38u, cnGuid.size());
    EXPECT_EQ(38u, enGuid.size());
    EXPECT_NE(Upper(cnGuid), Upper(enGuid));
    for (const auto& m : cn) EXPECT_TRUE(en.count(m.first)) << "only Chinese has " << Narrow(m.first.second);
    for (const auto& m : en) EXPECT_TRUE(cn.count(m.first)) << "only English has " << Narrow(m.first.second);

    UiDefinition uidef(program);
    std::map<std::wstring, std::wstring> strings;
    for (pugi::xml_node s : uidef.Section(L"string").children()) strings[s.name()] = s.attribute(L"value").value();
    auto resolve = [&](std::wstring text) {
        if (text.rfind(L"@string/", 0) == 0) text = strings[text.substr(8)];
        return text;
    };
    std::vector<std::pair<std::wstring, std::wstring>> texts = e.codeTexts;
    for (const std::wstring& name : program.Names(L"LAYOUT")) {
        pugi::xml_document doc;
        ASSERT_TRUE(program.Xml(doc, L"LAYOUT", name));
        pugi::xml_node wui = doc.child(L"WUI");
        std::wstring context = resolve(wui.attribute(L"trCtx").value());
        if (wui.attribute(L"title")) texts.emplace_back(context, resolve(wui.attribute(L"title").value()));
        pugi::xml_node root = wui ? wui.child(L"root") : doc.child(L"include");
        for (pugi::xpath_node n : root.select_nodes(L"descendant-or-self::*")) {
            std::wstring text = Trim(n.node().child_value());
            if (!text.empty()) texts.emplace_back(context, resolve(text));
        }
    }
    for (const auto& text : texts) {
        SCOPED_TRACE(Narrow(text.first) + ":" + Narrow(text.second));
        EXPECT_TRUE(Translates(cn, text.first, text.second));
        EXPECT_TRUE(Translates(en, text.first, text.second));
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramUi, testing::ValuesIn(kExpectations),
                         [](const testing::TestParamInfo<Expectation>& info) {
                             std::wstring path = info.param.path;
                             std::wstring file = path.substr(path.find_last_of(L"/\\") + 1);
                             return Narrow(file.substr(0, file.find(L'.')));
                         });

}  // namespace
