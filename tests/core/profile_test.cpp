// The portable profile reader's rules that need no Win32 reference to check (the comparison
// with the Win32 functions themselves runs under Wine).
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Get(CIniProfile& ini, const char* section, const char* key, const char* def = "DEF",
                std::size_t size = 300) {
    char buffer[300];
    std::size_t n = ini.GetString(section, key, def, buffer, size);
    EXPECT_EQ(n, std::string(buffer).size());
    return buffer;
}

TEST(Profile, NamesAreFoundWithoutRegardToCaseOrBlanks) {
    CIniProfile ini = CIniProfile::FromText("[Settings]\r\nTitle = Game \r\n[ Other ]\nk=1\n"
                                            "[settings]\ntitle=second\nextra=x\n");
    EXPECT_EQ(Get(ini, "SETTINGS", "title"), "Game");
    EXPECT_EQ(Get(ini, " settings ", " TITLE "), "Game");
    EXPECT_EQ(Get(ini, "other", "K"), "1");
    // Only the first section of a name counts, also for keys that only a later one has.
    EXPECT_EQ(Get(ini, "Settings", "extra"), "DEF");
    CIniProfile keys = CIniProfile::FromText("[s]\nk=first\nK=second\n");
    EXPECT_EQ(Get(keys, "s", "k"), "first");
}

TEST(Profile, MissingKeysGiveTheDefaultAndEmptyValuesStayEmpty) {
    CIniProfile ini = CIniProfile::FromText("top=1\n[s]\nempty=\nblank=   \nbare\n");
    EXPECT_EQ(Get(ini, "s", "empty"), "");
    EXPECT_EQ(Get(ini, "s", "blank"), "");
    EXPECT_EQ(Get(ini, "s", "missing"), "DEF");
    EXPECT_EQ(Get(ini, "nosection", "empty"), "DEF");
    // A key without '=' has no value at all: the default stands in.
    EXPECT_EQ(Get(ini, "s", "bare"), "DEF");
    // The default loses trailing blanks; a null default is empty.
    EXPECT_EQ(Get(ini, "s", "missing", "def \t  "), "def \t");
    EXPECT_EQ(Get(ini, "s", "missing", nullptr), "");
    // Keys before any section belong to the section with the empty name.
    EXPECT_EQ(Get(ini, "", "top"), "1");
    EXPECT_EQ(CIniProfile::FromFile("/no/such/folder/x.ini").GetInt("s", "k", 5), 5);
}

TEST(Profile, QuotesAndSmallBuffers) {
    CIniProfile ini = CIniProfile::FromText(
        "[q]\nd=\"a b\"\ns='x'\nopen=\"abc\nmixed=\"abc'\nlong=\"abcdef\"\nplain=abcdef\n");
    EXPECT_EQ(Get(ini, "q", "d"), "a b");
    EXPECT_EQ(Get(ini, "q", "s"), "x");
    EXPECT_EQ(Get(ini, "q", "open"), "\"abc");
    EXPECT_EQ(Get(ini, "q", "mixed"), "\"abc'");
    EXPECT_EQ(Get(ini, "q", "plain", "", 4), "abc");
    EXPECT_EQ(Get(ini, "q", "plain", "", 1), "");
    EXPECT_EQ(Get(ini, "q", "long", "", 8), "abcdef");
    EXPECT_EQ(Get(ini, "q", "long", "", 3), "ab");
    // A buffer of exactly the unquoted length plus one loses one more character, as the Win32
    // reader's does.
    EXPECT_EQ(Get(ini, "q", "long", "", 7), "abcde");
    char untouched[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(ini.GetString("q", "plain", "", untouched, 0), 0u);
    EXPECT_EQ(untouched[0], 'x');
}

TEST(Profile, LineEndsByteOrderMarkAndHeaders) {
    CIniProfile ini = CIniProfile::FromText(
        "\xEF\xBB\xBF[a]\ra=1\r\nb=2\n\r[b] trailing\nc=3\n[open\nd=4\n[x]]\ne=5\n[c]\nlast=z");
    EXPECT_EQ(Get(ini, "a", "a"), "1");
    EXPECT_EQ(Get(ini, "a", "b"), "2");
    EXPECT_EQ(Get(ini, "b", "c"), "3");
    // A header without ']' is a key line of the current section.
    EXPECT_EQ(Get(ini, "b", "d"), "4");
    EXPECT_EQ(Get(ini, "x]", "e"), "5");
    EXPECT_EQ(Get(ini, "c", "last"), "z");
    std::string big(100000, 'v');
    CIniProfile huge = CIniProfile::FromText("[h]\nbig=" + big + "\n");
    EXPECT_EQ(Get(huge, "h", "big"), std::string(299, 'v'));
}

TEST(Profile, IntegersReadTheLeadingNumber) {
    EXPECT_EQ(ParseProfileInt("12"), 12);
    EXPECT_EQ(ParseProfileInt("  -5x"), -5);
    EXPECT_EQ(ParseProfileInt("+8"), 8);
    EXPECT_EQ(ParseProfileInt("\x01 7"), 7);
    EXPECT_EQ(ParseProfileInt("abc"), 0);
    EXPECT_EQ(ParseProfileInt("3.9"), 3);
    EXPECT_EQ(ParseProfileInt("0x1F"), 31);
    EXPECT_EQ(ParseProfileInt("0X1F"), 0);
    EXPECT_EQ(ParseProfileInt("0b102"), 2);
    EXPECT_EQ(ParseProfileInt("0o17"), 15);
    EXPECT_EQ(ParseProfileInt("-0x10"), -16);
    EXPECT_EQ(ParseProfileInt("4294967297"), 1); // wraps as a 32-bit number

    CIniProfile ini = CIniProfile::FromText(
        "[n]\nempty=\nword=abc\nquoted=\"42\"\nlong=00000000000000000000000000000009\n");
    EXPECT_EQ(ini.GetInt("n", "missing", -3), -3);
    EXPECT_EQ(ini.GetInt("n", "empty", -3), -3);
    EXPECT_EQ(ini.GetInt("n", "word", -3), 0);
    EXPECT_EQ(ini.GetInt("n", "quoted", -3), 42);
    // Only the first 29 characters are read.
    EXPECT_EQ(ini.GetInt("n", "long", -3), 0);
}

} // namespace
