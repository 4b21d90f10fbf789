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
    // Full screen by a mode switch, or the monitor as it is with the game scaled onto it.
    FullScreenWay fullScreenWay = FullScreenWay::Switch;
};

// What a selection asks of the game screen, and what the display gave it.
struct GameScreenRequest {
    int bFullScreen; // full screen asked for and the display mode switched to it
    int nScreenWidth, nScreenHeight;
    int nGameWidth, nGameHeight; // 0 in either: the whole screen size
    int bScreenFull;             // full screen asked for (whatever the display did)
    int bCloseBtn;
    int bShowCursor;
    // Full screen by a mode switch, or the monitor as it is with the game scaled onto it.
    FullScreenWay fullScreenWay = FullScreenWay::Switch;
};

// The system's view of the game's monitor and of a captioned window's frame.
struct GameScreenMetrics {
    int cxScreen, cyScreen; // the monitor's size now (after any mode switch)
    // How much wider and taller a captioned window is than its client area.
    int cxFrame, cyFrame;
    int xScreen = 0, yScreen = 0; // the monitor's top-left corner on the desktop
    double dpiScale = 1.0;        // the monitor's DPI / 96
};

struct GameScreenLayout {
    std::uint32_t style;
    int x, y, width, height;                 // background window, screen coordinates
    int gameX, gameY, gameWidth, gameHeight; // game area in the background's client area
    int bCloseBtn;
    int closeX, closeY; // close button, in the background's client area: its top-left corner
    int closeWidth, closeHeight;
    int bShowCursor;
    // The factor by which the game area and the logo are drawn (a web page is zoomed by it).
    double gameScale;
};

// Full screen by a mode switch: the background covers the screen and the game is centred in
// it. Full screen scaled (fit, integer): the background covers the monitor at its own mode,
// and the selection's screen is scaled onto it, centred, by the largest factor (or whole
// factor) that keeps its aspect ratio: the game area scaled by that factor in its middle.
// Windowed: a captioned window whose client area is the selection's screen size times the
// monitor's DPI scale, centred on the monitor, with the game (scaled alike) centred in its
// client area and the cursor always shown. Halvings truncate toward zero, so a game larger
// than its screen gets negative positions. The close button is drawn at the monitor's DPI
// scale, except on a switched display.
GameScreenLayout LayoutGameScreen(const GameScreenRequest& request,
                                  const GameScreenMetrics& metrics);

// The logo window's place: the logo, at the game's scale, centred on the background window's
// outer rectangle. width and height are the logo's size at that scale.
void PlaceLogo(const GameScreenLayout& layout, int logoWidth, int logoHeight, int& x, int& y,
               int& width, int& height);

// The screen a game screen asks of its session: a windowed web page may still change the
// colour depth, a windowed movie never touches the display.
ScreenRequest ScreenRequestFor(const GameScreenOptions& options);
