#include "platform/profile.h"

#include "base/text.h"
#include "base/utf.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// The blanks that the profile reader drops around lines, names and values: the C blanks and
// the DOS end-of-file mark ^Z; no other character, in any encoding.
bool IsBlankUnit(std::uint32_t c) {
    return IsCBlank(c) || c == 0x1A;
}

// Compares a stored name with a name asked for; blanks around the asked name do not count.
bool SameName(const std::string& stored, const char* asked) {
    const char* end = asked + std::strlen(asked);
    TrimBlanks(asked, end, IsBlankUnit);
    std::size_t n = static_cast<std::size_t>(end - asked);
    if (stored.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (FoldAscii(stored[i]) != FoldAscii(asked[i]))
            return false;
    }
    return true;
}

// Copies a value into the caller's buffer the way the Win32 reader does: a value that starts
// and ends with the same quote (single or double) loses them; when the buffer is too small the
// text is cut, and a closing quote that did not fit leaves the text cut as it is.
std::size_t CopyValue(const std::string& value, bool quoted, char* buffer, std::size_t size) {
    const char* text = value.c_str();
    std::size_t length = value.size();
    if (quoted) {
        ++text;
        --length; // the closing quote is still counted here
    }
    std::size_t n = Utf8FitLength(text, length, size - 1);
    std::memcpy(buffer, text, n);
    if (quoted && size >= length && n > 0) {
        --n; // drops the closing quote, or, in a buffer of exactly the length, the last character
        n = Utf8FitLength(text, n + 1, n);
    }
    buffer[n] = '\0';
    return n;
}

// A name or a value as it stands in the file.
template <class Ch> struct Piece {
    const Ch* text = nullptr;
    std::size_t length = 0;
};

template <class Ch> struct RawLine {
    int nLine = 0;
    bool bSection = false;
    bool bHasValue = false;
    Piece<Ch> name;
    Piece<Ch> value;
};

// Blanks around it dropped, then cut at its first NUL: the reader keeps names and values as
// NUL-terminated strings.
template <class Ch> Piece<Ch> Trimmed(const Ch* start, const Ch* stop) {
    TrimBlanks(start, stop, IsBlankUnit);
    const Ch* nul = start;
    while (nul < stop && *nul != 0)
        ++nul;
    return Piece<Ch>{start, static_cast<std::size_t>(nul - start)};
}

// Splits the text into headers and key lines and hands each to emit, in file order.
template <class Ch, class Emit> void SplitLines(const Ch* p, const Ch* end, Emit&& emit) {
    int line = 1;
    while (p < end) {
        const Ch* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        const Ch* next = lineEnd;
        while (next < end && (*next == '\n' || *next == '\r'))
            ++next;
        int nLine = line;
        // The run of line ends may hold blank lines: "\r\n" counts once, "\n" and "\r" alone
        // once each.
        for (const Ch* q = lineEnd; q < next; ++q) {
            if (*q == '\n' || q + 1 == next || q[1] != '\n')
                ++line;
        }

        const Ch* start = p;
        const Ch* stop = next;
        p = next;
        TrimBlanks(start, stop, IsBlankUnit);
        if (start >= stop)
            continue;
        RawLine<Ch> raw;
        raw.nLine = nLine;
        if (*start == '[') {
            // The name runs to the last ']' of the line; text after it is ignored. A line
            // without one is read as a key.
            const Ch* close = stop - 1;
            while (close > start && *close != ']')
                --close;
            if (close > start) {
                raw.bSection = true;
                raw.name = Trimmed(start + 1, close);
                emit(raw);
                continue;
            }
        }
        const Ch* eq = start;
        while (eq < stop && *eq != '=')
            ++eq;
        if (eq < stop) {
            raw.name = Trimmed(start, eq);
            raw.value = Trimmed(eq + 1, stop);
            raw.bHasValue = true;
        } else {
            raw.name = Trimmed(start, stop);
        }
        emit(raw);
    }
}

// One line in the text the program holds.
struct HeldLine {
    IniItem item;
    bool bQuoted = false;
    bool bNameExact = true;
    std::string numberText; // see CIniProfile::Entry
};

