#include <gtest/gtest.h>

#include <string>

#include "CmdLine.h"
#include "TestRelease.h"

TEST(CmdLine, ReadsValues)
{
    struct Case { const char* text; const char* appPath; const char* updateUrl; };
    const Case cases[] = {
        {"\"C:\\Orvo\\OrvoMain.exe\" --appPath C:\\Games --updateUrl http://h/u.ini", "C:\\Games", "http://h/u.ini"},
        {"OrvoMain.exe --APPPATH \"C:\\My Games\\Orvo\" --updateurl x", "C:\\My Games\\Orvo", "x"},
        {"OrvoMain.exe --appPath -x --updateUrl", "", ""},
        {"OrvoMain.exe --appPath +y", "", ""},
        {"OrvoMain.exe", "", ""},
        {"OrvoMain.exe --appPath a --appPath b", "a", ""},
        {"  OrvoMain.exe\t--appPath\t\"tab\tbed\"  ", "tab\tbed", ""},
        {"OrvoMain.exe --appPath \"unclosed quote", "unclosed quote", ""},
    };
    for (const Case& c : cases) {
        CmdLineParse(c.text);
        EXPECT_STREQ(CmdLineGetValue("--appPath"), c.appPath) << c.text;
        EXPECT_STREQ(CmdLineGetValue("--updateUrl"), c.updateUrl) << c.text;
    }
    CmdLineParse("p --n 42 --f 2.5");
    EXPECT_EQ(CmdLineGetInt("--n", 7), 42);
    EXPECT_EQ(CmdLineGetInt("--missing", 7), 7);
    EXPECT_DOUBLE_EQ(CmdLineGetFloat("--f", 0), 2.5);
    CmdLineFree();
    EXPECT_EQ(CmdLineGetArgCount(), 0);
}

TEST(CmdLine, ExpandsResponseFiles)
{
    WriteFileBytes("resp one.txt", "--appPath \"C:\\With Space\"\n--updateUrl http://h/r.ini\n");
    WriteFileBytes("resp2.txt", "--appPath D:\\Two");
    struct Case { const char* text; const char* appPath; const char* updateUrl; };
    const Case cases[] = {
        {"prog \"@resp one.txt\"", "C:\\With Space", "http://h/r.ini"},
        {"prog @resp2.txt --updateUrl u", "D:\\Two", "u"},
        {"@resp2.txt", "D:\\Two", ""},
        {"prog @missing.txt --appPath E:\\x", "E:\\x", ""},
        {"prog --appPath a@resp2.txt", "a@resp2.txt", ""},
        {"prog \"--appPath @resp2.txt\"", "", ""},
    };
    for (const Case& c : cases) {
        CmdLineParse(c.text);
        EXPECT_STREQ(CmdLineGetValue("--appPath"), c.appPath) << c.text << " -> " << CmdLineGetText();
        EXPECT_STREQ(CmdLineGetValue("--updateUrl"), c.updateUrl) << c.text << " -> " << CmdLineGetText();
    }
    CmdLineFree();
}

TEST(CmdLine, BoundsTextAndArguments)
{
    std::string many = "prog";
    for (int i = 0; i < 300; ++i)
        many += " a" + std::to_string(i);
    many += " --appPath late";
    CmdLineParse(many.c_str());
    EXPECT_EQ(CmdLineGetArgCount(), 256);
    EXPECT_STREQ(CmdLineGetValue("--appPath"), "");

    WriteFileBytes("resp_big.txt", std::string(5000, 'z'));
    CmdLineParse("prog @resp_big.txt --appPath x");
    EXPECT_EQ(std::string(CmdLineGetText()).size(), 4095u);
    CmdLineFree();
}
