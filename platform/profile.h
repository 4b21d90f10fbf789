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

// How the text of a configuration file becomes the text the program holds (UTF-8). A file with
// the UTF-16 mark (little- or big-endian) is read as UTF-16; a file with the UTF-8 mark as
// UTF-8; a file without a mark is in the ANSI code page of the machine. A codec may decode a
// UTF-8 or ANSI text into UTF-16 before it is split into lines, as the system's profile
// functions do; the names and values of UTF-16 lines are then converted one at a time.
class IProfileTextCodec {
  public:
    virtual ~IProfileTextCodec() = default;
    // The UTF-16 form of UTF-8 text, or false when the text is held as it is.
    virtual bool Utf8ToUtf16(const char* text, std::size_t length, std::u16string& out) = 0;
    // The UTF-16 form of text without a byte order mark, or false when it is held as it is.
    virtual bool AnsiToUtf16(const char* text, std::size_t length, std::u16string& out) = 0;
    // The held form of UTF-16 text. When exact is given, it tells whether the held text stands
    // for exactly these characters (false when one had no place in it and was replaced).
    virtual std::string FromUtf16(const char16_t* text, std::size_t length, bool* exact) = 0;
};

// The codec of the portable programs: a file without a mark is held byte for byte, which is
// UTF-8 for a file saved as UTF-8 without its mark (they know no code page to decode it with).
IProfileTextCodec& Utf8ProfileCodec();

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

// Splits an INI text (the bytes of a file) into its headers and key lines exactly as
// CIniProfile does, in file order, as held text. Key lines before the first header belong to
// the section with the empty name.
std::vector<IniItem> ParseIniItems(const std::string& text,
                                   IProfileTextCodec& codec = Utf8ProfileCodec());

// The profile reader's semantics on an INI text: section and key names are compared without
// regard to case (of ASCII letters); the first section of a name and its first key of a name
// win; blanks around names and values are dropped; a name or value ends at a NUL character; a
// value wrapped in a pair of equal quotes loses them; a present-but-empty value is empty; byte
// order marks choose the encoding (see IProfileTextCodec). A name with a character that the
// held text cannot stand for is never found.
class CIniProfile : public IProfileReader {
  public:
    // Loads the text of a file; a file that cannot be read behaves as an empty one.
    static CIniProfile FromFile(const char* path, IProfileTextCodec& codec = Utf8ProfileCodec());
    static CIniProfile FromText(const std::string& text,
                                IProfileTextCodec& codec = Utf8ProfileCodec());

    std::size_t GetString(const char* section, const char* key, const char* def, char* buffer,
                          std::size_t size) override;
    int GetInt(const char* section, const char* key, int def) override;

  private:
    struct Entry {
        std::string key;
        std::string value;
        // The value as the integer reader sees it, one byte per character of the file with
        // every character outside ASCII as 0x80; empty when that is the value itself.
        std::string numberText;
        bool bHasValue = false; // false for a line without '='
        bool bQuoted = false;   // wrapped in a pair of equal quotes in the file
        bool bKeyExact = true;
    };
    struct Section {
        std::string name;
        bool bNameExact = true;
        std::vector<Entry> entries;
    };
    const Entry* Find(const char* section, const char* key) const;
    std::vector<Section> sections;
};

// The reader's quote rule: a value as written in the file (blanks around it dropped) that starts
// and ends with the same quote, single or double, is read without them.
bool ProfileDropsQuotes(const std::string& value);

// The encoding a configuration file's byte order mark names; None for a file without one,
// which is read in the PC's ANSI code page.
enum class ProfileTextMark { None, Utf8, Utf16Le, Utf16Be };
ProfileTextMark ProfileTextMarkOf(const char* bytes, std::size_t size);

// The integer reader's rule on a value text: blanks, an optional sign, then decimal digits;
// no digits gives 0.
int ParseProfileInt(const char* text);
