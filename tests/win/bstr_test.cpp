// The narrow/wide conversions used for every COM call, in this process.
#include "base/bstr_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct BstrFree {
    void operator()(wchar_t* s) const { SysFreeString(s); }
};
using Bstr = std::unique_ptr<wchar_t, BstrFree>;

std::string ToAnsi(BSTR text) {
    std::unique_ptr<char[]> ansi(BstrToAnsi(text));
    EXPECT_NE(ansi, nullptr);
    return ansi ? std::string(ansi.get()) : std::string("<null>");
}

TEST(Bstr, EmptyAndNullTexts) {
    EXPECT_EQ(BstrToAnsi(nullptr), nullptr);
    Bstr empty(SysAllocString(L""));
    std::unique_ptr<char[]> ansi(BstrToAnsi(empty.get()));
    ASSERT_NE(ansi, nullptr);
    EXPECT_EQ(ansi[0], '\0');
    Bstr fromEmpty(AnsiToBstr(""));
    ASSERT_NE(fromEmpty, nullptr);
    EXPECT_EQ(SysStringLen(fromEmpty.get()), 0u);
}

TEST(Bstr, LongTextsConvertWhole) {
    std::string text(1000, 'a');
    text[999] = 'z';
    Bstr wide(AnsiToBstr(text.c_str()));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(SysStringLen(wide.get()), 1000u);
    EXPECT_EQ(wide.get()[999], L'z');
    EXPECT_EQ(ToAnsi(wide.get()), text);
}

TEST(Bstr, AnsiCharactersRoundTrip) {
    ASSERT_EQ(GetACP(), 1252u); // the bench's code page, which the expectations below use
    Bstr accented(AnsiToBstr("caf\xE9 \x80"));
    EXPECT_EQ(std::wstring(accented.get()), L"caf\u00E9 \u20AC");
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    Bstr wide(AnsiToBstr(all.c_str()));
    EXPECT_EQ(SysStringLen(wide.get()), 255u);
    EXPECT_EQ(ToAnsi(wide.get()), all);
    // A wide character with no ANSI form still converts, to a stand-in.
    Bstr greek(SysAllocString(L"\u03A9x"));
    EXPECT_EQ(ToAnsi(greek.get()).size(), 2u);
}

} // namespace
