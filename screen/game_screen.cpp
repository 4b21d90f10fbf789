#include "screen/game_screen.h"

#include "base/int_range.h"
#include "host/host_text.h"

GameScreenLayout LayoutGameScreen(const GameScreenRequest& request,
                                  const GameScreenMetrics& metrics) {
    GameScreenLayout layout{};
    int screenWidth, screenHeight;
    if (request.bFullScreen) {
        screenWidth = metrics.cxScreen;
        screenHeight = metrics.cyScreen;
        layout.style = kGameScreenFullStyle;
        layout.x = 0;
        layout.y = 0;
        layout.width = screenWidth;
        layout.height = screenHeight;
        layout.bShowCursor = request.bShowCursor;
    } else {
        screenWidth = request.nScreenWidth;
        screenHeight = request.nScreenHeight;
        layout.style = kGameScreenWindowedStyle;
        layout.width = SaturatedInt(WideInt(screenWidth) + metrics.cxFrame);
        layout.height = SaturatedInt(WideInt(screenHeight) + metrics.cyFrame);
        layout.x = SaturatedInt((WideInt(metrics.cxScreen) - layout.width) / 2);
        layout.y = SaturatedInt((WideInt(metrics.cyScreen) - layout.height) / 2);
        layout.bShowCursor = 1;
    }
    bool whole = request.nGameWidth == 0 || request.nGameHeight == 0;
    layout.gameWidth = whole ? screenWidth : request.nGameWidth;
    layout.gameHeight = whole ? screenHeight : request.nGameHeight;
    layout.gameX = SaturatedInt((WideInt(screenWidth) - layout.gameWidth) / 2);
    layout.gameY = SaturatedInt((WideInt(screenHeight) - layout.gameHeight) / 2);
    // The button goes by the request, whichever geometry the display allowed; it lies inside
    // the background window, one pixel from the right and top edges of its client area (in
    // full screen, the screen's corner).
    layout.bCloseBtn = request.bScreenFull && request.bCloseBtn;
    layout.closeX = SaturatedInt(WideInt(screenWidth) - (kCloseButtonWidth + 1));
    layout.closeY = 1;
    return layout;
}

void PlaceLogo(const GameScreenLayout& layout, int logoWidth, int logoHeight, int& x, int& y) {
    x = SaturatedInt(layout.x + (WideInt(layout.width) - logoWidth) / 2);
    y = SaturatedInt(layout.y + (WideInt(layout.height) - logoHeight) / 2);
}

ScreenRequest ScreenRequestFor(const GameScreenOptions& options) {
    return ScreenRequest{options.bScreenFull, options.nScreenWidth, options.nScreenHeight,
                         options.nColorDepth, options.nBrowserType == kHostWebBrowser};
}
