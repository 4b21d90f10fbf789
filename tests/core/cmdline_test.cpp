#include "app/cmdline.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Scan {
    CommandLineResult result;
    std::string token;
};

Scan ScanLine(const char* line, std::size_t size = 300) {
    char token[300];
    CommandLineResult r = ScanCommandLine(line, token, size);
    return {r, token};
}

TEST(CommandLine, FirstTokenNamesTheConfiguration) {
    EXPECT_EQ(ScanLine("").result, CMDLINE_NO_TOKEN);
    EXPECT_EQ(ScanLine(nullptr).result, CMDLINE_NO_TOKEN);
    EXPECT_EQ(ScanLine("   ").result, CMDLINE_NO_TOKEN);
    Scan s = ScanLine("  other.ini extra");
    EXPECT_EQ(s.result, CMDLINE_TOKEN);
    EXPECT_EQ(s.token, "other.ini");
    EXPECT_EQ(ScanLine("x").token, "x");
    EXPECT_EQ(ScanLine("C:\\games\\a.ini").token, "C:\\games\\a.ini");
}

TEST(CommandLine, QuotesHoldBlanksAndSwitchTheDelimiter) {
    EXPECT_EQ(ScanLine("\"my game.ini\"").token, "my game.ini");
    EXPECT_EQ(ScanLine("  \"my game.ini\" second").token, "my game.ini");
    EXPECT_EQ(ScanLine("abc\"de f\"").token, "abcde f");
    // After a quoted token the delimiter is the blank again.
    EXPECT_EQ(ScanLine("\"a b\"c d").token, "a b");
    // An unfinished quote at the very end leaves the token unfinished.
    EXPECT_EQ(ScanLine("abc\"").result, CMDLINE_NO_TOKEN);
    // A token runs to the last character even inside an open quote.
    EXPECT_EQ(ScanLine("\"abc").token, "abc");
    EXPECT_EQ(ScanLine("\"\"").result, CMDLINE_NO_TOKEN);
}

TEST(CommandLine, LongTokensAreRefusedNeverCut) {
    std::string fits(299, 'a');
    Scan s = ScanLine(fits.c_str());
    EXPECT_EQ(s.result, CMDLINE_TOKEN);
    EXPECT_EQ(s.token, fits);
    std::string tooLong(300, 'a');
    EXPECT_EQ(ScanLine(tooLong.c_str()).result, CMDLINE_TOO_LONG);
    EXPECT_EQ(ScanLine(("\"" + tooLong + "\"").c_str()).result, CMDLINE_TOO_LONG);
    // Only the first token counts: a long second token is ignored.
    EXPECT_EQ(ScanLine(("a.ini " + tooLong).c_str()).token, "a.ini");
    // A tiny buffer still never overflows.
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(ScanCommandLine("abcd", small, sizeof small), CMDLINE_TOO_LONG);
    EXPECT_EQ(ScanCommandLine("abc", small, sizeof small), CMDLINE_TOKEN);
    EXPECT_STREQ(small, "abc");
}

} // namespace
