#include "app/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

bool CopyText(char* dst, std::size_t size, const char* src) {
    if (size == 0)
        return false;
    std::size_t len = std::strlen(src);
    if (len < size) {
        std::memcpy(dst, src, len + 1);
        return true;
    }
    std::memcpy(dst, src, size - 1);
    dst[size - 1] = '\0';
    return false;
}

bool FormatText(char* dst, std::size_t size, const char* format, ...) {
    if (size == 0)
        return false;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(dst, size, format, args);
    va_end(args);
    return n >= 0 && static_cast<std::size_t>(n) < size;
}

bool JoinPath(char* dst, std::size_t size, const char* dir, const char* name) {
    if (!FormatText(dst, size, "%s\\%s", dir, name)) {
        if (size > 0)
            dst[0] = '\0';
        return false;
    }
    return true;
}

static char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool EqualsNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (LowerAscii(*a) != LowerAscii(*b))
            return false;
    }
    return *a == *b;
}
