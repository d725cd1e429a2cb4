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
                               L"spinButton", L"calendar", L"richedit", L"edit"}) {
        SCOPED_TRACE(testing::Message() << tag);
        EXPECT_TRUE(mgr.HasFactory(tag));
    }
    EXPECT_STREQ(L"div", mgr.BaseClassNameFromClassName(L"scrollview"));
    EXPECT_STREQ(L"div", mgr.BaseClassNameFromClassName(L"richedit"));
    EXPECT_STREQ(L"richedit", mgr.BaseClassNameFromClassName(L"edit"));
    EXPECT_FALSE(mgr.HasFactory(L"Button"));
}

}  // namespace
