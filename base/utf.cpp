#include "base/utf.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the sequence that a lead byte starts, or 0 for a byte no sequence starts with.
std::size_t SequenceLength(unsigned char c) {
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return 2;
    if (c >= 0xE0 && c <= 0xEF)
        return 3;
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    return 0;
}

// Decodes the well-formed sequence at text[i] (with length - i bytes left) into c; returns its
// length, or 0 when it is not well-formed.
std::size_t Decode(const unsigned char* text, std::size_t left, std::uint32_t& c) {
    std::size_t n = SequenceLength(text[0]);
    if (n == 0 || n > left)
        return 0;
    if (n == 1) {
        c = text[0];
        return 1;
    }
    c = text[0] & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if (!IsContinuation(text[k]))
            return 0;
        c = (c << 6) | (text[k] & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
    static const std::uint32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[n] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return 0;
    return n;
}

} // namespace

std::u16string Utf8ToUtf16(const char* text, std::size_t length) {
    std::u16string out;
    out.reserve(length);
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t i = 0; i < length;) {
        std::uint32_t c = 0;
        std::size_t n = Decode(p + i, length - i, c);
        if (n == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        i += n;
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(const char* text) {
    return text ? Utf8ToUtf16(text, std::strlen(text)) : std::u16string();
}

std::string Utf16ToUtf8(const char16_t* text, std::size_t length, bool* exact) {
    std::string out;
    out.reserve(length);
    bool replaced = false;
    for (std::size_t i = 0; i < length; ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
            replaced = true;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    if (exact)
        *exact = !replaced;
    return out;
}

std::size_t Utf8FitLength(const char* text, std::size_t length, std::size_t limit) {
    if (length <= limit)
        return length;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    if (!IsContinuation(p[limit]))
        return limit;
    // Back to the lead byte of the character that the cut would split.
    std::size_t start = limit;
    while (start > 0 && limit - start < 3 && IsContinuation(p[start]))
        --start;
    std::uint32_t c = 0;
    std::size_t n = Decode(p + start, length - start, c);
    return n > limit - start ? start : limit;
}

bool IsUtf8BeyondAscii(const char* text, std::size_t length) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    bool beyond = false;
    for (std::size_t i = 0; i < length;) {
        std::uint32_t c = 0;
        std::size_t n = Decode(p + i, length - i, c);
        if (n == 0)
            return false;
        beyond = beyond || n > 1;
        i += n;
    }
    return beyond;
}

std::FILE* OpenFileUtf8(const char* path, const char* mode) {
#if defined(_WIN32)
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");
    std::u16string widePath = Utf8ToUtf16(path);
    std::u16string wideMode = Utf8ToUtf16(mode);
    return _wfopen(reinterpret_cast<const wchar_t*>(widePath.c_str()),
                   reinterpret_cast<const wchar_t*>(wideMode.c_str()));
#else
    return std::fopen(path, mode);
#endif
}