HeldLine Hold(const RawLine<char>& raw, IProfileTextCodec&) {
    HeldLine held;
    held.item.nLine = raw.nLine;
    held.item.bSection = raw.bSection;
    held.item.bHasValue = raw.bHasValue;
    held.item.name.assign(raw.name.text, raw.name.length);
    held.item.value.assign(raw.value.text, raw.value.length);
    held.bQuoted = ProfileDropsQuotes(held.item.value);
    return held;
}

HeldLine Hold(const RawLine<char16_t>& raw, IProfileTextCodec& codec) {
    HeldLine held;
    held.item.nLine = raw.nLine;
    held.item.bSection = raw.bSection;
    held.item.bHasValue = raw.bHasValue;
    held.item.name = codec.FromUtf16(raw.name.text, raw.name.length, &held.bNameExact);
    if (raw.value.length == 0)
        return held;
    held.item.value = codec.FromUtf16(raw.value.text, raw.value.length, nullptr);
    // Quotes and numbers are told by the characters of the file: a character that only the
    // conversion turned into a quote or a digit is neither.
    std::string ascii(raw.value.length, '\x80');
    bool plain = true;
    for (std::size_t i = 0; i < raw.value.length; ++i) {
        if (raw.value.text[i] < 0x80)
            ascii[i] = static_cast<char>(raw.value.text[i]);
        else
            plain = false;
    }
    held.bQuoted = ProfileDropsQuotes(ascii);
    if (!plain)
        held.numberText = std::move(ascii);
    return held;
}

// Reads the lines of a file's bytes in the encoding that its byte order mark names.
template <class Emit>
void ReadLines(const std::string& text, IProfileTextCodec& codec, Emit&& emit) {
    const char* p = text.data();
    std::size_t size = text.size();
    auto hold = [&](const auto& raw) { emit(Hold(raw, codec)); };
    ProfileTextMark mark = ProfileTextMarkOf(p, size);
    if (mark == ProfileTextMark::Utf8) {
        std::u16string wide;
        if (codec.Utf8ToUtf16(p + 3, size - 3, wide))
            SplitLines(wide.data(), wide.data() + wide.size(), hold);
        else
            SplitLines(p + 3, p + size, hold);
        return;
    }
    bool little = mark == ProfileTextMark::Utf16Le;
    if (mark == ProfileTextMark::None) {
        std::u16string wide;
        if (codec.AnsiToUtf16(p, size, wide))
            SplitLines(wide.data(), wide.data() + wide.size(), hold);
        else
            SplitLines(p, p + size, hold);
        return;
    }
    // A last byte that does not make a whole character is dropped.
    std::u16string wide((size - 2) / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        auto first = static_cast<unsigned char>(p[2 + 2 * i]);
        auto second = static_cast<unsigned char>(p[3 + 2 * i]);
        wide[i] = static_cast<char16_t>(little ? first | (second << 8) : (first << 8) | second);
    }
    SplitLines(wide.data(), wide.data() + wide.size(), hold);
}

class CUtf8Codec : public IProfileTextCodec {
  public:
    bool Utf8ToUtf16(const char*, std::size_t, std::u16string&) override { return false; }
    bool AnsiToUtf16(const char*, std::size_t, std::u16string&) override { return false; }
    std::string FromUtf16(const char16_t* text, std::size_t length, bool* exact) override {
        return ::Utf16ToUtf8(text, length, exact);
    }
};

} // namespace

bool ProfileDropsQuotes(const std::string& value) {
    return value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
}

IProfileTextCodec& Utf8ProfileCodec() {
    static CUtf8Codec codec;
    return codec;
}

CIniProfile CIniProfile::FromFile(const char* path, IProfileTextCodec& codec) {
    std::string text;
    if (std::FILE* file = OpenFileUtf8(path, "rb")) {
        char chunk[4096];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            text.append(chunk, n);
        std::fclose(file);
    }
    return FromText(text, codec);
}

