// Where the program's UTF-8 text meets Windows: the wide ("W") functions and COM's BSTRs take
// UTF-16. Every call into Windows converts through these.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <string>

// The wide form of UTF-8 text (a null text gives an empty one).
std::wstring Wide(const char* text);

// The UTF-8 form of wide text (length in wide characters, or -1 for a terminated text).
std::string Utf8Of(const wchar_t* text, int length = -1);

// Converts wide text into dst (size bytes, terminator included), cut between characters when
// it does not fit. Returns true when the whole text fit.
bool WideToUtf8(char* dst, std::size_t size, const wchar_t* text);

// Converts UTF-8 text into dst (count wide characters, terminator included) without taking
// memory from the heap, for code that runs while the process may be broken. False, leaving dst
// empty, when it does not fit.
bool Utf8ToWideBuffer(wchar_t* dst, std::size_t count, const char* text);

// A new BSTR holding the whole text, to be held in a CBstr. Null only when memory runs
// out.
BSTR Utf8ToBstr(const char* text);

// New UTF-8 text (free with delete[]) made from a BSTR, or null for a null BSTR. An empty BSTR
// gives an allocation holding only the terminator.
char* BstrToUtf8(BSTR text);

// The system's arrow cursor (32512 is IDC_ARROW, whose macro follows the narrow or wide build).
// The system shares one handle of it for the whole process, so it is looked up once: each
// lookup asks the window system about the displays again.
inline HCURSOR ArrowCursor() {
    static const HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    return arrow;
}
