// Full screen without a mode switch, inside a 16:9 Wine virtual desktop of 1280 x 720: the
// display stays as it is, the 640 x 480 game is scaled to 960 x 720 between bars of the screen
// colour, a page is zoomed by the same factor, and the close button sits in the top-right.
#include "game_test_support.h"

using namespace bench;
using namespace gametest;

namespace {

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

std::string FullFit(int n) {
    return Sel(n, "screenfull", "Y") + Sel(n, "screensize", "640,480") +
           Sel(n, "screencolordepth", "16") + Sel(n, "screenbgcolor", "ABCDEF");
}

} // namespace

TEST(GameScreenFit, AFullScreenGameScaledOntoTheDesktopWithoutAModeSwitch) {
    ASSERT_EQ(ScreenWidth(), 1280);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 720);
    GameFolder g("game_fit", 3,
                 Selection(1, "run", "movie.swf", FullFit(1) + Sel(1, "gamebgcolor", "102030")) +
                     Selection(2, "run", "page.htm", FullFit(2)) + Selection(3, "exit", ""));
    // The ways: fit for every selection, from the settings.
    std::string ini = ReadTextFile(Join(g.folder.path, "tovak.ini"));
    ini.replace(ini.find("numselections"), 0, "fullscreen=fit\r\n");
    WriteTextFile(Join(g.folder.path, "tovak.ini"), ini);
    g.Start();

    g.Activate(1);
    HWND bk = g.WaitBackground();
    ASSERT_NE(bk, nullptr);
    RECT outer = WindowRect(bk);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.right, 1280);
    EXPECT_EQ(outer.bottom, 720);
    HWND container = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (container = FindChild(bk, "AtlAxWin")) != nullptr; }));
    RECT game = WindowRect(container);
    EXPECT_EQ(game.left, 160);
    EXPECT_EQ(game.top, 0);
    EXPECT_EQ(game.right, 1120);
    EXPECT_EQ(game.bottom, 720);
    // On screen: the bars in the screen colour, the game's colour between them (the double's
    // view fills its control's window).
    const COLORREF bar = RGB(0xAB, 0xCD, 0xEF), inside = RGB(0x10, 0x20, 0x30);
    EXPECT_TRUE(WaitUntil([&] { return ReadScreenPixel(159, 700) == bar; }, kLong));
    EXPECT_EQ(ReadScreenPixel(1120, 700), bar);
    EXPECT_TRUE(WaitUntil([&] { return ReadScreenPixel(160, 700) == inside; }, kLong));
    EXPECT_EQ(ReadScreenPixel(1119, 700), inside);

    // The close button at the top-right, drawn from its bitmap.
    HWND button = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (button = FindChild(bk, "CloseBtn")) != nullptr; }));
    EXPECT_EQ(WindowRect(button).left, 1280 - 17);
    EXPECT_TRUE(
        WaitUntil([&] { return ReadScreenPixel(1280 - 17 + 4, 1 + 3) == RGB(0, 0, 0); }, kLong));
    EXPECT_EQ(ReadScreenPixel(1280 - 17 + 0, 1 + 5), RGB(255, 255, 255));
    EXPECT_EQ(ReadScreenPixel(1280 - 17 + 15, 1 + 0), RGB(66, 65, 66));

    // Another program in front: nothing on the screen changes.
    HWND other = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    PumpUntil([] { return false; }, 1000);
    EXPECT_EQ(ScreenWidth(), 1280);
    EXPECT_EQ(WindowRect(container).left, 160);
    DestroyWindow(other);

    Click(button, 5, 5);
    EXPECT_TRUE(WaitGone(bk, kLong));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(g.menu); }, kLong));

    // A page laid out for 640 x 480 is zoomed by the game's factor.
    {
        hosttest::ProgIdMapping browser("Shell.Explorer.2", TOVAK_BROWSER_DOUBLE_CLSID);
        g.Activate(2);
        bk = g.WaitBackground();
        ASSERT_NE(bk, nullptr);
        EXPECT_TRUE(WaitUntil(
            [&] { return g.Journaled("IWebBrowser2::ExecWB 63 option=2 in=I4:150"); }, kLong));
        SendMessageTimeoutA(bk, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        EXPECT_TRUE(WaitGone(bk, kLong));
    }

    // Neither game touched the display.
    EXPECT_EQ(g.folder.CountLogged("CalcDisplayMode at1"), 0);
    EXPECT_EQ(ScreenWidth(), 1280);
    g.Activate(3);
    EXPECT_EQ(g.proc.WaitExit(kLong), 0);
}
