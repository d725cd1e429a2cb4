// The launcher-updater's process-wide command-line table. Used from one
// thread only.
#pragma once

// Replaces the table with the arguments of text (at most 4095 characters;
// "@file" names expand to the file's contents, a missing file to nothing).
void CmdLineParse(const char* text);
// Joins argc/argv with blanks (at most 2047 characters) and parses that.
void CmdLineParseArgv(int argc, char** argv);
// Replaces the arguments with those of text: blanks separate them, a quote
// opens one that runs to the next quote (quotes dropped); at most 256 are
// kept. The first is the program path. The joined text is left as it is.
void CmdLineSplit(const char* text);
// The argument after the first one equal to name (letter case ignored); an
// empty text when name is absent, last, or followed by an option ("-", "+").
const char* CmdLineGetValue(const char* name);
int CmdLineGetInt(const char* name, int fallback);
double CmdLineGetFloat(const char* name, double fallback);
// Number of arguments, the program path included.
int CmdLineGetArgCount();
// The argument at index 1 .. count - 1 (0 is the program path); an empty
// text for any other index.
const char* CmdLineGetArg(int index);
// Index of the first argument after the program path equal to name (letter
// case ignored), as CmdLineGetArg takes it; 0 when there is none.
int CmdLineFindArg(const char* name);
// True when an argument after the program path equals name; *value (when
// value is not null) is then the argument after it, whatever it begins
// with, or an empty text when name is last. A text stays valid until the
// table changes.
bool CmdLineFindOption(const char* name, const char** value);
// The text the arguments were split from, response files expanded. Options
// set or removed later are not in it.
const char* CmdLineGetText();
// Drops the arguments; the joined text stays.
void CmdLineClearArgs();
// Appends name and, unless value is null or empty, value (an empty table
// first gets an empty program path). False, with nothing added, for an
// empty name, a value that begins with "-" or "+" (it would read back as
// no value), a text over 4095 characters, or when the 256 arguments would
// be passed.
bool CmdLineAddOption(const char* name, const char* value);
// Removes every argument after the program path equal to name, each with
// its value (the argument after it unless that begins with "-" or "+").
// False when there was none.
bool CmdLineRemoveOption(const char* name);
// Gives the first name the value (null or empty: no value), or appends the
// option when name is absent. False, with nothing changed, as for
// CmdLineAddOption.
bool CmdLineSetOption(const char* name, const char* value);
// CmdLineSetOption with the value in decimal; a negative value is refused,
// as it would read back as an option.
bool CmdLineSetOptionInt(const char* name, int value);
void CmdLineFree();
