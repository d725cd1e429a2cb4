// The launcher-updater's process-wide command-line table. Used from one
// thread only.
#pragma once

// Replaces the table with the arguments of text (at most 4095 characters;
// "@file" names expand to the file's contents, a missing file to nothing).
void CmdLineParse(const char* text);
// Joins argc/argv with blanks (at most 2047 characters) and parses that.
void CmdLineParseArgv(int argc, char** argv);
// The argument after the first one equal to name (letter case ignored); an
// empty text when name is absent, last, or followed by an option ("-", "+").
const char* CmdLineGetValue(const char* name);
int CmdLineGetInt(const char* name, int fallback);
double CmdLineGetFloat(const char* name, double fallback);
// Number of arguments, the program path included.
int CmdLineGetArgCount();
// The text the arguments were split from, response files expanded.
const char* CmdLineGetText();
void CmdLineFree();
