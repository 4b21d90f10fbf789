// Games launched from the title screen under Wine: the game screen's windows, how each close
// brings back, closes or ends the menu, executables, and launches that fail.
#include "game_test_support.h"

#include <cstdlib>

using namespace bench;
using namespace gametest;

namespace {

const std::string kWindowedPage = Sel(1, "screensize", "640,480") + Sel(1, "gamesize", "320,240") +
                                  Sel(1, "screenbgcolor", "123456") + Sel(1, "screenfull", "N") +
                                  Sel(1, "screenclosebtn", "Y");

} // namespace

TEST(GameScreen, WindowedPageInWinesBrowserControl) {
    GameFolder g("game_windowed_page", 1, Selection(1, "run", "page.htm", kWindowedPage));
    // Two selections would show the title screen; one runs at once. Add an exit selection.
    WriteTextFile(Join(g.folder.path, "page.htm"), "<html><body>page</body></html>");
    std::string ini = ReadTextFile(Join(g.folder.path, kConfigFileName));
    ini.replace(ini.find("numselections=1"), 15, "numselections=2");
    WriteTextFile(Join(g.folder.path, kConfigFileName), ini + Selection(2, "exit", ""));
    g.Start();

    g.Activate(1);
    HWND bk = g.WaitBackground();
    ASSERT_NE(bk, nullptr);
    EXPECT_EQ(Text(bk), "Game Title");
    EXPECT_EQ(Style(bk) & ~static_cast<LONG_PTR>(WS_CLIPSIBLINGS | WS_CLIPCHILDREN), 0x90C80000);
    EXPECT_EQ(Owner(bk), g.menu);
    // The client area is the whole screen size asked for, the window centred on the desktop.
    RECT client = ClientRect(bk), outer = WindowRect(bk);
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
    EXPECT_EQ(FindChild(bk, "CloseBtn"), nullptr); // windowed: no close button
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(g.menu); }, kLong));
    EXPECT_TRUE(WaitUntil([&] { return ReadPixel(bk, 5, 5) == RGB(0x12, 0x34, 0x56); }, kLong));

    // The container sits at the centred game rectangle, and every window Wine's browser made
    // lies inside it.
    HWND container = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (container = FindChild(bk, "AtlAxWin")) != nullptr; }));
    RECT game = ToClient(bk, WindowRect(container));
    EXPECT_EQ(game.left, 160);
    EXPECT_EQ(game.top, 120);
    EXPECT_EQ(game.right, 480);
    EXPECT_EQ(game.bottom, 360);
    // On screen: Wine's (empty) page inside the rectangle, the background around it.
    EXPECT_TRUE(WaitUntil([&] { return ReadPixel(bk, 160, 120) == RGB(255, 255, 255); }, kLong));
    EXPECT_EQ(ReadPixel(bk, 479, 359), RGB(255, 255, 255));
    EXPECT_EQ(ReadPixel(bk, 159, 119), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(ReadPixel(bk, 480, 360), RGB(0x12, 0x34, 0x56));
    std::vector<HWND> inner = ChildWindows(container);
    EXPECT_FALSE(inner.empty());
    for (HWND w : inner) {
        RECT r = ToClient(bk, WindowRect(w));
        EXPECT_TRUE(r.left >= game.left && r.top >= game.top && r.right <= game.right &&
                    r.bottom <= game.bottom)
            << ClassOf(w) << " at " << r.left << "," << r.top;
    }

    // Another program in front: the desktop's mode; back again: the game's, and the browser
    // is brought forward.
    HWND other = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    EXPECT_TRUE(PumpUntil([&] { return g.folder.Logged("ClientHostWndProc at5"); }));
    EXPECT_TRUE(g.folder.Logged("ClientHostWndProc at4"));
    DestroyWindow(other);
    EXPECT_TRUE(TypeKey(bk, VK_SHIFT));
    EXPECT_TRUE(PumpUntil([&] { return g.folder.Logged("ClientHostWndProc at7"); }));
    EXPECT_TRUE(g.folder.Logged("WaitBusy at1"));

    // The close box: the menu comes back, enabled, blinking again.
    PostMessageA(bk, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitGone(bk, kLong));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(g.menu); }, kLong));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return menutest::FrameShown(g.menu, RECT{10, 10, 210, 40}, RGB(0, 255, 0));
        },
        kLong));

    // Again, and this time the control's window goes away: the game screen closes with it.
    g.Activate(1);
    bk = g.WaitBackground();
    ASSERT_NE(bk, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return (container = FindChild(bk, "AtlAxWin")) != nullptr; }));
    PostMessageA(container, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitGone(bk, kLong));
    EXPECT_TRUE(g.folder.Logged("ClientHostWndProc at15"));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(g.menu); }, kLong));

    // Two closed records are still in the table when the program ends: no crash at exit.
    PressKey(g.menu, VK_ESCAPE);
    EXPECT_EQ(g.proc.WaitExit(kLong), 0);
    std::vector<std::string> log = g.folder.Log();
    EXPECT_EQ(g.folder.CountLogged("CMenuWnd::RunSelection at5"), 2);
    EXPECT_EQ(g.folder.CountLogged("CMenuWnd::RunSelection at6"), 2);
    EXPECT_EQ(g.folder.CountLogged("~CBrowserFuncs"), 2);
}

