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

    int x, y;
    PlaceLogo(l, 240, 121, x, y);
    EXPECT_EQ(x, 76 + 204);
    EXPECT_EQ(y, 46 + 193);
}
