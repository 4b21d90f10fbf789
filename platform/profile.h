// Reading the configuration file. The program reads it with the Win32 profile functions; the
// portable reader gives the same answers where they are not available (tools, unit tests).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class IProfileReader {
  public:
    virtual ~IProfileReader() = default;
    // Copies the value of key in section into buffer (size bytes, terminator included), cut to
    // size - 1 characters; the default when the key is missing. Returns the characters copied.
    virtual std::size_t GetString(const char* section, const char* key, const char* def,
                                  char* buffer, std::size_t size) = 0;
    // The value's leading number, or def when the key is missing or its value is empty.
    virtual int GetInt(const char* section, const char* key, int def) = 0;
};

// One line of an INI text as the profile reader reads it: a section header or a key line, with
// the line it is on (counted from 1; "\r\n", "\n" and a lone "\r" each end a line). Blank
// lines are not listed.
struct IniItem {
    int nLine = 0;
    bool bSection = false;  // a section header; otherwise a key line
    std::string name;       // the section's or the key's name, without the blanks around it
    std::string value;      // the key's value, without the blanks around it
    bool bHasValue = false; // false for a key line without '='
};

// Splits an INI text into its headers and key lines exactly as CIniProfile does, in file
// order. Key lines before the first header belong to the section with the empty name.
std::vector<IniItem> ParseIniItems(const std::string& text);

// The profile reader's semantics on an INI text: section and key names are compared without
// regard to case; the first section of a name and its first key of a name win; blanks around
// names and values are dropped; a value wrapped in a pair of equal quotes loses them; a
// present-but-empty value is empty; a UTF-8 byte order mark is skipped.
class CIniProfile : public IProfileReader {
  public:
    // Loads the text of a file; a file that cannot be read behaves as an empty one.
    static CIniProfile FromFile(const char* path);
    static CIniProfile FromText(const std::string& text);

    std::size_t GetString(const char* section, const char* key, const char* def, char* buffer,
                          std::size_t size) override;
    int GetInt(const char* section, const char* key, int def) override;

  private:
    struct Entry {
        std::string key;
        std::string value;
        bool bHasValue = false; // false for a line without '='
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Entry* Find(const char* section, const char* key) const;
    std::vector<Section> sections;
};

// The integer reader's rule on a value text: blanks, an optional sign, then decimal digits;
// no digits gives 0.
int ParseProfileInt(const char* text);