TEST(GameScreen, MoviesCloseOnTheirEventOnlyWhenAsked) {
    const std::string windowed = Sel(0, "screenfull", "N");
    std::string sels = Selection(1, "run", "movie.swf",
                                 Sel(1, "screenfull", "N") + Sel(1, "closeonevent", "Y") +
                                     Sel(1, "gamebgcolor", "ABCDEF")) +
                       Selection(2, "run", "HTTPS://example.com/Movie2.SWF",
                                 Sel(2, "screenfull", "N") + Sel(2, "closeonevent", "N")) +
                       Selection(4, "run", "page.htm", Sel(4, "screenfull", "N")) +
                       Selection(3, "runclose", "show.dcr",
                                 Sel(3, "screenfull", "N") + Sel(3, "closeonevent", "Y"));
    GameFolder g("game_close_events", 4, sels);
    g.Start();

    // Flash, closed by its FSCommand: back to the menu.
    g.Activate(1);
    HWND bk = g.WaitBackground();
    ASSERT_NE(bk, nullptr);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return g.Journaled("IShockwaveFlash::put_Movie " + Join(g.folder.path, "movie.swf"));
        },
        kLong));
    EXPECT_TRUE(g.Journaled("IShockwaveFlash::put_BGColor abcdef"));
    EXPECT_EQ(Cue(g.proc.Pid(), "FSCommand quit now"), 1);
    EXPECT_TRUE(WaitGone(bk, kLong));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(g.menu); }, kLong));

    // Without the flag the event changes nothing. A secure web address is used as written.
    g.Activate(2);
    bk = g.WaitBackground();
    ASSERT_NE(bk, nullptr);
    EXPECT_TRUE(WaitUntil(
        [&] { return g.Journaled("IShockwaveFlash::put_Movie HTTPS://example.com/Movie2.SWF"); },
        kLong));
    EXPECT_EQ(Cue(g.proc.Pid(), "FSCommand quit now"), 1);
    Sleep(1000);
    EXPECT_TRUE(IsWindow(bk));
    EXPECT_FALSE(IsEnabled(g.menu));
    SendMessageTimeoutA(bk, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_TRUE(WaitGone(bk, kLong));

    // A page whose address reaches "closewindow." closes (the browser double fires the event).
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(g.menu); }, kLong));
    {
        hosttest::ProgIdMapping browser("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
        g.Activate(4);
        bk = g.WaitBackground();
        ASSERT_NE(bk, nullptr);
        EXPECT_TRUE(WaitUntil(
            [&] { return Cue(g.proc.Pid(), "DocumentComplete byref http://a/b.htm") == 1; },
            kLong));
        Sleep(500);
        EXPECT_TRUE(IsWindow(bk));
        EXPECT_EQ(Cue(g.proc.Pid(), "DocumentComplete direct http://a/CloseWindow.htm"), 1);
        EXPECT_TRUE(WaitGone(bk, kLong));
    }

    // Shockwave event 1 closes a "runclose" game, and with it the menu: the program ends.
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(g.menu); }, kLong));
    g.Activate(3);
    bk = g.WaitBackground();
    ASSERT_NE(bk, nullptr);
    EXPECT_TRUE(WaitUntil(
        [&] { return g.Journaled("IShockwaveCtl::put_SRC " + Join(g.folder.path, "show.dcr")); },
        kLong));
    EXPECT_EQ(Cue(g.proc.Pid(), "ShockwaveEvent 1"), 1);
    EXPECT_EQ(g.proc.WaitExit(kLong), 0);
    // Windowed movies never touch the display; only the windowed page asked for a mode.
    EXPECT_EQ(g.folder.CountLogged("CalcDisplayMode at1"), 1);
    EXPECT_EQ(g.folder.CountLogged("CMenuWnd::RunSelection at4"), 2);
    EXPECT_EQ(g.folder.CountLogged("CMenuWnd::RunSelection at3"), 1);
}

