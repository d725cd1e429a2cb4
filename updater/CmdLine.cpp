#include "CmdLine.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const size_t kMaxText = 4095;
const size_t kMaxArgs = 256;
const size_t kMaxResponseName = 259;

struct CmdLineTable
{
    std::string text;
    std::vector<std::string> args;
};

CmdLineTable& Table()
{
    static CmdLineTable table;
    return table;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void AppendBounded(std::string& out, char c)
{
    if (out.size() < kMaxText)
        out += c;
}

void AppendResponseFile(std::string& out, const std::string& name)
{
    FILE* file = fopen(name.c_str(), "r");
    if (!file)
        return;
    int c;
    while (out.size() < kMaxText && (c = fgetc(file)) != EOF)
        out += c == '\n' ? ' ' : char(c);
    fclose(file);
    AppendBounded(out, ' ');
}

// Copies text, replacing each "@name" that starts an argument by the file's
// contents.
std::string ExpandResponseFiles(const char* text)
{
    std::string out;
    bool quoted = false;
    size_t openedAt = std::string::npos;  // index in text of the quote that opened
    for (size_t i = 0; text[i] && out.size() < kMaxText; ++i) {
        char c = text[i];
        char prev = i ? text[i - 1] : 0;
        bool afterOpen = quoted && openedAt + 1 == i;
        bool starts = i == 0 || (!quoted && IsBlank(prev)) || afterOpen;
        if (c == '@' && starts) {
            size_t end = i + 1;
            while (text[end] && (afterOpen ? text[end] != '"' : !IsBlank(text[end])))
                ++end;
            std::string name(text + i + 1, end - i - 1);
            if (!name.empty() && name.size() <= kMaxResponseName) {
                if (afterOpen) {
                    // The quotes only held the name together.
                    out.pop_back();
                    quoted = false;
                    if (text[end] == '"')
                        ++end;
                }
                AppendResponseFile(out, name);
                i = end - 1;
                continue;
            }
        }
        if (c == '"' && prev != '/' && prev != '\\') {
            quoted = !quoted;
            openedAt = quoted ? i : std::string::npos;
        }
        out += c;
    }
    return out;
}

void Split(const std::string& text, std::vector<std::string>& args)
{
    size_t i = 0;
    while (args.size() < kMaxArgs) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (i >= text.size())
            return;
        size_t end;
        if (text[i] == '"') {
            end = text.find('"', i + 1);
            if (end == std::string::npos)
                end = text.size();
            args.push_back(text.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            end = i;
            while (end < text.size() && !IsBlank(text[end]))
                ++end;
            args.push_back(text.substr(i, end - i));
            i = end;
        }
    }
}

bool EqualNoCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    return i == a.size() && !b[i];
}

const size_t kNone = size_t(-1);

// Index of the first argument from `from` on equal to name; kNone when none.
size_t IndexOf(const char* name, size_t from)
{
    const std::vector<std::string>& args = Table().args;
    if (!name)
        return kNone;
    for (size_t i = from; i < args.size(); ++i)
        if (EqualNoCase(args[i], name))
            return i;
    return kNone;
}

bool IsOption(const std::string& arg) { return !arg.empty() && (arg[0] == '-' || arg[0] == '+'); }

// True when the argument at i is there and is a value, not another option.
bool IsValueAt(size_t i)
{
    const std::vector<std::string>& args = Table().args;
    return i < args.size() && !IsOption(args[i]);
}

bool IsEmpty(const char* text) { return !text || !*text; }

// What an added option must be: a name, and a value that reads back as one.
bool CanAdd(const char* name, const char* value)
{
    if (IsEmpty(name) || strlen(name) > kMaxText)
        return false;
    return IsEmpty(value) || (strlen(value) <= kMaxText && !IsOption(value));
}

// Room for `more` arguments, counting the program path an empty table gets.
bool HasRoom(size_t more)
{
    const std::vector<std::string>& args = Table().args;
    return (args.empty() ? 1 : args.size()) + more <= kMaxArgs;
}

} // namespace

void CmdLineParse(const char* text)
{
    CmdLineFree();
    CmdLineTable& table = Table();
    table.text = ExpandResponseFiles(text ? text : "");
    Split(table.text, table.args);
}

void CmdLineParseArgv(int argc, char** argv)
{
    std::string joined;
    for (int i = 0; i < argc; ++i) {
        std::string next = (i ? " " : "") + std::string(argv[i]);
        if (joined.size() + next.size() > 2047)
            break;
        joined += next;
    }
    CmdLineParse(joined.c_str());
}

void CmdLineSplit(const char* text)
{
    Table().args.clear();
    Split(text ? text : "", Table().args);
}

const char* CmdLineGetValue(const char* name)
{
    size_t i = IndexOf(name, 0);
    if (i == kNone || !IsValueAt(i + 1))
        return "";
    return Table().args[i + 1].c_str();
}

int CmdLineGetInt(const char* name, int fallback)
{
    const char* value = CmdLineGetValue(name);
    return *value ? atoi(value) : fallback;
}

double CmdLineGetFloat(const char* name, double fallback)
{
    const char* value = CmdLineGetValue(name);
    return *value ? atof(value) : fallback;
}

int CmdLineGetArgCount() { return int(Table().args.size()); }

const char* CmdLineGetArg(int index)
{
    const std::vector<std::string>& args = Table().args;
    return index >= 1 && size_t(index) < args.size() ? args[index].c_str() : "";
}

int CmdLineFindArg(const char* name)
{
    size_t i = IndexOf(name, 1);
    return i == kNone ? 0 : int(i);
}

bool CmdLineFindOption(const char* name, const char** value)
{
    size_t i = IndexOf(name, 1);
    if (i == kNone)
        return false;
    if (value)
        *value = CmdLineGetArg(int(i + 1));
    return true;
}

const char* CmdLineGetText() { return Table().text.c_str(); }

void CmdLineClearArgs() { Table().args.clear(); }

bool CmdLineAddOption(const char* name, const char* value)
{
    if (!CanAdd(name, value) || !HasRoom(IsEmpty(value) ? 1 : 2))
        return false;
    std::vector<std::string>& args = Table().args;
    if (args.empty())
        args.emplace_back();
    args.emplace_back(name);
    if (!IsEmpty(value))
        args.emplace_back(value);
    return true;
}

bool CmdLineRemoveOption(const char* name)
{
    std::vector<std::string>& args = Table().args;
    bool removed = false;
    for (size_t i = IndexOf(name, 1); i != kNone; i = IndexOf(name, i)) {
        size_t end = IsValueAt(i + 1) ? i + 2 : i + 1;
        args.erase(args.begin() + i, args.begin() + end);
        removed = true;
    }
    return removed;
}

bool CmdLineSetOption(const char* name, const char* value)
{
    size_t i = IndexOf(name, 1);
    if (i == kNone)
        return CmdLineAddOption(name, value);
    if (!CanAdd(name, value))
        return false;
    std::vector<std::string>& args = Table().args;
    const bool hasValue = IsValueAt(i + 1);
    if (IsEmpty(value)) {
        if (hasValue)
            args.erase(args.begin() + i + 1);
    } else if (hasValue) {
        args[i + 1] = value;
    } else {
        if (!HasRoom(1))
            return false;
        args.insert(args.begin() + i + 1, value);
    }
    return true;
}

bool CmdLineSetOptionInt(const char* name, int value)
{
    if (value < 0)
        return false;
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    return CmdLineSetOption(name, text);
}

void CmdLineFree()
{
    Table().args.clear();
    Table().text.clear();
}
