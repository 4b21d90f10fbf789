// Full-screen games inside a Wine virtual desktop, where display modes really switch: the
// mode taken and given back, the screen covered in the selection's colour, the game centred,
// the close button, the hidden cursor, the three ends of a game, and a crash.
#include "game_test_support.h"

#include "screen/browser_table_win.h"
#include "screen/game_session_win.h"

#include <algorithm>

using namespace bench;
using namespace gametest;

namespace {

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

bool CursorShowing() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING);
}

} // namespace

TEST(GameScreenDesktop, FullScreenFlashThenShockwaveThatEndsTheProgram) {
    ASSERT_EQ(ScreenWidth(), 1024);
    std::string sels =
        Selection(1, "run", "movie.swf",
                  Sel(1, "screenfull", "Y") + Sel(1, "screensize", "640,480") +
                      Sel(1, "screencolordepth", "32") + Sel(1, "gamesize", "320,240") +
                      Sel(1, "screenbgcolor", "ABCDEF") + Sel(1, "showcursor", "N") +
                      Sel(1, "closeonevent", "N")) +
        Selection(2, "runexit", "show.dcr",
                  Sel(2, "screenfull", "Y") + Sel(2, "screensize", "800,600") +
                      Sel(2, "screencolordepth", "32") + Sel(2, "screenclosebtn", "N"));
    GameFolder g("game_full_screen", 2, sels);
    // A logo of one colour, 100 x 50: centred on the 640 x 480 screen while the game loads.
    const COLORREF logoColour = RGB(0xF0, 0xA0, 0x10);
    g.folder.AddGif(kLogoFileName, menutest::Picture(100, 50, {0xF0A010}));
    g.Start();
    ASSERT_TRUE(CursorShowing());

    g.Activate(1);
    HWND bk = g.WaitBackground();
    ASSERT_NE(bk, nullptr);
    EXPECT_TRUE(WaitUntil([] { return ScreenWidth() == 640; }, kLong));
    EXPECT_TRUE(WaitUntil([&] { return ReadScreenPixel(320, 240) == logoColour; }, 2000));
    EXPECT_EQ(ReadScreenPixel(271, 216), logoColour);
    EXPECT_EQ(ReadScreenPixel(368, 263), logoColour);
    // After its time the game's rectangle (the control double paints nothing of its own)
    // shows there again.
    EXPECT_TRUE(WaitUntil([&] { return ReadScreenPixel(320, 240) != logoColour; }, 4000));
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
    RECT outer = WindowRect(bk);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(outer.right, 640);
    EXPECT_EQ(outer.bottom, 480);
    EXPECT_EQ(Style(bk) & ~static_cast<LONG_PTR>(WS_CLIPSIBLINGS | WS_CLIPCHILDREN), 0x90000000);
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(g.menu); }, kLong));
    EXPECT_TRUE(WaitUntil([&] { return ReadScreenPixel(5, 470) == RGB(0xAB, 0xCD, 0xEF); }, kLong));
    HWND container = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (container = FindChild(bk, "AtlAxWin")) != nullptr; }));
    RECT game = WindowRect(container);
    EXPECT_EQ(game.left, 160);
    EXPECT_EQ(game.top, 120);
    EXPECT_EQ(game.right - game.left, 320);
    EXPECT_EQ(game.bottom - game.top, 240);
    EXPECT_TRUE(WaitUntil([] { return !CursorShowing(); }, kLong));

    // The close button in the top-right corner, drawn from its bitmap.
    HWND button = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (button = FindChild(bk, "CloseBtn")) != nullptr; }));
    RECT br = WindowRect(button);
    EXPECT_EQ(br.left, 640 - 17);
    EXPECT_EQ(br.top, 1);
    EXPECT_EQ(br.right - br.left, 16);
    EXPECT_EQ(br.bottom - br.top, 14);
    // Its bitmap on screen: the cross, the face, the light and dark edges.
    auto buttonShown = [&] {
        const struct {
            int x, y;
            COLORREF colour;
        } expected[] = {{4, 3, RGB(0, 0, 0)},        {7, 6, RGB(0, 0, 0)},
                        {2, 3, RGB(214, 211, 206)},  {0, 5, RGB(255, 255, 255)},
                        {14, 5, RGB(132, 130, 132)}, {15, 0, RGB(66, 65, 66)},
                        {5, 12, RGB(132, 130, 132)}, {5, 13, RGB(66, 65, 66)}};
        for (const auto& e : expected) {
            COLORREF seen = ReadScreenPixel(640 - 17 + e.x, 1 + e.y);
            if (seen != e.colour) {
                ADD_FAILURE() << "close button (" << e.x << "," << e.y << ") reads " << std::hex
                              << seen;
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(WaitUntil([&] { return ReadScreenPixel(br.left + 4, 1 + 3) == RGB(0, 0, 0); }));
    EXPECT_TRUE(buttonShown());

    // Another program in front gets the desktop's mode; the game's comes back with the game.
    HWND other = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    EXPECT_TRUE(PumpUntil([] { return ScreenWidth() == 1024; }));
    // The test, in front now, hands the foreground back to the game (asked again until it
    // takes: the system may give the activation elsewhere when the window goes).
    SetForegroundWindow(bk);
    DestroyWindow(other);
    EXPECT_TRUE(PumpUntil([&] {
        if (GetForegroundWindow() != bk)
            SetForegroundWindow(bk);
        return ScreenWidth() == 640;
    }));
    // The button is on screen again with the game.
    EXPECT_TRUE(PumpUntil([&] { return ReadScreenPixel(640 - 17 + 4, 1 + 3) == RGB(0, 0, 0); }));
    EXPECT_TRUE(buttonShown());

    // Pressed: the desktop's mode, the cursor and the menu come back.
    Click(button, 5, 5);
    EXPECT_TRUE(WaitGone(bk, kLong));
    EXPECT_TRUE(WaitUntil([] { return ScreenWidth() == 1024; }, kLong));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(g.menu); }, kLong));
    EXPECT_TRUE(WaitUntil([] { return CursorShowing(); }, kLong));

    // "runexit": the program ends when the game does; the display is given back at the end.
    g.Activate(2);
    bk = g.WaitBackground();
    ASSERT_NE(bk, nullptr);
    EXPECT_TRUE(WaitUntil([] { return ScreenWidth() == 800; }, kLong));
    EXPECT_EQ(FindChild(bk, "CloseBtn"), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return Cue(g.proc.Pid(), "ShockwaveEvent 1") == 1; }, kLong));
    EXPECT_EQ(g.proc.WaitExit(kLong), 0);
    EXPECT_TRUE(WaitUntil([] { return ScreenWidth() == 1024; }, kLong));
}

