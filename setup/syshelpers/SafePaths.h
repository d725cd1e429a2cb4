// Checks that keep removal and file writing inside the folders they are meant for.
#pragma once

#include <windows.h>

#include <string>

// Full form of an absolute folder path: "/" turned into "\", "." and ".."
// resolved, short names expanded where the folder exists, no trailing "\"
// except after a drive root. Empty when the path is empty, relative or
// cannot be resolved.
std::wstring NormalizeFolder(const std::wstring& path);

// True for a path that must never be removed as a whole: an empty or
// relative path, a drive or share root, and any folder that is or holds one
// of the system's special folders (Windows, Program Files, the users'
// profiles, desktops, documents, start menus, application data).
bool IsProtectedFolder(const std::wstring& path);

// True for a single file or folder name: not empty, not "." or "..", and
// without "\", "/", ":", control characters or the wildcards and other
// characters a file name cannot hold ("*?\"<>|").
bool IsPlainName(const std::wstring& name);

// True for a file name that Windows opens as a device in whatever folder it
// stands: "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "COM1" to "COM9",
// "LPT1" to "LPT9" and the superscript forms "COM\u00b9" to "COM\u00b3" and
// "LPT\u00b9" to "LPT\u00b3", in any letter case, also with an extension and
// with blanks before it ("nul .txt").
bool IsDeviceName(const std::wstring& name);

// Folder of the given module's executable file (no trailing "\"); empty
// when it cannot be read.
std::wstring GetModuleFolder(HMODULE module);
