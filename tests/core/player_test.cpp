// Substitute players: the command line a player gets from its key as a publisher writes it in
// tovak.ini (read by the profile reader, which strips quotes around a whole value), and when a
// player plays a game instead of its control.
#include "menu/player.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kGame = "C:\\Games\\my game\\movie.swf";

struct Made {
    bool ok;
    std::string program, commandLine;
};

Made Make(const std::string& command, const char* workDir = "C:\\Games", const char* game = kGame) {
    char program[TEXT_MAX], commandLine[kPlayerCommandMax];
    bool ok = MakePlayerCommand(command.c_str(), workDir, game, program, sizeof program,
                                commandLine, sizeof commandLine);
    return Made{ok, program, commandLine};
}

} // namespace

TEST(PlayerCommand, LinesAsWrittenInTheConfiguration) {
    const std::string game = std::string("\"") + kGame + "\"";
    struct Case {
        const char* written; // the value of swfplayer in the file
        const char* program;
        std::string commandLine;
    } cases[] = {
        {"players\\flash\\player.exe --fullscreen \"%1\"", "C:\\Games\\players\\flash\\player.exe",
         "\"C:\\Games\\players\\flash\\player.exe\" --fullscreen " + game},
        // A value that begins and ends with a quote is written in one more pair of quotes.
        {"\"\"my player\\play.exe\" \"%1\"\"", "C:\\Games\\my player\\play.exe",
         "\"C:\\Games\\my player\\play.exe\" " + game},
        {"  \"my player\\play.exe\"  -a %1 -b=%1", "C:\\Games\\my player\\play.exe",
         "\"C:\\Games\\my player\\play.exe\" -a " + std::string(kGame) + " -b=" + kGame},
        {"player.exe", "C:\\Games\\player.exe", "\"C:\\Games\\player.exe\" " + game},
        {"player.exe\t -x", "C:\\Games\\player.exe", "\"C:\\Games\\player.exe\" -x " + game},
        {"D:\\Tools\\p.exe %1", "D:\\Tools\\p.exe", "\"D:\\Tools\\p.exe\" " + std::string(kGame)},
        {"\\\\server\\share\\p.exe", "\\\\server\\share\\p.exe",
         "\"\\\\server\\share\\p.exe\" " + game},
        // A quote never closed: the program runs to the end, and no "%1" is left to replace.
        {"\"p.exe %1", "C:\\Games\\p.exe %1", "\"C:\\Games\\p.exe %1\" " + game},
    };
    for (const Case& c : cases) {
        CIniProfile ini =
            CIniProfile::FromText(std::string("[Settings]\r\nswfplayer=") + c.written + "\r\n");
        LaunchSettings settings;
        ReadLaunchSettings(ini, settings);
        Made made = Make(PlayerFor(settings, GameKind::Flash).command);
        SCOPED_TRACE(c.written);
        EXPECT_TRUE(made.ok);
        EXPECT_EQ(made.program, c.program);
        EXPECT_EQ(made.commandLine, c.commandLine);
    }
}

TEST(PlayerCommand, WhatDoesNotFitIsRefusedWithNothingHalfMade) {
    std::string longGame = "C:\\" + std::string(280, 'g') + ".swf";
    EXPECT_TRUE(Make("p.exe %1 %1", "C:\\Games", longGame.c_str()).ok);
    Made refused = Make("p.exe %1 %1 %1 %1 %1", "C:\\Games", longGame.c_str());
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.program, "");
    EXPECT_EQ(refused.commandLine, "");
    // The program's path joined to a long working directory does not fit either.
    std::string longDir = "C:\\" + std::string(285, 'd');
    EXPECT_TRUE(Make("play.exe", longDir.c_str()).ok);
    EXPECT_FALSE(Make("players\\play.exe", longDir.c_str()).ok);
}

TEST(PlayerCommand, APlayerTakesAMovieWhereItsControlIsMissingOrWhenPlayersComeFirst) {
    LaunchSettings settings;
    CopyText(settings.strSwfPlayer, TEXT_MAX, "flash.exe");
    CopyText(settings.strHtmPlayer, TEXT_MAX, "browser.exe --app=%1");
    struct Case {
        GameKind kind;
        bool bInstalled;
        int bPlayerFirst;
        bool bPlayer;
    } cases[] = {
        {GameKind::Flash, false, 0, true},  {GameKind::Flash, true, 0, false},
        {GameKind::Flash, true, 1, true},   {GameKind::Shockwave, false, 1, false},
        {GameKind::WebPage, true, 0, true}, {GameKind::Executable, false, 1, false},
    };
    for (const Case& c : cases) {
        settings.bPlayerFirst = c.bPlayerFirst;
        EXPECT_EQ(PlayerTakesGame(settings, c.kind, c.bInstalled), c.bPlayer)
            << static_cast<int>(c.kind) << " installed " << c.bInstalled << " first "
            << c.bPlayerFirst;
    }
}