std::vector<IniItem> ParseIniItems(const std::string& text, IProfileTextCodec& codec) {
    std::vector<IniItem> items;
    ReadLines(text, codec, [&](HeldLine&& line) { items.push_back(std::move(line.item)); });
    return items;
}

CIniProfile CIniProfile::FromText(const std::string& text, IProfileTextCodec& codec) {
    CIniProfile profile;
    // Lines before the first section header belong to a section with the empty name.
    profile.sections.push_back(Section{});
    ReadLines(text, codec, [&](HeldLine&& line) {
        if (line.item.bSection) {
            profile.sections.push_back(Section{std::move(line.item.name), line.bNameExact, {}});
            return;
        }
        Entry entry;
        entry.key = std::move(line.item.name);
        entry.value = std::move(line.item.value);
        entry.numberText = std::move(line.numberText);
        entry.bHasValue = line.item.bHasValue;
        entry.bQuoted = line.bQuoted;
        entry.bKeyExact = line.bNameExact;
        profile.sections.back().entries.push_back(std::move(entry));
    });
    return profile;
}

const CIniProfile::Entry* CIniProfile::Find(const char* section, const char* key) const {
    for (const Section& s : sections) {
        if (!s.bNameExact || !SameName(s.name, section))
            continue;
        for (const Entry& e : s.entries) {
            if (e.bKeyExact && SameName(e.key, key))
                return &e;
        }
        return nullptr; // only the first section of a name is searched
    }
    return nullptr;
}

std::size_t CIniProfile::GetString(const char* section, const char* key, const char* def,
                                   char* buffer, std::size_t size) {
    if (size == 0)
        return 0;
    const Entry* entry = Find(section, key);
    // A key written without '=' has no value: the default stands in for it.
    if (entry && entry->bHasValue)
        return CopyValue(entry->value, entry->bQuoted, buffer, size);
    // The default loses its trailing blanks (blanks only, not tabs).
    std::string fallback = def ? def : "";
    fallback.resize(
        static_cast<std::size_t>(EndBeforeBlanks(fallback.data(), fallback.data() + fallback.size(),
                                                 [](std::uint32_t c) { return c == ' '; }) -
                                 fallback.data()));
    return CopyValue(fallback, ProfileDropsQuotes(fallback), buffer, size);
}

int CIniProfile::GetInt(const char* section, const char* key, int def) {
    const Entry* entry = Find(section, key);
    if (!entry || !entry->bHasValue)
        return def;
    // The integer reader looks at no more than the first 29 characters of the value.
    char text[30];
    const std::string& value = entry->numberText.empty() ? entry->value : entry->numberText;
    if (CopyValue(value, entry->bQuoted, text, sizeof text) == 0)
        return def;
    return ParseProfileInt(text);
}

int ParseProfileInt(const char* text) {
    // Any control character or blank before the number is skipped.
    text = SkipBlanks(text, [](std::uint32_t c) { return c <= ' '; });
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    // Like the Win32 reader, the prefixes 0x, 0o and 0b choose hexadecimal, octal and binary.
    unsigned int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'o' || text[1] == 'b')) {
        base = text[1] == 'x' ? 16 : text[1] == 'o' ? 8 : 2;
        text += 2;
    }
    unsigned int value = 0;
    for (;; ++text) {
        char c = *text;
        unsigned int digit = c >= '0' && c <= '9'   ? static_cast<unsigned int>(c - '0')
                             : c >= 'a' && c <= 'z' ? static_cast<unsigned int>(c - 'a' + 10)
                             : c >= 'A' && c <= 'Z' ? static_cast<unsigned int>(c - 'A' + 10)
                                                    : 99u;
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    return static_cast<int>(negative ? 0u - value : value);
}

ProfileTextMark ProfileTextMarkOf(const char* bytes, std::size_t size) {
    if (size >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0)
        return ProfileTextMark::Utf8;
    if (size >= 2 && std::memcmp(bytes, "\xFF\xFE", 2) == 0)
        return ProfileTextMark::Utf16Le;
    if (size >= 2 && std::memcmp(bytes, "\xFE\xFF", 2) == 0)
        return ProfileTextMark::Utf16Be;
    return ProfileTextMark::None;
}
