#include "screen/game_screen_win.h"

#include "base/diag.h"
#include "base/globals_win.h"
#include "base/messages.h"
#include "base/program.h"
#include "base/scoped_win.h"
#include "base/wide_win.h"
#include "host/host_text.h"
#include "image/gif.h"
#include "resources/resource.h"
#include "screen/browser_table_win.h"
#include "screen/display_mode.h"
#include "screen/game_screen.h"
#include "screen/monitors_win.h"
#include "screen/saved_data_win.h"

namespace {

// Timer 1 of the logo window ends its showing.
constexpr UINT_PTR kLogoTimerId = 1;
constexpr UINT kLogoTimerMs = 2250;

// The close button's image, loaded with the first button and kept for the process.
HBITMAP g_hCloseBtnImage = nullptr;

void FillClient(HWND hWindow, HDC dc, COLORREF colour) {
    RECT client;
    GetClientRect(hWindow, &client);
    CBrush brush{CreateSolidBrush(colour)};
    FillRect(dc, &client, brush.Get());
}

// The logo and the close button are children of the background window, above the game's
// container: the system then draws them over the game inside the game screen itself. (Owned
// pop-ups are separate windows of the display server, which some systems stack under the
// background window once the game activates it.) They do not notify the background window
// when they go: that notice means the game's own window went.
HWND CreateOverlay(const wchar_t* className, int x, int y, int width, int height, HWND hBkWnd) {
    HWND hWindow = CreateWindowExW(WS_EX_NOPARENTNOTIFY, className, L"",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height,
                                   hBkWnd, nullptr, g_hInstance, nullptr);
    if (hWindow) {
        ShowWindow(hWindow, SW_SHOWNORMAL);
        UpdateWindow(hWindow);
    }
    return hWindow;
}

// Puts the logo and the close button back above the game: a control may raise its own window
// when it loads or is activated.
void RaiseOverlays(HWND hBkWnd) {
    static const wchar_t* const kOverlays[] = {kCloseButtonClassW, kLogoClassW};
    for (const wchar_t* className : kOverlays) {
        if (HWND hOverlay = FindWindowExW(hBkWnd, nullptr, className, nullptr))
            SetWindowPos(hOverlay, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

} // namespace

int CBrowserFuncs::OpenBrowser(const GameScreenOptions& options,
                               std::unique_ptr<CGameSession> newSession, HWND hParentWnd) {
    const int nBrowserType = options.nBrowserType;
    const int bScreenFull = options.bScreenFull;
    const int nScreenWidth = options.nScreenWidth;
    const int nScreenHeight = options.nScreenHeight;
    clrScreenBg = static_cast<unsigned int>(options.clrScreenBg);
    // Known before any window exists: a closing event that arrives while the game loads
    // already finds what closing does.
    bCloseOnEvent = options.bCloseOnEvent;
    WriteLog("OpenBrowser at1");
    CloseBrowser();
    WriteLog("OpenBrowser at2");

    session = std::move(newSession);
    bool bScreenTaken = session->TakeScreen();

    GameScreenRequest request{bScreenFull && bScreenTaken,
                              nScreenWidth,
                              nScreenHeight,
                              options.nGameWidth,
                              options.nGameHeight,
                              bScreenFull,
                              options.bCloseBtn,
                              options.bShowCursor,
                              session->Way() == ScreenWay::Scaled ? options.fullScreenWay
                                                                  : FullScreenWay::Switch};
    // The frame of a captioned window, so that its client area is the whole screen size.
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, kGameScreenWindowedStyle, FALSE, 0);
    // The monitor of the menu, as it is now (after any mode switch).
    MonitorDesc monitor = MonitorOfWindow(hParentWnd);
    GameScreenMetrics metrics{monitor.area.Width(),     monitor.area.Height(),
                              frame.right - frame.left, frame.bottom - frame.top,
                              monitor.area.left,        monitor.area.top,
                              DpiScale(monitor.dpi)};
    GameScreenLayout layout = LayoutGameScreen(request, metrics);
    host.nZoomPercent = ZoomPercent(layout.gameScale);

    // Its painting leaves out its children: the game, the logo and the close button. The
    // window is bound to this record from its first message on.
    HWND hWindow = CreateWindowExW(0, kGameScreenClassW, Wide(options.strTitle).c_str(),
                                   layout.style | WS_CLIPCHILDREN, layout.x, layout.y, layout.width,
                                   layout.height, hParentWnd, nullptr, g_hInstance, this);
    if (!hWindow) {
        ShowError("CreateWindowEx for BkGrndWnd failed");
        // The player must not be left in the game's display mode at the title screen.
        session.reset();
        return 0;
    }
    hBkWnd = hWindow;
    session->Opened();
    ShowWindow(hBkWnd, SW_SHOWNORMAL);
    UpdateWindow(hBkWnd);
    SetTimer(hBkWnd, kGameScreenTimerId, kGameScreenTimerMs, nullptr);
    WriteLog("OpenBrowser at3");

    HWND hLogo = nullptr;
    if (g_imgLogo.nFrames > 0) {
        // Centred on the background window's outer rectangle, as a child of it.
        int x, y, width, height;
        PlaceLogo(layout, g_imgLogo.nWidth, g_imgLogo.nHeight, x, y, width, height);
        POINT at{x, y};
        ScreenToClient(hBkWnd, &at);
        hLogo = CreateOverlay(kLogoClassW, at.x, at.y, width, height, hBkWnd);
    }

    // The container clips its siblings above it, so that the game never draws over the logo
    // or the close button.
    if (!host.InitHost(hBkWnd, nBrowserType, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                       options.clrGameBg, layout.gameX, layout.gameY, layout.gameWidth,
                       layout.gameHeight, options.nQuality)) {
        // No game started, so the menu was never told to wait: the closing only hands it back.
        session->SetCloseKind(kCloseToMenu);
        CloseBrowser();
        if (hLogo)
            PostMessageW(hLogo, WM_CLOSE, 0, 0);
        PostMessageW(hBkWnd, WM_CLOSE, 0, 0);
        return 0;
    }
    WriteLog("OpenBrowser at4");

    if (layout.bCloseBtn)
        CreateOverlay(kCloseButtonClassW, layout.closeX, layout.closeY, layout.closeWidth,
                      layout.closeHeight, hBkWnd);
    RaiseOverlays(hBkWnd);

    if (!layout.bShowCursor)
        session->HideCursor();
    return 1;
}

void CBrowserFuncs::BindWindow(HWND hWnd) {
    hBkWnd = hWnd;
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CBrowserFuncs* CBrowserFuncs::FromWindow(HWND hWnd) {
    return reinterpret_cast<CBrowserFuncs*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
}

void CBrowserFuncs::OnForeground(bool bInFront) {
    if (!session)
        return;
    session->SetForeground(
        bInFront,
        [](void* context) {
            CBrowserFuncs* record = static_cast<CBrowserFuncs*>(context);
            record->host.ActivateHost();
            RaiseOverlays(record->hBkWnd);
        },
        this);
}

// The background window is going: the session gives back what the game took and tells the
// menu that launched it (which comes back or closes, as the close kind says), or ends the
// program.
void CBrowserFuncs::OnDestroy(HWND hWindow) {
    bClosed = 1;
    CloseBrowser();
    // Later messages of the dying window find no record.
    SetWindowLongPtrW(hWindow, GWLP_USERDATA, 0);
}

LRESULT CBrowserFuncs::HandleMessage(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWindow, &ps);
        FillClient(hWindow, dc, ColorToColorRef(static_cast<int>(clrScreenBg)));
        EndPaint(hWindow, &ps);
        return 0;
    }
    case WM_DESTROY:
        OnDestroy(hWindow);
        return 0;
    case WM_ACTIVATEAPP:
        OnForeground(wParam != 0);
        return 0;
    case WM_TIMER:
        if (host.nBrowserType == kHostFlash)
            ExchangeMovieVars(this);
        return 0;
    case kMsgHostAsksClose:
        // The game asked to close; the selection says whether that closes its screen.
        if (bCloseOnEvent)
            PostMessageW(hWindow, WM_CLOSE, 0, 0);
        return 0;
    case WM_PARENTNOTIFY:
        // The control's window went away: the game is over.
        if (LOWORD(wParam) == WM_DESTROY) {
            WriteLog("ClientHostWndProc at14");
            PostMessageW(hBkWnd, WM_CLOSE, 0, 0);
            WriteLog("ClientHostWndProc at15");
        }
        return 0;
    default:
        return DefWindowProcW(hWindow, msg, wParam, lParam);
    }
}

