// Substitute players: the command line a player gets from its key as a publisher writes it in
// tovak.ini (the profile reader strips quotes around a whole value), and when a player plays a
// game instead of its control.
#include "menu/player.h"
#include "menu/run_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The command line made for the game, or "refused" when nothing at all was made.
std::string Make(const char* command, const std::string& workDir = "C:\\Games",
                 const std::string& game = "C:\\Games\\my game\\movie.swf") {
    char program[TEXT_MAX], line[kPlayerCommandMax];
    if (MakePlayerCommand(command, workDir.c_str(), game.c_str(), program, sizeof program, line,
                          sizeof line))
        return line;
    return program[0] || line[0] ? "half made" : "refused";
}

} // namespace

TEST(PlayerCommand, LinesAsWrittenInTheConfiguration) {
    const std::string bare = "C:\\Games\\my game\\movie.swf", game = "\"" + bare + "\"";
    const std::pair<const char*, std::string> cases[] = {
        {"players\\flash\\player.exe --fullscreen \"%1\"",
         "\"C:\\Games\\players\\flash\\player.exe\" --fullscreen " + game},
        // A value that begins and ends with a quote is written in one more pair of quotes.
        {"\"\"my player\\play.exe\" \"%1\"\"", "\"C:\\Games\\my player\\play.exe\" " + game},
        {"  \"my player\\play.exe\"  -a %1 -b=%1",
         "\"C:\\Games\\my player\\play.exe\" -a " + bare + " -b=" + bare},
        {"player.exe", "\"C:\\Games\\player.exe\" " + game},
        {"player.exe\t -x", "\"C:\\Games\\player.exe\" -x " + game},
        {"D:\\Tools\\p.exe %1", "\"D:\\Tools\\p.exe\" " + bare},
        {"\\\\server\\share\\p.exe", "\"\\\\server\\share\\p.exe\" " + game},
        // A quote never closed: the program runs to the end, and no "%1" is left to replace.
        {"\"p.exe %1", "\"C:\\Games\\p.exe %1\" " + game},
    };
    for (const auto& [written, made] : cases) {
        CIniProfile ini = CIniProfile::FromText(std::string("[Settings]\nswfplayer=") + written);
        RunSettings settings;
        ReadRunSettings(ini, settings);
        EXPECT_EQ(Make(PlayerFor(settings.launch, GameKind::Flash).command), made) << written;
    }

    // What does not fit is refused whole: the game's path many times, or the program's path.
    std::string longGame = "C:\\" + std::string(880, 'g') + ".swf", longDir(888, 'd');
    EXPECT_NE(Make("p.exe %1 %1", "C:\\Games", longGame), "refused");
    EXPECT_EQ(Make("p.exe %1 %1 %1 %1 %1", "C:\\Games", longGame), "refused");
    EXPECT_NE(Make("play.exe", longDir), "refused");
    EXPECT_EQ(Make("players\\play.exe", longDir), "refused");
}

TEST(PlayerCommand, APlayerTakesAMovieWhereItsControlIsMissingOrWhenPlayersComeFirst) {
    LaunchSettings settings;
    CopyText(settings.strSwfPlayer, TEXT_MAX, "flash.exe");
    CopyText(settings.strHtmPlayer, TEXT_MAX, "browser.exe --app=%1");
    const struct {
        GameKind kind;
        bool bInstalled;
        int bPlayerFirst;
        bool bPlayer;
    } cases[] = {
        {GameKind::Flash, false, 0, true},  {GameKind::Flash, true, 0, false},
        {GameKind::Flash, true, 1, true},   {GameKind::Shockwave, false, 1, false},
        {GameKind::WebPage, true, 0, true}, {GameKind::Executable, false, 1, false},
    };
    for (const auto& c : cases) {
        settings.bPlayerFirst = c.bPlayerFirst;
        EXPECT_EQ(PlayerTakesGame(settings, c.kind, c.bInstalled), c.bPlayer)
            << static_cast<int>(c.kind) << c.bInstalled << c.bPlayerFirst;
    }
}
