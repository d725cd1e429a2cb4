#include "itemviews/FrameworkTags.h"

#include "LeakCheck.h"
#include "core/SWindowFactoryMgr.h"

#include <gtest/gtest.h>

namespace {

using namespace WUI;

class FrameworkTags : public LeakChecked {};

TEST_F(FrameworkTags, EveryFamilyReachesANewTable)
{
    ASSERT_TRUE(AddFrameworkTags());
    EXPECT_TRUE(AddFrameworkTags());  // a second call adds nothing new
    SWindowFactoryMgr mgr;
    mgr.RegisterStandardFactories();
    // One tag of each family the programs' layouts or the framework use.
    for (const wchar_t* tag : {L"window", L"text", L"imgbtn", L"img", L"check", L"progress", L"link",
                               L"div", L"scrollview", L"scrollbar", L"caption", L"realwnd", L"hotkey",
                               L"spinButton", L"calendar", L"richedit", L"edit", L"listbox", L"listview",
                               L"header", L"listctrl", L"mclistview", L"tileview", L"combobox", L"comboview",
                               L"sliderbar", L"splitwnd", L"splitcol", L"splitrow", L"pane", L"activex",
                               L"flash", L"mediaplayer", L"tabctrl", L"page", L"treectrl", L"treeview"}) {
        SCOPED_TRACE(testing::Message() << tag);
        EXPECT_TRUE(mgr.HasFactory(tag));
    }
    EXPECT_STREQ(L"div", mgr.BaseClassNameFromClassName(L"scrollview"));
    EXPECT_STREQ(L"div", mgr.BaseClassNameFromClassName(L"richedit"));
    EXPECT_STREQ(L"richedit", mgr.BaseClassNameFromClassName(L"edit"));
    EXPECT_STREQ(L"scrollview", mgr.BaseClassNameFromClassName(L"listbox"));
    EXPECT_STREQ(L"div", mgr.BaseClassNameFromClassName(L"listview"));
    EXPECT_STREQ(L"div", mgr.BaseClassNameFromClassName(L"listctrl"));
    EXPECT_STREQ(L"div", mgr.BaseClassNameFromClassName(L"tileview"));
    EXPECT_STREQ(L"combobase", mgr.BaseClassNameFromClassName(L"combobox"));
    EXPECT_STREQ(L"combobase", mgr.BaseClassNameFromClassName(L"comboview"));
    EXPECT_STREQ(L"progress", mgr.BaseClassNameFromClassName(L"sliderbar"));
    EXPECT_STREQ(L"splitwnd", mgr.BaseClassNameFromClassName(L"splitrow"));
    EXPECT_STREQ(L"activex", mgr.BaseClassNameFromClassName(L"mediaplayer"));
    EXPECT_STREQ(L"window", mgr.BaseClassNameFromClassName(L"tabctrl"));
    EXPECT_STREQ(L"scrollview", mgr.BaseClassNameFromClassName(L"treectrl"));
    EXPECT_STREQ(L"div", mgr.BaseClassNameFromClassName(L"treeview"));
    EXPECT_FALSE(mgr.HasFactory(L"Button"));
}

}  // namespace
