// Substitute players that cannot play, and the browser control's document mode: tovak.exe under
// Wine with the control doubles installed.
#include "game_test_support.h"

using namespace bench;
using namespace gametest;

TEST(Player, OneBoxNamingProgramAndKeyAndTheMenuGoesOn) {
    std::string many;
    for (int i = 0; i < 80; ++i)
        many += "%1";
    // The controls are installed here: playerfirst makes the players play anyway.
    GameFolder g("player_failures", 3,
                 "playerfirst=Y\r\nswfplayer=players\\missing.exe \"%1\"\r\n"
                 "dcrplayer=notaprogram.exe\r\n" // the game's path 80 times does not fit:
                 "htmplayer=browser.exe " +
                     many + "\r\n" + Selection(1, "runexit", "movie.swf") +
                     Selection(2, "runexit", "show.dcr") + Selection(3, "runexit", "page.htm"));
    ASSERT_TRUE(WriteTextFile(Join(g.folder.path, "notaprogram.exe"), "not a program"));
    g.Start();
    const std::string boxes[] = {"The player program was not found\n\nprogram=" + g.folder.path +
                                     "\\players\\missing.exe\n\nkey=swfplayer",
                                 "Failed to start the player program\n\nprogram=" + g.folder.path +
                                     "\\notaprogram.exe\n\nkey=dcrplayer",
                                 "The player's command line is too long to start\n\nkey=htmplayer"};
    for (int n = 1; n <= 3; ++n) {
        g.Activate(n);
        BoxInfo box;
        ASSERT_TRUE(WaitMessageBox(g.proc.Pid(), box, kLong));
        EXPECT_EQ(box.text, boxes[n - 1]);
        PressButton(box.hwnd, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.hwnd) && IsEnabled(g.menu); }, kLong));
    }
    // Nothing else happened: no control was made, and the menu goes on.
    EXPECT_TRUE(g.Journal().empty());
    PressKey(g.menu, VK_ESCAPE);
    EXPECT_EQ(g.proc.WaitExit(kLong), 0);
}

TEST(Player, BrowserControlMadeInItsNewestModeUnlessTheUserChoseOne) {
    hosttest::ProgIdMapping browser("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
    ASSERT_TRUE(browser.mapped);
    const char* const key = "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\"
                            "FEATURE_BROWSER_EMULATION";
    const struct {
        DWORD before;         // 0: no value
        const char* settings; // more keys of the first menu
        const char* atCreation;
        DWORD after;
    } cases[] = {
        {0, "", "11001", 11001}, {8000, "", "8000", 8000}, {0, "browsermode=N\r\n", "none", 0}};
    for (const auto& c : cases) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "tovak.exe");
        if (c.before)
            RegSetKeyValueA(HKEY_CURRENT_USER, key, "tovak.exe", REG_DWORD, &c.before, 4);
        // One selection: the game starts at once, and its end ends the program.
        GameFolder g("player_emulation", 1, c.settings + Selection(1, "run", "page.htm"));
        std::string script = Join(g.folder.path, "script.txt");
        WriteTextFile(script, "emulation\n");
        ASSERT_TRUE(g.proc.Start(
            g.folder.path, "",
            {TOVAK_DOUBLE_JOURNAL_ENV "=" + g.journal, TOVAK_DOUBLE_SCRIPT_ENV "=" + script}));
        HWND bk = g.WaitBackground();
        ASSERT_NE(bk, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return g.Journal().size() >= 2; }, kLong));
        EXPECT_EQ(g.Journal()[1], std::string("IWebBrowser2 emulation ") + c.atCreation);
        DWORD after = 0, size = sizeof after;
        RegGetValueA(HKEY_CURRENT_USER, key, "tovak.exe", RRF_RT_REG_DWORD, nullptr, &after, &size);
        EXPECT_EQ(after, c.after) << c.settings;
        PostMessageA(bk, WM_CLOSE, 0, 0);
        EXPECT_EQ(g.proc.WaitExit(kLong), 0);
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "tovak.exe");
}
