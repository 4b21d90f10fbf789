#include "base/text.h"

#include "base/utf.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

bool CopyText(char* dst, std::size_t size, const char* src) {
    if (size == 0)
        return false;
    std::size_t len = std::strlen(src);
    if (len < size) {
        std::memcpy(dst, src, len + 1);
        return true;
    }
    std::size_t n = Utf8FitLength(src, len, size - 1);
    std::memcpy(dst, src, n);
    dst[n] = '\0';
    return false;
}

bool FormatText(char* dst, std::size_t size, const char* format, ...) {
    if (size == 0)
        return false;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(dst, size, format, args);
    va_end(args);
    bool fit = n >= 0 && static_cast<std::size_t>(n) < size;
    if (n >= 0 && !fit) {
        // Cut between characters: the whole text tells whether the cut split one.
        std::string whole(static_cast<std::size_t>(n) + 1, '\0');
        std::vsnprintf(&whole[0], whole.size(), format, again);
        dst[Utf8FitLength(whole.data(), static_cast<std::size_t>(n), size - 1)] = '\0';
    }
    va_end(again);
    return fit;
}

bool JoinPath(char* dst, std::size_t size, const char* dir, const char* name) {
    if (!FormatText(dst, size, "%s\\%s", dir, name)) {
        if (size > 0)
            dst[0] = '\0';
        return false;
    }
    return true;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b))
            return false;
    }
    return *a == *b;
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        if (FoldAscii(*text) != FoldAscii(*prefix))
            return false;
    }
    return true;
}

bool ContainsNoCase(const char* text, const char* needle) {
    for (; *text; ++text) {
        if (StartsWithNoCase(text, needle))
            return true;
    }
    return *needle == '\0';
}

int IsYes(const char* text) {
    char c = text[0];
    return (c == 'Y' || c == 'y' || c == 'T' || c == 't') ? 1 : 0;
}

std::uint32_t ColorToColorRef(int rgb) {
    std::uint32_t value = static_cast<std::uint32_t>(rgb);
    return ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
}

bool IsWebAddress(const char* text) {
    return StartsWithNoCase(text, "http:") || StartsWithNoCase(text, "https:");
}

bool IsAbsolutePath(const char* path) {
    return path[0] == '\\' || path[0] == '/' || (path[0] != '\0' && path[1] == ':');
}

bool ResolveSelectionPath(char* dst, std::size_t size, const char* workDir, const char* url) {
    if (IsWebAddress(url)) {
        if (CopyText(dst, size, url))
            return true;
        if (size > 0)
            dst[0] = '\0';
        return false;
    }
    return JoinPath(dst, size, workDir, url);
}
