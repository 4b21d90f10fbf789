// Conversions between the program's narrow (ANSI code page) text and COM's wide strings.
#pragma once

#include <windows.h>
#include <oleauto.h>

// A new BSTR holding the whole text converted from the ANSI code page; free it with
// SysFreeString. Null only when memory runs out.
BSTR AnsiToBstr(const char* text);

// New narrow text (free with delete[]) made from a BSTR, or null for a null BSTR or a failed
// conversion. An empty BSTR gives an allocation holding only the terminator.
char* BstrToAnsi(BSTR text);
