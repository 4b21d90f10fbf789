#include "screen/game_screen.h"

#include "base/int_range.h"
#include "host/host_text.h"

GameScreenLayout LayoutGameScreen(const GameScreenRequest& request,
                                  const GameScreenMetrics& metrics) {
    GameScreenLayout layout{};
    bool whole = request.nGameWidth == 0 || request.nGameHeight == 0;
    int gameWidth = whole ? request.nScreenWidth : request.nGameWidth;
    int gameHeight = whole ? request.nScreenHeight : request.nGameHeight;
    int screenWidth, screenHeight;
    double scale = 1.0;      // of the game
    double closeScale = 1.0; // of the close button
    if (request.bFullScreen) {
        screenWidth = metrics.cxScreen;
        screenHeight = metrics.cyScreen;
        layout.style = kGameScreenFullStyle;
        layout.x = metrics.xScreen;
        layout.y = metrics.yScreen;
        layout.width = screenWidth;
        layout.height = screenHeight;
        layout.bShowCursor = request.bShowCursor;
        if (request.fullScreenWay == FullScreenWay::Switch) {
            // The display is in the game's mode: the game at its own size, or the whole screen.
            if (whole) {
                gameWidth = screenWidth;
                gameHeight = screenHeight;
            }
        } else {
            // The selection's screen (the game's own size when it names none) scaled onto the
            // monitor.
            bool sized = request.nScreenWidth > 0 && request.nScreenHeight > 0;
            if (whole && !sized) {
                gameWidth = screenWidth;
                gameHeight = screenHeight;
            }
            scale = LetterboxFor(sized ? request.nScreenWidth : gameWidth,
                                 sized ? request.nScreenHeight : gameHeight, screenWidth,
                                 screenHeight, request.fullScreenWay)
                        .factor;
            closeScale = metrics.dpiScale;
        }
    } else {
        scale = metrics.dpiScale;
        closeScale = metrics.dpiScale;
        screenWidth = ScaleLength(request.nScreenWidth, scale);
        screenHeight = ScaleLength(request.nScreenHeight, scale);
        layout.style = kGameScreenWindowedStyle;
        layout.width = SaturatedInt(WideInt(screenWidth) + metrics.cxFrame);
        layout.height = SaturatedInt(WideInt(screenHeight) + metrics.cyFrame);
        layout.x = SaturatedInt(metrics.xScreen + (WideInt(metrics.cxScreen) - layout.width) / 2);
        layout.y = SaturatedInt(metrics.yScreen + (WideInt(metrics.cyScreen) - layout.height) / 2);
        layout.bShowCursor = 1;
    }
    layout.gameScale = scale;
    layout.gameWidth = ScaleLength(gameWidth, scale);
    layout.gameHeight = ScaleLength(gameHeight, scale);
    layout.gameX = SaturatedInt((WideInt(screenWidth) - layout.gameWidth) / 2);
    layout.gameY = SaturatedInt((WideInt(screenHeight) - layout.gameHeight) / 2);
    // The button goes by the request, whichever geometry the display allowed; it lies inside
    // the background window, one pixel (at its scale) from the right and top edges of its
    // client area (in full screen, the screen's corner).
    layout.bCloseBtn = request.bScreenFull && request.bCloseBtn;
    layout.closeWidth = ScaleLength(kCloseButtonWidth, closeScale);
    layout.closeHeight = ScaleLength(kCloseButtonHeight, closeScale);
    int margin = ScaleLength(1, closeScale);
    layout.closeX = SaturatedInt(WideInt(screenWidth) - layout.closeWidth - margin);
    layout.closeY = margin;
    return layout;
}

void PlaceLogo(const GameScreenLayout& layout, int logoWidth, int logoHeight, int& x, int& y,
               int& width, int& height) {
    width = ScaleLength(logoWidth, layout.gameScale);
    height = ScaleLength(logoHeight, layout.gameScale);
    x = SaturatedInt(layout.x + (WideInt(layout.width) - width) / 2);
    y = SaturatedInt(layout.y + (WideInt(layout.height) - height) / 2);
}

ScreenRequest ScreenRequestFor(const GameScreenOptions& options) {
    return ScreenRequest{options.bScreenFull,
                         options.nScreenWidth,
                         options.nScreenHeight,
                         options.nColorDepth,
                         options.nBrowserType == kHostWebBrowser,
                         options.fullScreenWay};
}
