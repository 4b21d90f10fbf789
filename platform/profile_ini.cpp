#include "platform/profile.h"

#include "base/text.h"

#include <cstdio>
#include <cstring>

namespace {

// The blanks that the profile reader drops around lines, names and values: the C blanks and
// the DOS end-of-file mark ^Z.
bool IsBlank(char ch) {
    unsigned char c = static_cast<unsigned char>(ch);
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A;
}

// Compares a stored name with a name asked for; blanks around the asked name do not count.
bool SameName(const std::string& stored, const char* asked) {
    while (*asked && IsBlank(*asked))
        ++asked;
    std::size_t n = std::strlen(asked);
    while (n > 0 && IsBlank(asked[n - 1]))
        --n;
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
std::size_t CopyValue(const std::string& value, char* buffer, std::size_t size) {
    const char* text = value.c_str();
    std::size_t length = value.size();
    bool quoted = length >= 2 && (text[0] == '"' || text[0] == '\'') && text[length - 1] == text[0];
    if (quoted) {
        ++text;
        --length; // the closing quote is still counted here
    }
    std::size_t n = length < size ? length : size - 1;
    std::memcpy(buffer, text, n);
    if (quoted && size >= length && n > 0)
        --n; // drops the closing quote, or, in a buffer of exactly the length, the last character
    buffer[n] = '\0';
    return n;
}

} // namespace

CIniProfile CIniProfile::FromFile(const char* path) {
    std::string text;
    if (std::FILE* file = std::fopen(path, "rb")) {
        char chunk[4096];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            text.append(chunk, n);
        std::fclose(file);
    }
    return FromText(text);
}

std::vector<IniItem> ParseIniItems(const std::string& text) {
    std::vector<IniItem> items;
    const char* p = text.data();
    const char* end = p + text.size();
    if (text.size() >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0)
        p += 3;
    int line = 1;
    while (p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        const char* next = lineEnd;
        while (next < end && (*next == '\n' || *next == '\r'))
            ++next;
        int nLine = line;
        // The run of line ends may hold blank lines: "\r\n" counts once, "\n" and "\r" alone
        // once each.
        for (const char* q = lineEnd; q < next; ++q) {
            if (*q == '\n' || q + 1 == next || q[1] != '\n')
                ++line;
        }

        const char* start = p;
        const char* stop = next;
        p = next;
        while (start < stop && IsBlank(*start))
            ++start;
        while (stop > start && IsBlank(stop[-1]))
            --stop;
        if (start >= stop)
            continue;
        IniItem item;
        item.nLine = nLine;
        if (*start == '[') {
            // The name runs to the last ']' of the line; text after it is ignored. A line
            // without one is read as a key.
            const char* close = stop - 1;
            while (close > start && *close != ']')
                --close;
            if (close > start) {
                const char* name = start + 1;
                const char* nameEnd = close;
                while (name < nameEnd && IsBlank(*name))
                    ++name;
                while (nameEnd > name && IsBlank(nameEnd[-1]))
                    --nameEnd;
                item.bSection = true;
                item.name.assign(name, nameEnd);
                items.push_back(item);
                continue;
            }
        }
        const char* eq = static_cast<const char*>(std::memchr(start, '=', stop - start));
        if (eq) {
            const char* nameEnd = eq;
            while (nameEnd > start && IsBlank(nameEnd[-1]))
                --nameEnd;
            const char* value = eq + 1;
            while (value < stop && IsBlank(*value))
                ++value;
            item.name.assign(start, nameEnd);
            item.value.assign(value, stop);
            item.bHasValue = true;
        } else {
            item.name.assign(start, stop);
        }
        items.push_back(item);
    }
    return items;
}

CIniProfile CIniProfile::FromText(const std::string& text) {
    CIniProfile profile;
    // Lines before the first section header belong to a section with the empty name.
    profile.sections.push_back(Section{});
    for (IniItem& item : ParseIniItems(text)) {
        if (item.bSection) {
            profile.sections.push_back(Section{std::move(item.name), {}});
            continue;
        }
        Entry entry;
        entry.key = std::move(item.name);
        entry.value = std::move(item.value);
        entry.bHasValue = item.bHasValue;
        profile.sections.back().entries.push_back(std::move(entry));
    }
    return profile;
}

const CIniProfile::Entry* CIniProfile::Find(const char* section, const char* key) const {
    for (const Section& s : sections) {
        if (!SameName(s.name, section))
            continue;
        for (const Entry& e : s.entries) {
            if (SameName(e.key, key))
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
    // The default loses its trailing blanks (blanks only, not tabs).
    std::string fallback = def ? def : "";
    while (!fallback.empty() && fallback.back() == ' ')
        fallback.pop_back();
    const Entry* entry = Find(section, key);
    // A key written without '=' has no value: the default stands in for it.
    return CopyValue(entry && entry->bHasValue ? entry->value : fallback, buffer, size);
}

int CIniProfile::GetInt(const char* section, const char* key, int def) {
    // The integer reader looks at no more than the first 29 characters of the value.
    char text[30];
    if (GetString(section, key, "", text, sizeof text) == 0)
        return def;
    return ParseProfileInt(text);
}

int ParseProfileInt(const char* text) {
    // Any control character or blank before the number is skipped.
    while (*text && static_cast<unsigned char>(*text) <= ' ')
        ++text;
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
