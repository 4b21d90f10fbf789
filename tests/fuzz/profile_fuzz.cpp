// libFuzzer target: the portable profile reader on arbitrary bytes, holding the text in UTF-8
// (as the tools do) and in a single-byte code page (as the Windows program does). Every read
// must give a terminated text of the length it reports, and a key read from its section must
// give the value the line splitter saw.
#include "fuzz_support.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A;
}

// A name that a read can ask for: names asked for lose the blanks around them, while a stored
// name cut at a NUL may end in one.
bool Askable(const std::string& name) {
    return name.empty() || (!IsBlank(name.front()) && !IsBlank(name.back()));
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}

// Reads with several buffer sizes; each answer is a terminated text of its reported length.
void ReadEverySize(CIniProfile& ini, const char* section, const char* key) {
    static const std::size_t sizes[] = {1, 2, 30, 300};
    char buffer[301];
    for (std::size_t size : sizes) {
        std::memset(buffer, '#', sizeof buffer);
        std::size_t n = ini.GetString(section, key, "def \"'", buffer, size);
        Require(n < size && buffer[n] == '\0' && std::strlen(buffer) == n);
        Require(buffer[size] == '#'); // nothing written past the buffer
    }
    ini.GetInt(section, key, -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The queries are limited so that a large input still runs fast.
    constexpr int kMaxReads = 64;

    for (IProfileTextCodec* codec : {&Utf8ProfileCodec(), &Latin1ProfileCodec()}) {
        std::vector<IniItem> items = ParseIniItems(text, *codec);
        CIniProfile ini = CIniProfile::FromText(text, *codec);
        std::string section;
        int reads = 0;
        for (const IniItem& item : items) {
            Require(item.nLine >= 1);
            Require(item.name.find('\0') == std::string::npos &&
                    item.value.find('\0') == std::string::npos);
            if (item.bSection)
                section = item.name;
            else if (reads++ < kMaxReads)
                ReadEverySize(ini, section.c_str(), item.name.c_str());
        }
    }

    // In UTF-8 the held text is the file's own: the first key of a name in the first section of
    // a name reads as its line says (its quotes dropped); a key without '=' gives the default.
    std::vector<IniItem> items = ParseIniItems(text);
    CIniProfile ini = CIniProfile::FromText(text);
    std::map<std::string, int> firstSection{{"", 0}};
    std::set<std::pair<int, std::string>> keys;
    std::string section;
    int current = 0, count = 1, reads = 0;
    for (const IniItem& item : items) {
        if (item.bSection) {
            current = count++;
            section = item.name;
            firstSection.emplace(Lower(item.name), current);
            continue;
        }
        // A name holding U+FFFD may stand for half of a UTF-16 pair, which no name matches.
        bool replaced = (section + item.name).find("\xEF\xBF\xBD") != std::string::npos;
        if (firstSection[Lower(section)] != current || replaced || !Askable(section) ||
            !Askable(item.name) || !keys.insert({current, Lower(item.name)}).second ||
            reads++ >= kMaxReads)
            continue;
        std::string expected = "DEF";
        if (item.bHasValue) {
            const std::string& v = item.value;
            bool quoted = v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0];
            expected = quoted ? v.substr(1, v.size() - 2) : v;
        }
        std::string buffer(expected.size() + 2, '#');
        std::size_t n =
            ini.GetString(section.c_str(), item.name.c_str(), "DEF", &buffer[0], buffer.size());
        Require(n == expected.size() && buffer.compare(0, n, expected) == 0);
    }
    return 0;
}
