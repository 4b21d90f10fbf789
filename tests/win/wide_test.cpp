// The UTF-8/UTF-16 conversions at the boundary with Windows, in this process: every COM call
// and wide function takes its text through them.
#include "base/wide_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct BstrFree {
    void operator()(wchar_t* s) const { SysFreeString(s); }
};
using Bstr = std::unique_ptr<wchar_t, BstrFree>;

std::string ToUtf8(BSTR text) {
    std::unique_ptr<char[]> utf8(BstrToUtf8(text));
    EXPECT_NE(utf8, nullptr);
    return utf8 ? std::string(utf8.get()) : std::string("<null>");
}

TEST(Wide, EmptyAndNullTexts) {
    EXPECT_EQ(BstrToUtf8(nullptr), nullptr);
    Bstr empty(SysAllocString(L""));
    std::unique_ptr<char[]> utf8(BstrToUtf8(empty.get()));
    ASSERT_NE(utf8, nullptr);
    EXPECT_EQ(utf8[0], '\0');
    Bstr fromEmpty(Utf8ToBstr(""));
    ASSERT_NE(fromEmpty, nullptr);
    EXPECT_EQ(SysStringLen(fromEmpty.get()), 0u);
}

TEST(Wide, LongTextsConvertWhole) {
    std::string text(1000, 'a');
    text[999] = 'z';
    Bstr wide(Utf8ToBstr(text.c_str()));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(SysStringLen(wide.get()), 1000u);
    EXPECT_EQ(wide.get()[999], L'z');
    EXPECT_EQ(ToUtf8(wide.get()), text);
}

// Characters of any script, the bench's code page (1252) notwithstanding, and one beyond the
// 16-bit range (a surrogate pair).
TEST(Wide, EveryScriptRoundTrips) {
    const char* utf8 = "caf\xC3\xA9 \xD0\x94\xD0\xBC \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xAE";
    const wchar_t* wide = L"caf\u00E9 \u0414\u043C \u65E5\u672C \U0001F3AE";
    Bstr bstr(Utf8ToBstr(utf8));
    EXPECT_EQ(std::wstring(bstr.get()), wide);
    EXPECT_EQ(ToUtf8(bstr.get()), utf8);
    EXPECT_EQ(Wide(utf8), wide);
    EXPECT_EQ(Utf8Of(wide), utf8);
}

// A buffer too small for the text is filled with whole characters only.
TEST(Wide, BoundedConversionCutsBetweenCharacters) {
    char buffer[6];
    EXPECT_FALSE(WideToUtf8(buffer, sizeof buffer, L"ab\u65E5\u672C"));
    EXPECT_STREQ(buffer, "ab\xE6\x97\xA5");
    EXPECT_TRUE(WideToUtf8(buffer, sizeof buffer, L"\u0414\u043C"));
    wchar_t wide[4];
    EXPECT_TRUE(Utf8ToWideBuffer(wide, 4, "\xD0\x94\xF0\x9F\x8E\xAE"));
    EXPECT_EQ(std::wstring(wide), L"\u0414\U0001F3AE");
    EXPECT_FALSE(Utf8ToWideBuffer(wide, 3, "\xD0\x94\xF0\x9F\x8E\xAE"));
    EXPECT_EQ(wide[0], L'\0');
}

} // namespace
