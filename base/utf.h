// The program holds its text in UTF-8; Windows' wide functions and COM take UTF-16. Every
// conversion between the two goes through these functions, and UTF-8 text is only ever cut
// between characters.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The UTF-16 form of UTF-8 text. A byte that does not belong to a well-formed sequence (a
// stray continuation byte, a sequence cut short, an overlong or surrogate form) becomes U+FFFD.
std::u16string Utf8ToUtf16(const char* text, std::size_t length);
std::u16string Utf8ToUtf16(const char* text);

// The UTF-8 form of UTF-16 text; half of a surrogate pair becomes U+FFFD. When exact is given,
// it tells whether no such replacement was made.
std::string Utf16ToUtf8(const char16_t* text, std::size_t length, bool* exact = nullptr);

// The length of the longest start of the text (length bytes) that has at most limit bytes and
// ends between two characters. Text that is not UTF-8 where it would be cut is cut at limit.
std::size_t Utf8FitLength(const char* text, std::size_t length, std::size_t limit);

// Whether the bytes are well-formed UTF-8 and hold at least one character beyond ASCII.
bool IsUtf8BeyondAscii(const char* text, std::size_t length);

// std::fopen for a path held in UTF-8: on Windows the path goes to the wide file functions,
// so that a path with any characters opens.
std::FILE* OpenFileUtf8(const char* path, const char* mode);
