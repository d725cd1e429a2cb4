// Element classes standing in for controls in the core's tests: each has the
// tag and base tag of a standard control, and nothing else.
#pragma once

#include "core/SWindow.h"
#include "core/SWindowFactoryMgr.h"

namespace elemtest {

#define ELEMTEST_CLASS(cls, base, tag)          \
    class cls : public base {                   \
        WUI_SWINDOW_CLASS(cls, base, tag)       \
    };
ELEMTEST_CLASS(TestDiv, WUI::SWindow, L"div")
ELEMTEST_CLASS(TestText, WUI::SWindow, L"text")
ELEMTEST_CLASS(TestButton, WUI::SWindow, L"button")
ELEMTEST_CLASS(TestImgBtn, TestButton, L"imgbtn")
ELEMTEST_CLASS(TestRichEdit, TestDiv, L"richedit")
ELEMTEST_CLASS(TestEdit, TestRichEdit, L"edit")
ELEMTEST_CLASS(TestComboBase, WUI::SWindow, L"combobase")
ELEMTEST_CLASS(TestComboBox, TestComboBase, L"combobox")
#undef ELEMTEST_CLASS

// Registers the classes above ("combobase" has no factory, as in the framework).
inline void RegisterTestElements(WUI::SWindowFactoryMgr& mgr)
{
    mgr.RegisterFactory<TestDiv>();
    mgr.RegisterFactory<TestText>();
    mgr.RegisterFactory<TestButton>();
    mgr.RegisterFactory<TestImgBtn>();
    mgr.RegisterFactory<TestRichEdit>();
    mgr.RegisterFactory<TestEdit>();
    mgr.RegisterFactory<TestComboBox>();
}

}  // namespace elemtest
