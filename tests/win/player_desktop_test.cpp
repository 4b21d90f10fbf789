// A Flash game on a machine without the Flash control, played by the substitute player that
// the publisher bundled (the stand-in player), inside a Wine virtual desktop where display
// modes really switch.
#include "game_test_support.h"

using namespace bench;
using namespace gametest;

TEST(PlayerDesktop, MissingControlThePlayerPlaysWhileTheMenuWaitsThenRunAndRunExit) {
    auto width = [] { return GetSystemMetrics(SM_CXSCREEN); };
    ASSERT_EQ(width(), 1024);
    hosttest::ProgIdMapping noFlash("ShockwaveFlash.ShockwaveFlash.7", nullptr);
    ASSERT_TRUE(noFlash.mapped);
    GameFolder g("player_desktop", 2,
                 "swfplayer=players\\player.exe --fullscreen \"%1\"\r\n" +
                     Selection(1, "run", "my games\\movie.swf",
                               Sel(1, "screenfull", "Y") + Sel(1, "screensize", "640,480") +
                                   Sel(1, "screencolordepth", "32")) +
                     Selection(2, "runexit", "movie.swf"));
    CreateDirectoryA(Join(g.folder.path, "players").c_str(), nullptr);
    ASSERT_TRUE(CopyFileTo(StandInPlayer(), Join(g.folder.path, "players\\player.exe")));
    g.Start();

    // The player gets the game's path in quotes, starts in the game folder and in the
    // selection's display mode; the menu waits for it without freezing.
    g.Activate(1);
    HWND player = WaitStandIn();
    ASSERT_NE(player, nullptr);
    const std::string command = "player command \"" + g.folder.path +
                                "\\players\\player.exe\" --fullscreen \"" + g.folder.path + "\\";
    EXPECT_TRUE(WaitUntil([&] { return g.Journal().size() == 2; }, kLong));
    EXPECT_EQ(g.Journal(),
              (std::vector<std::string>{command + "my games\\movie.swf\"",
                                        "player in " + g.folder.path + " at 640x480"}));
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(g.menu); }, kLong));
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(g.menu, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer), 0);
    g.Activate(2); // input that reaches the waiting menu all the same starts nothing
    ShowWindow(player, SW_MINIMIZE);
    EXPECT_TRUE(
        WaitUntil([&] { return ReadPixel(g.menu, 230, 5) == menutest::Ref(kTitleColour); }, kLong));
    EXPECT_EQ(g.Journal().size(), 2u);

    // A key ends the player: the desktop's mode and the menu come back, in front.
    PressKey(player, VK_SPACE);
    EXPECT_TRUE(
        WaitUntil([&] { return width() == 1024 && GetForegroundWindow() == g.menu; }, kLong));
    EXPECT_TRUE(IsEnabled(g.menu));

    // "runexit": the program ends with the player; a windowed game keeps the desktop's mode.
    WriteTextFile(g.journal, "");
    g.Activate(2);
    ASSERT_NE(player = WaitStandIn(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return g.Journal().size() == 2; }, kLong));
    EXPECT_EQ(g.Journal()[0], command + "movie.swf\"");
    EXPECT_EQ(g.Journal()[1], "player in " + g.folder.path + " at 1024x768");
    PostMessageA(player, WM_CLOSE, 0, 0);
    EXPECT_EQ(g.proc.WaitExit(kLong), 0);
}