TEST(GameScreen, FailedLaunchesLeaveTheMenuUsable) {
    std::string longName(860, 'n');
    std::string sels = Selection(1, "run", "missing.exe") + Selection(2, "run", "readme.txt") +
                       Selection(3, "run", longName + ".swf") +
                       Selection(4, "run", "movie.swf", Sel(4, "screenfull", "N"));
    GameFolder g("game_failed_launches", 4, sels);
    g.Start();
    auto expectBox = [&](const std::string& caption, const std::string& text, int answer) {
        BoxInfo box;
        ASSERT_TRUE(WaitMessageBox(g.proc.Pid(), box, kLong));
        EXPECT_EQ(box.caption, caption);
        EXPECT_EQ(box.text, text);
        PressButton(box.hwnd, answer);
        EXPECT_TRUE(WaitGone(box.hwnd, kLong));
    };

    g.Activate(1);
    expectBox("Error",
              "Failed to execute external program\n\nfile=" + Join(g.folder.path, "missing.exe"),
              IDOK);
    // Eleven refused files: none of them keeps a game-screen record.
    for (int i = 0; i < 11; ++i) {
        g.Activate(2);
        expectBox(
            "Error",
            "Invalid file type specified to launch\n\nfile=" + Join(g.folder.path, "readme.txt") +
                "\n\nOnly .exe, .dcr, .htm, or .html supported",
            IDOK);
    }
    g.Activate(3);
    expectBox("Error", "The file name is too long to launch\n\nfile=" + longName + ".swf", IDOK);

    {
        // The Flash control is not installed: No keeps the menu.
        hosttest::ProgIdMapping away("ShockwaveFlash.ShockwaveFlash.7", "{not a class id}");
        ASSERT_TRUE(away.mapped);
        g.Activate(4);
        expectBox("Macromedia Flash Not Found",
                  "The Macromedia Flash plugin version 7 or greater was not found. It is required "
                  "to use the selected game.\n\nWould you like to go to the Macromedia website to "
                  "download the Flash plugin now?\n\nNote: You must be connected to the "
                  "internet.",
                  IDNO);
    }
    EXPECT_TRUE(IsWindow(g.menu));
    EXPECT_TRUE(IsEnabled(g.menu));
    EXPECT_TRUE(g.proc.TopWindows("BkGrndWnd").empty());

    // Installed again: the table still has room after fourteen failed launches.
    g.Activate(4);
    HWND bk = g.WaitBackground();
    ASSERT_NE(bk, nullptr);
    PostMessageA(bk, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitGone(bk, kLong));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(g.menu); }, kLong));

    // Missing again, and Yes: the maker's page is offered and the program ends.
    {
        hosttest::ProgIdMapping away("ShockwaveFlash.ShockwaveFlash.7", "{not a class id}");
        hosttest::ProgIdMapping noBrowser("InternetExplorer.Application", "{not a class id}");
        g.Activate(4);
        BoxInfo box;
        ASSERT_TRUE(WaitMessageBox(g.proc.Pid(), box, kLong));
        EXPECT_EQ(box.caption, "Macromedia Flash Not Found");
        PressButton(box.hwnd, IDYES);
        RunOutcome end = RunAnsweringBoxes(g.proc, IDOK, kLong);
        EXPECT_EQ(end.exitCode, 0);
    }
    EXPECT_TRUE(g.folder.Logged("OpenSeparateBrowser at1"));
    EXPECT_EQ(g.folder.CountLogged("CMenuWnd::RunSelection at2"), 1);
    EXPECT_EQ(g.folder.CountLogged("CMenuWnd::RunSelection at6"), 1);
}

