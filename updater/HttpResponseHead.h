// Reading the head of an HTTP/1.1 response: status, length and location.
#pragma once
#include <string>

// The head never grows past this; a longer one is a failed response.
const int kMaxResponseHead = 8 * 1024;

// Index just past the blank line that ends the head in data[0..length), or -1
// while it has not arrived.
int FindHeadEnd(const char* data, int length);

// The status of a well-formed status line, "HTTP/1.x NNN" followed by a blank
// or the line's end; 0 for any other line.
int ParseStatusCode(const char* head, int length);

// The value of the header named name (matched at the start of a line, letter
// case ignored), blanks trimmed; false when the head has no such line.
bool FindHeaderValue(const char* head, int length, const char* name, std::string& value);

// The announced body length: -3 when the head has no length header or its
// value is not a plain decimal number in 0..maxLength.
long long GetContentLength(const char* head, int length, long long maxLength);

// True when text (NUL-terminated) starts with a well-formed status line of
// status 200; a 200 elsewhere in the text (a length, a path) does not count.
// False for a null text.
bool IsHttpOk(const char* text);