LRESULT CALLBACK ClientHostWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (create->lpCreateParams)
            static_cast<CBrowserFuncs*>(create->lpCreateParams)->BindWindow(hWindow);
    }
    if (msg == WM_CLOSE) {
        DestroyWindow(hWindow);
        return 0;
    }
    CBrowserFuncs* record = CBrowserFuncs::FromWindow(hWindow);
    if (record)
        return record->HandleMessage(hWindow, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE:
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWindow, &ps);
        FillClient(hWindow, dc, RGB(0, 0, 0));
        EndPaint(hWindow, &ps);
        return 0;
    }
    case WM_DESTROY:
        // A game screen without its record: nothing is left to go back to.
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWindow, msg, wParam, lParam);
    }
}

LRESULT CALLBACK LoadLogoWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        SetTimer(hWindow, kLogoTimerId, kLogoTimerMs, nullptr);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWindow, &ps);
        FillClient(hWindow, dc, RGB(0, 0, 0));
        if (g_imgLogo.nFrames > 0) {
            // The window is the logo at the game's scale.
            RECT client;
            GetClientRect(hWindow, &client);
            g_imgLogo.pFrames[0]->DrawScaled(dc, 0, 0, client.right, client.bottom);
        }
        EndPaint(hWindow, &ps);
        return 0;
    }
    case WM_TIMER:
        PostMessageW(hWindow, WM_CLOSE, 0, 0);
        return 0;

    case WM_CLOSE:
        KillTimer(hWindow, kLogoTimerId);
        DestroyWindow(hWindow);
        return 0;
    case WM_DESTROY:
        return 0;
    default:
        return DefWindowProcW(hWindow, msg, wParam, lParam);
    }
}

LRESULT CALLBACK CloseBtnWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        if (!g_hCloseBtnImage)
            g_hCloseBtnImage =
                static_cast<HBITMAP>(LoadImageW(g_hInstance, MAKEINTRESOURCEW(IDB_CLOSE_BUTTON),
                                                IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWindow, &ps);
        CMemoryDc memory{CreateCompatibleDC(dc)};
        if (memory) {
            // The window is the button at the monitor's DPI scale.
            RECT client;
            GetClientRect(hWindow, &client);
            HGDIOBJ previous = SelectObject(memory.Get(), g_hCloseBtnImage);
            int mode = SetStretchBltMode(dc, COLORONCOLOR);
            StretchBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, kCloseButtonWidth,
                       kCloseButtonHeight, SRCCOPY);
            SetStretchBltMode(dc, mode);
            SelectObject(memory.Get(), previous);
        }
        EndPaint(hWindow, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        HWND hOwner = GetParent(hWindow);
        if (hOwner)
            PostMessageW(hOwner, WM_CLOSE, 0, 0);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hWindow);
        return 0;
    case WM_DESTROY:
        return 0;
    default:
        return DefWindowProcW(hWindow, msg, wParam, lParam);
    }
}
