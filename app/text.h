// Bounded text helpers. Every text the program holds is a buffer of TEXT_MAX characters
// (terminator included); these helpers never write past the buffer and report when a text
// did not fit.
#pragma once

#include <cstddef>

constexpr std::size_t TEXT_MAX = 300;

// Copies src into dst (size bytes, terminator included). Returns true when the whole text fit;
// otherwise dst holds the text cut to size - 1 characters and the result is false.
bool CopyText(char* dst, std::size_t size, const char* src);

// Formats like snprintf into dst. Returns true when the whole result fit.
bool FormatText(char* dst, std::size_t size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// Joins a directory and a name with a backslash ("%s\\%s"), the way relative file names are
// resolved against the working directory. Returns false, leaving dst empty, when the joined
// path does not fit.
bool JoinPath(char* dst, std::size_t size, const char* dir, const char* name);

// Case-insensitive comparison of ASCII letters, as the configuration's codes are compared.
bool EqualsNoCase(const char* a, const char* b);
