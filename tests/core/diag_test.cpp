// The diagnostic log: entry format, logging off, the one-time failure box, appending, the
// version at the head of a run's entries.
#include "base/diag.h"
#include "fake_error_box.h"
#include "tovak_version.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Restores the process-wide log settings after each test.
class Diag : public testing::Test {
  protected:
    void SetUp() override {
        g_shownErrors.clear();
        g_bLogVersionWritten = 0;
        path = std::string(TOVAK_BINARY_DIR) + "/diag_test_log.txt";
        std::remove(path.c_str());
    }
    void TearDown() override {
        g_bLogEnabled = 0;
        g_bLogVersionWritten = 0;
        CopyText(g_szLogFile, sizeof g_szLogFile, "c:\\tovak.txt");
        std::remove(path.c_str());
        g_shownErrors.clear();
    }
    void UseLog(const std::string& file, int enabled) {
        ASSERT_TRUE(CopyText(g_szLogFile, sizeof g_szLogFile, file.c_str()));
        g_bLogEnabled = enabled;
    }
    std::string path;
};

TEST(DiagFormat, EntriesAreNotZeroFilled) {
    char line[100];
    ASSERT_TRUE(FormatLogLine(line, sizeof line, LogTime{2027, 1, 1, 9, 5, 3}, "msg"));
    EXPECT_STREQ(line, "1/1/2027 9:5:3 - msg\r\n");
    ASSERT_TRUE(FormatLogLine(line, sizeof line, LogTime{2026, 12, 31, 23, 59, 0}, "x"));
    EXPECT_STREQ(line, "12/31/2026 23:59:0 - x\r\n");
    EXPECT_FALSE(FormatLogLine(line, 10, LogTime{2027, 1, 1, 9, 5, 3}, "msg"));
}

TEST_F(Diag, LoggingOffWritesAndShowsNothing) {
    UseLog(path, 0);
    EXPECT_EQ(WriteLog("WinMain at1"), 1);
    EXPECT_FALSE(std::ifstream(path).good());
    UseLog("/no/such/folder/log.txt", 0);
    EXPECT_EQ(WriteLog("WinMain at1"), 1);
    EXPECT_TRUE(g_shownErrors.empty());
}

TEST_F(Diag, AnUnopenableLogIsReportedOnceThenLoggingStops) {
    const std::string bad = "/no/such/folder/log.txt";
    UseLog(bad, 1);
    EXPECT_EQ(WriteLog("first"), 0);
    EXPECT_EQ(g_bLogEnabled, 0);
    EXPECT_EQ(WriteLog("second"), 1);
    ASSERT_EQ(g_shownErrors.size(), 1u);
    EXPECT_EQ(g_shownErrors[0], "Failed to open log file " + bad + "\n\nLogging has been disabled");

    // The longest path the setting holds is shown whole.
    g_shownErrors.clear();
    std::string longPath = "/no/such/" + std::string(299 - 9, 'p');
    UseLog(longPath, 1);
    WriteLog("x");
    ASSERT_EQ(g_shownErrors.size(), 1u);
    EXPECT_NE(g_shownErrors[0].find(longPath + "\n\nLogging"), std::string::npos);
}

TEST_F(Diag, EntriesAreAppendedToAnExistingLogAfterTheVersionOnce) {
    {
        std::ofstream out(path, std::ios::binary);
        out << "kept\n";
    }
    UseLog(path, 1);
    EXPECT_EQ(WriteLog("WinMain at1"), 1);
    EXPECT_EQ(WriteLog(std::string(1000, 'm').c_str()), 1);
    std::string content = ReadFile(path);
    ASSERT_EQ(content.compare(0, 5, "kept\n"), 0);
    std::istringstream lines(content.substr(5));
    std::string version, first, second, none;
    std::getline(lines, version);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_FALSE(std::getline(lines, none));
    ASSERT_EQ(first.back(), '\r');
    version.pop_back();
    first.pop_back();
    second.pop_back();
    LogTime now = CurrentLogTime();
    EXPECT_EQ(first.substr(0, first.find(' ')), std::to_string(now.nMonth) + "/" +
                                                    std::to_string(now.nDay) + "/" +
                                                    std::to_string(now.nYear));
    EXPECT_EQ(version.substr(version.find(" - ")), " - Tovak " TOVAK_VERSION);
    EXPECT_EQ(first.substr(first.find(" - ")), " - WinMain at1");
    EXPECT_EQ(second.substr(second.find(" - ") + 3), std::string(1000, 'm'));
    EXPECT_TRUE(g_shownErrors.empty());
}

} // namespace
