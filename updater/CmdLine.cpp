#include "CmdLine.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
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

const char* CmdLineGetValue(const char* name)
{
    const std::vector<std::string>& args = Table().args;
    for (size_t i = 0; i < args.size(); ++i) {
        if (!EqualNoCase(args[i], name))
            continue;
        if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1][0] == '-' || args[i + 1][0] == '+')
            return "";
        return args[i + 1].c_str();
    }
    return "";
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

const char* CmdLineGetText() { return Table().text.c_str(); }

void CmdLineFree()
{
    Table().args.clear();
    Table().text.clear();
}
