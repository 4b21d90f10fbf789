// Where the game screen's windows go: the background window, the game area inside it, the
// logo and the close button. Plain geometry, kept apart from the windows that use it.
#pragma once

#include "base/text.h"
#include "screen/game_session.h"

#include <cstdint>

constexpr std::uint32_t kGameScreenFullStyle = 0x90000000u;     // WS_POPUP | WS_VISIBLE
constexpr std::uint32_t kGameScreenWindowedStyle = 0x90C80000u; // ... | WS_CAPTION | WS_SYSMENU
// Timer 1 of the background window: it ticks every 500 ms from the start and drives the
// exchange of a Flash movie's saved data, which may set it to another period.
constexpr unsigned kGameScreenTimerId = 1;
constexpr unsigned kGameScreenTimerMs = 500;
constexpr int kCloseButtonWidth = 16;
constexpr int kCloseButtonHeight = 14;

// Everything a game screen needs to open, made from the selection that launches it: one value
// handed down to the game screen, so that it knows from the start what its closing does.
struct GameScreenOptions {
    int nBrowserType; // host kind: the web browser, Shockwave or Flash
    int clrScreenBg;  // background window colour, 0xRRGGBB
    int clrGameBg;    // the control's background colour, 0xRRGGBB
    int nScreenWidth, nScreenHeight;
    int nGameWidth, nGameHeight; // 0 in either: the whole screen size
    int nColorDepth;
    int bScreenFull;
    int bCloseBtn;
    int bShowCursor;
    int nQuality;            // Flash quality 1..5
    int nCloseKind;          // what closing the screen does to the launching menu
    int bCloseOnEvent;       // the game's own closing event closes the screen
    char strTitle[TEXT_MAX]; // window text of the background window
};

// What a selection asks of the game screen, and what the display gave it.
struct GameScreenRequest {
    int bFullScreen; // full screen asked for and the display mode switched to it
    int nScreenWidth, nScreenHeight;
    int nGameWidth, nGameHeight; // 0 in either: the whole screen size
    int bScreenFull;             // full screen asked for (whatever the display did)
    int bCloseBtn;
    int bShowCursor;
};

// The system's view of the display and of a captioned window's frame.
struct GameScreenMetrics {
    int cxScreen, cyScreen; // the screen's size now (after any mode switch)
    // How much wider and taller a captioned window is than its client area.
    int cxFrame, cyFrame;
};

struct GameScreenLayout {
    std::uint32_t style;
    int x, y, width, height;                 // background window, screen coordinates
    int gameX, gameY, gameWidth, gameHeight; // game area in the background's client area
    int bCloseBtn;
    int closeX, closeY; // close button, in the background's client area: its top-right corner
    int bShowCursor;
};

// Full screen: the background covers the screen and the game is centred in it. Windowed: a
// captioned window whose client area is exactly the selection's screen size, centred on the
// screen, with the game centred in its client area and the cursor always shown. Halvings
// truncate toward zero, so a game larger than its screen gets negative positions.
GameScreenLayout LayoutGameScreen(const GameScreenRequest& request,
                                  const GameScreenMetrics& metrics);

// The logo window's place: the logo centred on the background window's outer rectangle.
void PlaceLogo(const GameScreenLayout& layout, int logoWidth, int logoHeight, int& x, int& y);

// The screen a game screen asks of its session: a windowed web page may still change the
// colour depth, a windowed movie never touches the display.
ScreenRequest ScreenRequestFor(const GameScreenOptions& options);
