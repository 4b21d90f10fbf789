// Where the configuration file is found, and the registration order of the window classes.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kDir = "C:\\games\\tovak";

std::string Resolve(const char* cmdLine, const char* dir = kDir) {
    std::string error;
    EXPECT_TRUE(ResolveConfigPath(dir, cmdLine, error)) << cmdLine << ": " << error;
    EXPECT_STREQ(g_szWorkDir, dir);
    return g_szIniFile;
}

std::string Refuse(const std::string& cmdLine, const std::string& dir = kDir) {
    std::string error;
    EXPECT_FALSE(ResolveConfigPath(dir.c_str(), cmdLine.c_str(), error)) << cmdLine;
    EXPECT_STREQ(g_szIniFile, "");
    return error;
}

TEST(Startup, TheConfigurationFileIsTheFirstTokenInTheWorkingDirectory) {
    EXPECT_EQ(Resolve(""), "C:\\games\\tovak\\tovak.ini");
    EXPECT_EQ(Resolve("  other.ini extra"), "C:\\games\\tovak\\other.ini");
    EXPECT_EQ(Resolve("\"my game.ini\""), "C:\\games\\tovak\\my game.ini");
    EXPECT_EQ(Resolve("abc\""), "C:\\games\\tovak\\tovak.ini");
    // A full path is joined all the same.
    EXPECT_EQ(Resolve("D:\\x\\a.ini"), "C:\\games\\tovak\\D:\\x\\a.ini");
    EXPECT_EQ(Resolve("a.ini", ""), "\\a.ini");
}

TEST(Startup, OverLongPathsAreRefusedWithAClearText) {
    std::string token(900, 't');
    std::string error = Refuse(token);
    EXPECT_EQ(error, "The configuration file named on the command line is longer than 899 "
                     "characters:\n\n" +
                         token);

    // 882 + 1 + 16 = 899 bytes fit; one more does not.
    std::string dir = "C:\\" + std::string(879, 'd');
    EXPECT_EQ(Resolve("0123456789ab.ini", dir.c_str()).size(), 899u);
    error = Refuse("0123456789abc.ini", dir);
    EXPECT_EQ(error, "The path of the configuration file is longer than 899 characters:\n\n" + dir +
                         "\\0123456789abc.ini");

    std::string longDir = "C:\\" + std::string(897, 'd');
    error = Refuse("", longDir);
    EXPECT_EQ(error, "The folder Tovak was started in has a path longer than 899 characters:\n\n" +
                         longDir + "\n\nMove the game to a folder with a shorter path.");
    EXPECT_STREQ(g_szWorkDir, "");
}

TEST(Startup, RegistrationStopsAtTheFirstFailingClass) {
    std::vector<std::string> registered;
    auto failAt = [&](int failing) {
        registered.clear();
        return RegisterWindowClasses([&](int index) {
            if (index == failing)
                return false;
            registered.push_back(kWindowClasses[index].name);
            return true;
        });
    };
    EXPECT_EQ(failAt(-1), nullptr);
    EXPECT_EQ(registered,
              (std::vector<std::string>{"WinFuncs", "BkGrndWnd", "LoadLogo", "CloseBtn"}));
    EXPECT_STREQ(failAt(2), "RegisterClassEx for LoadLogo failed");
    EXPECT_EQ(registered, (std::vector<std::string>{"WinFuncs", "BkGrndWnd"}));
    EXPECT_STREQ(failAt(0), "RegisterClassEx for WinFuncs failed");
    EXPECT_TRUE(registered.empty());
    EXPECT_STREQ(failAt(3), "RegisterClassEx for CloseBtn failed");
}

} // namespace
