#include <gtest/gtest.h>

#include <functional>
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

namespace {

// The arguments after the program path, joined by blanks.
std::string ArgsAfterProgram()
{
    std::string joined;
    for (int i = 1; i < CmdLineGetArgCount(); ++i)
        joined += (i > 1 ? " " : "") + std::string(CmdLineGetArg(i));
    return joined;
}

} // namespace

TEST(CmdLine, FindsArgumentsByNameAndIndex)
{
    CmdLineParse("prog --appPath C:\\Games --flag -v \"two words\" --APPPATH again");
    ASSERT_EQ(CmdLineGetArgCount(), 8);
    struct IndexCase { int index; const char* arg; };
    const IndexCase byIndex[] = {
        {-1, ""}, {0, ""}, {1, "--appPath"}, {2, "C:\\Games"}, {5, "two words"}, {7, "again"}, {8, ""}, {1000, ""},
    };
    for (const IndexCase& c : byIndex)
        EXPECT_STREQ(CmdLineGetArg(c.index), c.arg) << c.index;

    struct NameCase { const char* name; int index; bool found; const char* value; };
    const NameCase byName[] = {
        {"--apppath", 1, true, "C:\\Games"},  // the first, letter case ignored
        {"C:\\Games", 2, true, "--flag"},
        {"--flag", 3, true, "-v"},            // the next argument, whatever it begins with
        {"-V", 4, true, "two words"},
        {"again", 7, true, ""},               // last: no value
        {"prog", 0, false, nullptr},          // the program path is not an argument
        {"--missing", 0, false, nullptr},
        {"", 0, false, nullptr},
        {nullptr, 0, false, nullptr},
    };
    for (const NameCase& c : byName) {
        const char* name = c.name ? c.name : "(null)";
        EXPECT_EQ(CmdLineFindArg(c.name), c.index) << name;
        const char* value = "untouched";
        EXPECT_EQ(CmdLineFindOption(c.name, &value), c.found) << name;
        EXPECT_STREQ(value, c.found ? c.value : "untouched") << name;
    }
    EXPECT_TRUE(CmdLineFindOption("--flag", nullptr));
    EXPECT_STREQ(CmdLineGetValue("--flag"), "");

    // Splitting alone replaces the arguments, expands no response file and
    // keeps the text they were parsed from.
    CmdLineSplit("other @resp2.txt \"x y\"");
    EXPECT_EQ(CmdLineGetArgCount(), 3);
    EXPECT_EQ(ArgsAfterProgram(), "@resp2.txt x y");
    EXPECT_STREQ(CmdLineGetText(), "prog --appPath C:\\Games --flag -v \"two words\" --APPPATH again");
    CmdLineSplit(nullptr);
    EXPECT_EQ(CmdLineGetArgCount(), 0);
    CmdLineFree();
}

TEST(CmdLine, OptionsAreAddedSetAndRemoved)
{
    CmdLineParse("prog --mode fast --keep");
    struct Step { std::function<bool()> call; bool result; const char* args; };
    const Step steps[] = {
        {[] { return CmdLineSetOption("--MODE", "slow"); }, true, "--mode slow --keep"},
        {[] { return CmdLineSetOption("--keep", "x"); }, true, "--mode slow --keep x"},
        {[] { return CmdLineSetOption("--new", "v w"); }, true, "--mode slow --keep x --new v w"},
        {[] { return CmdLineSetOptionInt("--port", 8080); }, true, "--mode slow --keep x --new v w --port 8080"},
        {[] { return CmdLineSetOptionInt("--port", 0); }, true, "--mode slow --keep x --new v w --port 0"},
        // Values that would read back as an option are refused.
        {[] { return CmdLineSetOptionInt("--port", -1); }, false, "--mode slow --keep x --new v w --port 0"},
        {[] { return CmdLineSetOption("--keep", "+z"); }, false, "--mode slow --keep x --new v w --port 0"},
        {[] { return CmdLineAddOption("--x", "-y"); }, false, "--mode slow --keep x --new v w --port 0"},
        {[] { return CmdLineAddOption("", "v"); }, false, "--mode slow --keep x --new v w --port 0"},
        {[] { return CmdLineAddOption(nullptr, nullptr); }, false, "--mode slow --keep x --new v w --port 0"},
        {[] { return CmdLineSetOption("--mode", ""); }, true, "--mode --keep x --new v w --port 0"},
        {[] { return CmdLineAddOption("--mode", "again"); }, true, "--mode --keep x --new v w --port 0 --mode again"},
        {[] { return CmdLineAddOption("--solo", nullptr); }, true, "--mode --keep x --new v w --port 0 --mode again --solo"},
        // Every occurrence goes, each with its value.
        {[] { return CmdLineRemoveOption("--Mode"); }, true, "--keep x --new v w --port 0 --solo"},
        {[] { return CmdLineRemoveOption("--mode"); }, false, "--keep x --new v w --port 0 --solo"},
        {[] { return CmdLineRemoveOption("prog"); }, false, "--keep x --new v w --port 0 --solo"},
        {[] { return CmdLineRemoveOption("--solo"); }, true, "--keep x --new v w --port 0"},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(s.call(), s.result) << s.args;
        EXPECT_EQ(ArgsAfterProgram(), s.args);
    }
    EXPECT_STREQ(CmdLineGetValue("--new"), "v w");
    EXPECT_EQ(CmdLineGetInt("--port", 7), 0);

    // Clearing drops the arguments, not the text; an empty table gets an
    // empty program path before its first option.
    CmdLineClearArgs();
    EXPECT_EQ(CmdLineGetArgCount(), 0);
    EXPECT_STREQ(CmdLineGetText(), "prog --mode fast --keep");
    EXPECT_TRUE(CmdLineSetOptionInt("--retries", 3));
    EXPECT_EQ(CmdLineGetArgCount(), 3);
    EXPECT_EQ(CmdLineFindArg("--retries"), 1);
    EXPECT_EQ(CmdLineGetInt("--retries", 0), 3);
    CmdLineFree();
}

TEST(CmdLine, AddedOptionsKeepTheBounds)
{
    std::string full = "prog";
    for (int i = 1; i < 255; ++i)
        full += " a" + std::to_string(i);
    CmdLineParse(full.c_str());
    ASSERT_EQ(CmdLineGetArgCount(), 255);
    EXPECT_FALSE(CmdLineAddOption("--two", "slots"));  // the 257th
    EXPECT_FALSE(CmdLineSetOption("--two", "slots"));
    EXPECT_TRUE(CmdLineAddOption("--one", nullptr));
    EXPECT_EQ(CmdLineGetArgCount(), 256);
    EXPECT_FALSE(CmdLineAddOption("--more", nullptr));
    EXPECT_FALSE(CmdLineSetOption("--one", "v"));
    EXPECT_EQ(CmdLineGetArgCount(), 256);
    EXPECT_STREQ(CmdLineGetArg(255), "--one");
    EXPECT_TRUE(CmdLineRemoveOption("--one"));
    EXPECT_EQ(CmdLineGetArgCount(), 255);

    CmdLineParse("prog");
    EXPECT_TRUE(CmdLineAddOption("--long", std::string(4095, 'v').c_str()));
    EXPECT_FALSE(CmdLineAddOption("--longer", std::string(4096, 'v').c_str()));
    EXPECT_FALSE(CmdLineSetOption(std::string(4096, 'n').c_str(), "v"));
    EXPECT_EQ(CmdLineGetArgCount(), 3);
    CmdLineFree();
}
