// Where the game screen's windows go: the cases whose arithmetic is easy to get wrong.
#include "screen/game_screen.h"

#include <gtest/gtest.h>

namespace {

const GameScreenMetrics kMetrics{800, 600, 8, 27}; // screen 800 x 600, captioned frame 8 x 27

GameScreenRequest Request(int bFull, int sw, int sh, int gw, int gh) {
    return GameScreenRequest{bFull, sw, sh, gw, gh, bFull, 1, 0};
}

} // namespace

TEST(GameScreenLayout, FullScreenCoversTheScreenAndCentresTheGame) {
    GameScreenLayout l = LayoutGameScreen(Request(1, 640, 480, 320, 240), kMetrics);
    EXPECT_EQ(l.style, 0x90000000u);
    EXPECT_EQ(l.x, 0);
    EXPECT_EQ(l.width, 800); // the screen as it is after the switch, not the size asked for
    EXPECT_EQ(l.height, 600);
    EXPECT_EQ(l.gameX, 240);
    EXPECT_EQ(l.gameY, 180);
    EXPECT_EQ(l.bShowCursor, 0);
    EXPECT_TRUE(l.bCloseBtn);
    EXPECT_EQ(l.closeX, 800 - 17);
    EXPECT_EQ(l.closeY, 1);

    // One game dimension 0: both take the screen's. A game larger than the screen: negative
    // positions, halved toward zero.
    l = LayoutGameScreen(Request(1, 640, 480, 0, 480), kMetrics);
    EXPECT_EQ(l.gameWidth, 800);
    EXPECT_EQ(l.gameHeight, 600);
    l = LayoutGameScreen(Request(1, 640, 480, 1025, 601), kMetrics);
    EXPECT_EQ(l.gameX, -112);
    EXPECT_EQ(l.gameY, 0);
}

TEST(GameScreenLayout, WindowedClientAreaIsTheScreenSizeCentredWithCursorShown) {
    GameScreenRequest r = Request(0, 640, 480, 0, 0);
    r.bShowCursor = 0;
    GameScreenLayout l = LayoutGameScreen(r, kMetrics);
    EXPECT_EQ(l.style, 0x90C80000u);
    EXPECT_EQ(l.width, 648);
    EXPECT_EQ(l.height, 507);
    EXPECT_EQ(l.x, 76);
    EXPECT_EQ(l.y, 46);
    EXPECT_EQ(l.gameWidth, 640);
    EXPECT_EQ(l.gameX, 0);
    EXPECT_EQ(l.bShowCursor, 1);
    EXPECT_FALSE(l.bCloseBtn);

    // Full screen asked for but no mode fitted: windowed, yet the button is still made, at
    // the top-right of the window's client area.
    r.bScreenFull = 1;
    l = LayoutGameScreen(r, kMetrics);
    EXPECT_EQ(l.style, 0x90C80000u);
    EXPECT_TRUE(l.bCloseBtn);
    EXPECT_EQ(l.closeX, 640 - 17);
    EXPECT_EQ(l.closeY, 1);

    int x, y, width, height;
    PlaceLogo(l, 240, 121, x, y, width, height);
    EXPECT_EQ(x, 76 + 204);
    EXPECT_EQ(y, 46 + 193);
}

TEST(GameScreenLayout, ScaledFullScreenCoversItsMonitorAndWindowedFollowsItsDpi) {
    // A 1280 x 720 monitor right of another, at 150 %.
    const GameScreenMetrics monitor{1280, 720, 8, 27, 1920, 0, 1.5};
    GameScreenRequest r = Request(1, 640, 480, 0, 0);
    r.fullScreenWay = FullScreenWay::Fit;
    GameScreenLayout l = LayoutGameScreen(r, monitor);
    EXPECT_EQ(l.x, 1920);
    EXPECT_EQ(l.width, 1280);
    EXPECT_EQ(l.height, 720);
    EXPECT_EQ(l.gameX, 160);
    EXPECT_EQ(l.gameY, 0);
    EXPECT_EQ(l.gameWidth, 960);
    EXPECT_EQ(l.gameHeight, 720);
    EXPECT_EQ(l.closeX, 1280 - 24 - 2); // 16 x 14 at 150 %, 1.5 pixels from the corner
    EXPECT_EQ(l.closeY, 2);
    EXPECT_EQ(l.closeHeight, 21);
    int x, y, width, height;
    PlaceLogo(l, 240, 121, x, y, width, height);
    EXPECT_EQ(width, 360);
    EXPECT_EQ(height, 182);
    EXPECT_EQ(x, 1920 + 460);
    EXPECT_EQ(y, 269);

    // A game smaller than its screen keeps its place in the screen's picture: integer gives 1.
    r = Request(1, 640, 480, 320, 240);
    r.fullScreenWay = FullScreenWay::Integer;
    l = LayoutGameScreen(r, monitor);
    EXPECT_EQ(l.gameWidth, 320);
    EXPECT_EQ(l.gameX, 480);
    EXPECT_EQ(l.gameY, 240);

    l = LayoutGameScreen(Request(0, 640, 480, 320, 240), monitor);
    EXPECT_EQ(l.width, 960 + 8);
    EXPECT_EQ(l.height, 720 + 27);
    EXPECT_EQ(l.x, 1920 + 156);
    EXPECT_EQ(l.gameWidth, 480);
    EXPECT_EQ(l.gameX, 240);
}