TEST(GameScreen, SampleInAFolderOfAnyScriptShowsItsLogoAndRunsItsArcadeGame) {
    const char* staged = std::getenv("TOVAK_SAMPLE_DIR");
    ASSERT_NE(staged, nullptr);
    std::string staging = staged;
    for (char& c : staging)
        if (c == '/')
            c = '\\';
    // Copied as a player unpacks a download, into a folder named in Cyrillic, Japanese and an
    // emoji on a PC whose code page (1252) holds none of them.
    std::string sample =
        MakeTestFolder("sample \xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9 "
                       "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xAE");
    for (const char* file : {"tovak.ini", "title.gif", "options.gif", "exitnag.gif",
                             "tovak_logo.gif", "game.htm", "arcade.exe"})
        ASSERT_TRUE(CopyFileTo(Join(staging, file), Join(sample, file))) << file;
    TovakProcess proc;
    ASSERT_TRUE(proc.Start(sample)) << proc.error;
    HWND title = proc.WaitWindow("WinFuncs", kLong);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(Text(title), "Star Courier");

    // "Play 640 x 480": the web page with the logo over it, on top for its 2.25 s.
    Click(title, 185, 136);
    HWND bk = proc.WaitWindow("BkGrndWnd", kLong);
    ASSERT_NE(bk, nullptr);
    HWND logo = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (logo = FindChild(bk, "LoadLogo")) != nullptr; }, kLong));
    RECT outer = WindowRect(bk), lr = WindowRect(logo);
    EXPECT_EQ(lr.right - lr.left, 240);
    EXPECT_EQ(lr.bottom - lr.top, 120);
    EXPECT_EQ(lr.left, outer.left + ((outer.right - outer.left) - 240) / 2);
    EXPECT_EQ(lr.top, outer.top + ((outer.bottom - outer.top) - 120) / 2);
    DWORD shown = GetTickCount();
    // On screen over the page once that has loaded under it: the yellow of its lettering at
    // (60, 60) of the image; the page's white there once it has gone.
    const COLORREF lettering = RGB(255, 220, 80);
    Sleep(1000);
    EXPECT_EQ(ReadScreenPixel(lr.left + 60, lr.top + 60), lettering);
    EXPECT_TRUE(WaitGone(logo, 5000));
    DWORD lasted = GetTickCount() - shown;
    EXPECT_GE(lasted, 1500u);
    EXPECT_TRUE(WaitUntil(
        [&] { return ReadScreenPixel(lr.left + 60, lr.top + 60) == RGB(255, 255, 255); }, 2000));
    PostMessageA(bk, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitGone(bk, kLong));

    // "Arcade bonus": the launcher waits for the game, then ends.
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(title); }, kLong));
    Click(title, 320, 424);
    HWND arcade = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] { return (arcade = FindWindowA("StarCourierArcade", nullptr)) != nullptr; }, kLong));
    Sleep(500);
    EXPECT_TRUE(proc.Running());
    PostMessageA(arcade, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(proc.WaitExit(kLong), 0);

    // Its web page once more, played by a substitute player shipped in the folder: it gets the
    // page's path whole.
    std::string ini = ReadTextFile(Join(sample, "tovak.ini"));
    ini.replace(ini.find(";htmplayer="), 1, "htmplayer=player.exe \"%1\"\r\n;");
    ASSERT_TRUE(WriteTextFile(Join(sample, "tovak.ini"), ini));
    ASSERT_TRUE(CopyFileTo(StandInPlayer(), Join(sample, "player.exe")));
    std::string journal = Join(MakeTestFolder("sample_journal"), "journal.txt");
    TovakProcess again;
    ASSERT_TRUE(again.Start(sample, "", {std::string(TOVAK_DOUBLE_JOURNAL_ENV) + "=" + journal}))
        << again.error;
    title = again.WaitWindow("WinFuncs", kLong);
    ASSERT_NE(title, nullptr);
    Click(title, 185, 136);
    HWND player = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (player = FindWindowA("TovakStandInPlayer", nullptr)) != nullptr; }, kLong));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return Contains(ReadLogLines(journal), "player command \"" +
                                                       Join(sample, "player.exe") + "\" \"" +
                                                       Join(sample, "game.htm") + "\"");
        },
        kLong))
        << ReadTextFile(journal);
    PostMessageA(player, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(title); }, kLong));
    again.Terminate();
}
