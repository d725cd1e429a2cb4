#pragma once
// File and path helpers shared by the image objects.
#include <windows.h>

#include <vector>

namespace WUI {

namespace ImgFiles {
// False when the ANSI path does not fit MAX_PATH wide characters.
bool AnsiToWidePath(LPCSTR path, wchar_t (&out)[MAX_PATH]);
// Whole file into memory; false when it cannot be read or exceeds the image byte cap.
bool ReadAll(LPCWSTR path, std::vector<BYTE>* out);
}  // namespace ImgFiles

}  // namespace WUI
