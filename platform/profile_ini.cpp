#include "platform/profile.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool SameName(const std::string& a, const char* b) {
    std::size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

std::string Trim(const char* begin, const char* end) {
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    return std::string(begin, end);
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

CIniProfile CIniProfile::FromText(const std::string& text) {
    CIniProfile profile;
    const char* p = text.data();
    const char* end = p + text.size();
    if (text.size() >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0)
        p += 3;
    // Lines before the first section header belong to a section without a name, which no
    // lookup by name reaches.
    profile.sections.push_back(Section{});
    while (p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        const char* next = lineEnd;
        while (next < end && (*next == '\n' || *next == '\r'))
            ++next;

        const char* start = p;
        while (start < lineEnd && IsBlank(*start))
            ++start;
        p = next;
        if (start >= lineEnd)
            continue;
        if (*start == '[') {
            const char* close = nullptr;
            for (const char* q = lineEnd; q > start; --q) {
                if (q[-1] == ']') {
                    close = q - 1;
                    break;
                }
            }
            if (close) {
                profile.sections.push_back(Section{std::string(start + 1, close), {}});
                continue;
            }
        }
        const char* stop = lineEnd;
        while (stop > start && IsBlank(stop[-1]))
            --stop;
        const char* eq = static_cast<const char*>(std::memchr(start, '=', stop - start));
        Entry entry;
        if (eq) {
            entry.key = Trim(start, eq);
            entry.value = Trim(eq + 1, stop);
        } else {
            entry.key = std::string(start, stop);
        }
        profile.sections.back().entries.push_back(entry);
    }
    return profile;
}

const CIniProfile::Entry* CIniProfile::Find(const char* section, const char* key) const {
    for (const Section& s : sections) {
        if (&s == &sections.front() || !SameName(s.name, section))
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
    const Entry* entry = Find(section, key);
    std::string value = entry ? entry->value : std::string(def ? def : "");
    if (entry && value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
        value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    std::size_t n = value.size() < size ? value.size() : size - 1;
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return n;
}

int CIniProfile::GetInt(const char* section, const char* key, int def) {
    // The integer reader looks at no more than the first 29 characters of the value.
    char text[30];
    if (GetString(section, key, "", text, sizeof text) == 0)
        return def;
    return ParseProfileInt(text);
}

int ParseProfileInt(const char* text) {
    while (*text && IsBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    unsigned int value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10u + static_cast<unsigned int>(*text - '0');
    return static_cast<int>(negative ? 0u - value : value);
}
