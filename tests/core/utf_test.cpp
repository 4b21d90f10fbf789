// The one UTF-8/UTF-16 conversion of the program: what it makes of text that is not UTF-8, and
// where it cuts text that does not fit.
#include "base/text.h"
#include "base/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Decode(const std::string& text) {
    return Utf8ToUtf16(text.data(), text.size());
}

TEST(Utf, EveryByteOutsideAWellFormedSequenceBecomesOneReplacement) {
    const struct {
        const char* bytes;
        std::u16string wide;
    } cases[] = {
        {"a\xD0\x94\xE6\x97\xA5\xF0\x9F\x8E\xAE", u"a\u0414\u65E5\U0001F3AE"},
        {"caf\xE9!", u"caf\uFFFD!"},                       // a Latin-1 byte
        {"\x80x", u"\uFFFDx"},                             // a stray continuation byte
        {"\xE6\x97", u"\uFFFD\uFFFD"},                     // a sequence cut short
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // an overlong '/'
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // a surrogate in UTF-8
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // beyond U+10FFFF
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decode(c.bytes), c.wide) << c.bytes;
    bool exact = true;
    const char16_t lone[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(Utf16ToUtf8(lone, 3, &exact), "a\xEF\xBF\xBD"
                                            "b");
    EXPECT_FALSE(exact);
}

TEST(Utf, TextIsCutOnlyBetweenCharacters) {
    const std::string text = "ab\xE6\x97\xA5\xF0\x9F\x8E\xAE"; // 2 + 3 + 4 bytes
    const struct {
        std::size_t limit, fit;
    } cases[] = {{9, 9}, {8, 5}, {6, 5}, {5, 5}, {4, 2}, {3, 2}, {2, 2}, {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(Utf8FitLength(text.data(), text.size(), c.limit), c.fit) << c.limit;
    // Bytes that are not UTF-8 where the cut falls are cut as they are.
    EXPECT_EQ(Utf8FitLength("\x80\x80\x80\x80\x80", 5, 3), 3u);

    char buffer[6];
    EXPECT_FALSE(CopyText(buffer, sizeof buffer, text.c_str()));
    EXPECT_STREQ(buffer, "ab\xE6\x97\xA5");
    EXPECT_FALSE(FormatText(buffer, sizeof buffer, "%s!", "\xD0\x94\xD0\x94\xD0\x94"));
    EXPECT_STREQ(buffer, "\xD0\x94\xD0\x94");
}

TEST(Utf, Utf8BeyondAsciiIsToldFromAnsiText) {
    EXPECT_TRUE(IsUtf8BeyondAscii("t=\xE6\x97\xA5", 5));
    EXPECT_FALSE(IsUtf8BeyondAscii("t=caf\xE9", 6)); // Latin-1
    EXPECT_FALSE(IsUtf8BeyondAscii("plain", 5));
}

} // namespace