TEST(GameScreenDesktop, AControlThatCrashesDuringAFullScreenGameLeavesTheDesktopsMode) {
    ASSERT_EQ(ScreenWidth(), 1024);
    std::string sels = Selection(1, "run", "movie.swf",
                                 Sel(1, "screenfull", "Y") + Sel(1, "screensize", "640,480") +
                                     Sel(1, "screencolordepth", "32")) +
                       Selection(2, "exit", "");
    GameFolder g("game_crash", 2, sels);
    g.Start();
    g.Activate(1);
    ASSERT_NE(g.WaitBackground(), nullptr);
    ASSERT_TRUE(WaitUntil([] { return ScreenWidth() == 640; }, kLong));
    // The double's cue window is there once the control is; the crash cue may end the process
    // before it answers.
    ASSERT_TRUE(WaitUntil([&] { return Cue(g.proc.Pid(), "ShockwaveEvent 1") == 0; }, kLong));
    Cue(g.proc.Pid(), "Crash");
    // The crash is the process's end, as without Tovak's filter; the desktop's mode is back.
    EXPECT_EQ(static_cast<DWORD>(g.proc.WaitExit(kLong)), 0xC0000005u);
    EXPECT_TRUE(WaitUntil([] { return ScreenWidth() == 1024; }, 5000));
    // One line in the log (which the folder's configuration switches on).
    std::vector<std::string> log = g.folder.Log();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& message) {
                                return message.rfind("Unhandled exception C0000005", 0) == 0;
                            }),
              1);
    if (ScreenWidth() != 1024)
        ChangeDisplaySettingsA(nullptr, 0); // the next test starts at the desktop's mode
}

TEST(GameScreenDesktop, BackgroundWindowThatCannotBeMadeGivesTheDisplayBack) {
    // In this test program no "BkGrndWnd" class exists, so the window cannot be made.
    g_hInstance = GetModuleHandleA(nullptr);
    BoxAnswerer answerer(IDOK);
    CBrowserFuncs record;
    GameScreenOptions options{3, 0, 0, 640, 480, 0, 0, 32, 1, 1, 1, 4, kCloseToMenu, 0, "title"};
    EXPECT_EQ(record.OpenBrowser(options,
                                 MakeGameSession(ScreenRequestFor(options), options.nCloseKind,
                                                 nullptr, DefaultPadMapping(), nullptr),
                                 nullptr),
              0);
    EXPECT_EQ(record.session, nullptr);
    EXPECT_EQ(ScreenWidth(), 1024);
    std::vector<BoxInfo> boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "CreateWindowEx for BkGrndWnd failed");
}
