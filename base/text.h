// Bounded text helpers. Every text the program holds is UTF-8 in a buffer of TEXT_MAX bytes
// (terminator included): up to 899 bytes, which is 899 ASCII characters and at least 299
// characters of any script (a character of the 16-bit range takes at most 3 bytes, one beyond
// it 4 bytes and two wide characters), so every text of 299 characters in any code page
// still fits. These helpers never write past the buffer, cut a text only between characters,
// and report when a text did not fit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr std::size_t TEXT_MAX = 900;

// The value of a character of text: a char as unsigned, wider characters as they are.
constexpr std::uint32_t CharValue(char c) {
    return static_cast<unsigned char>(c);
}
constexpr std::uint32_t CharValue(char16_t c) {
    return c;
}

// Copies src into dst (size bytes, terminator included). Returns true when the whole text fit;
// otherwise dst holds as many whole characters as fit in size - 1 bytes and the result is
// false.
bool CopyText(char* dst, std::size_t size, const char* src);

// Formats like snprintf into dst. Returns true when the whole result fit; a result that did not
// is cut between characters.
bool FormatText(char* dst, std::size_t size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// Joins a directory and a name with a backslash ("%s\\%s"), the way relative file names are
// resolved against the working directory. Returns false, leaving dst empty, when the joined
// path does not fit.
bool JoinPath(char* dst, std::size_t size, const char* dir, const char* name);

// The one ASCII case fold of the program: A to Z become a to z, every other byte stays. Names,
// codes, kinds of files and addresses are all compared through it.
char FoldAscii(char c);

// Case-insensitive comparison of ASCII letters, as the configuration's codes are compared.
bool EqualsNoCase(const char* a, const char* b);
// Whether text begins with prefix, or contains needle, ASCII letters compared without regard
// to case.
bool StartsWithNoCase(const char* text, const char* prefix);
bool ContainsNoCase(const char* text, const char* needle);

// The blanks of the C library in its default locale: space, tab, line feed, vertical tab, form
// feed and carriage return.
constexpr bool IsCBlank(std::uint32_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
// Space and tab: the blanks between the words of a command line or the items of a list.
constexpr bool IsSpaceOrTab(std::uint32_t c) {
    return c == ' ' || c == '\t';
}

// The one trimming of the program: the text [begin, end) without the characters at its start
// (SkipBlanks) or its end (EndBeforeBlanks) that isBlank takes for blanks, or without both
// (TrimBlanks). Each kind of text has its own blanks; isBlank is called with its characters'
// values (a char as unsigned).
template <class Ch, class IsBlank>
const Ch* SkipBlanks(const Ch* begin, const Ch* end, IsBlank isBlank) {
    while (begin < end && isBlank(CharValue(*begin)))
        ++begin;
    return begin;
}
template <class Ch, class IsBlank>
const Ch* EndBeforeBlanks(const Ch* begin, const Ch* end, IsBlank isBlank) {
    while (end > begin && isBlank(CharValue(end[-1])))
        --end;
    return end;
}
template <class Ch, class IsBlank>
void TrimBlanks(const Ch*& begin, const Ch*& end, IsBlank isBlank) {
    begin = SkipBlanks(begin, end, isBlank);
    end = EndBeforeBlanks(begin, end, isBlank);
}
// A terminated text without its leading blanks.
template <class IsBlank> const char* SkipBlanks(const char* text, IsBlank isBlank) {
    return SkipBlanks(text, text + std::strlen(text), isBlank);
}

// A configuration's yes/no value: 1 when its first character is Y, y, T or t.
int IsYes(const char* text);

// A configuration colour 0xRRGGBB as a Windows COLORREF 0x00BBGGRR.
std::uint32_t ColorToColorRef(int rgb);

// True when the text begins with "http:" or "https:", in any case: a web address that is used
// as it is written.
bool IsWebAddress(const char* text);

// True for a path that names its place whole: a drive ("C:"), or a leading slash or backslash
// (the current drive's root, or a server's share). Any other path is relative.
bool IsAbsolutePath(const char* path);

// The path a selection's file names: a web address unchanged, anything else joined to the
// working directory ("%s\\%s"). False, leaving dst empty, when the result does not fit.
bool ResolveSelectionPath(char* dst, std::size_t size, const char* workDir, const char* url);
