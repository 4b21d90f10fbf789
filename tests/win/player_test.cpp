// Substitute players that cannot play, and the browser control's document mode: tovak.exe under
// Wine with the control doubles installed.
#include "game_test_support.h"

using namespace bench;
using namespace gametest;

namespace {

const char* const kEmulationKey =
    "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

// The current user's browser-emulation value for tovak.exe; -1 when there is none.
long Emulation() {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kEmulationKey, "tovak.exe", RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS)
        return -1;
    return static_cast<long>(value);
}

void SetEmulation(long value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kEmulationKey, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (value < 0) {
        RegDeleteValueA(key, "tovak.exe");
    } else {
        DWORD v = static_cast<DWORD>(value);
        RegSetValueExA(key, "tovak.exe", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    }
    RegCloseKey(key);
}

} // namespace

TEST(Player, OneBoxNamingProgramAndKeyAndTheMenuGoesOn) {
    // The controls are installed here: playerfirst makes the players play anyway.
    std::string tooLong;
    for (int i = 0; i < 25; ++i)
        tooLong += "%1";
    GameFolder g("player_failures", 3,
                 "playerfirst=Y\r\nswfplayer=players\\missing.exe \"%1\"\r\n"
                 "dcrplayer=notaprogram.exe\r\nhtmplayer=browser.exe " +
                     tooLong + "\r\n" + Selection(1, "runexit", "movie.swf") +
                     Selection(2, "runexit", "show.dcr") + Selection(3, "runexit", "page.htm"));
    ASSERT_TRUE(WriteTextFile(Join(g.folder.path, "notaprogram.exe"), "not a program"));
    ASSERT_TRUE(PlaceStandIn(g.folder.path, "browser.exe"));
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
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.text, boxes[n - 1]);
        PressButton(box.hwnd, IDOK);
        EXPECT_TRUE(WaitGone(box.hwnd, kLong));
        EXPECT_TRUE(WaitUntil([&] { return IsEnabled(g.menu); }, kLong));
    }
    // Nothing else happened: no control was made, no player started, and the menu goes on.
    EXPECT_TRUE(g.Journal().empty());
    EXPECT_TRUE(g.proc.Running());
    PressKey(g.menu, VK_ESCAPE);
    EXPECT_EQ(g.proc.WaitExit(kLong), 0);
}

TEST(Player, BrowserControlMadeInItsNewestModeUnlessTheUserChoseOne) {
    hosttest::ProgIdMapping browser("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
    ASSERT_TRUE(browser.mapped);
    struct Case {
        long before;            // the value before the run; -1: none
        const char* settings;   // more keys of the first menu
        std::string atCreation; // what the control found when it was made
        long after;
    } cases[] = {
        {-1, "", "11001", 11001},
        {8000, "", "8000", 8000},
        {-1, "browsermode=N\r\n", "none", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        SetEmulation(c.before);
        // One selection: the game starts at once and its end ends the program.
        GameFolder g("player_emulation", 1,
                     std::string(c.settings) + Selection(1, "run", "page.htm"));
        WriteTextFile(Join(g.folder.path, "script.txt"), "emulation\n");
        ASSERT_TRUE(g.proc.Start(
            g.folder.path, "",
            {std::string(TOVAK_DOUBLE_JOURNAL_ENV) + "=" + g.journal,
             std::string(TOVAK_DOUBLE_SCRIPT_ENV) + "=" + Join(g.folder.path, "script.txt")}));
        HWND bk = g.WaitBackground();
        ASSERT_NE(bk, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return g.Journal().size() >= 2; }, kLong));
        EXPECT_EQ(g.Journal()[1], "IWebBrowser2 emulation " + c.atCreation);
        EXPECT_EQ(Emulation(), c.after);
        PostMessageA(bk, WM_CLOSE, 0, 0);
        EXPECT_EQ(g.proc.WaitExit(kLong), 0);
    }
    SetEmulation(-1);
}
