// The program's own names: its file name as its texts show it, the library that hosts the
// games' controls, and the browser maker's site that texts name.
#pragma once

// The program's file name, as error texts name it.
constexpr const char* kProgramName = "tovak.exe";

// The control-container library that hosts the games' controls.
constexpr const char* kContainerLibraryName = "atl.dll";

// The web browser's maker, whose site the texts about a missing browser name, and its
// download page.
#define TOVAK_BROWSER_MAKER_DOMAIN "www.microsoft.com"
constexpr const char* kBrowserMakerDomain = TOVAK_BROWSER_MAKER_DOMAIN;
constexpr const char* kBrowserDownloadUrl =
    "http://" TOVAK_BROWSER_MAKER_DOMAIN "/windows/ie/downloads/default.asp";

// The program's window classes: the menu window, the game screen's background, its logo and
// its close button.
#define TOVAK_MENU_WINDOW_CLASS "WinFuncs"
#define TOVAK_GAME_SCREEN_CLASS "BkGrndWnd"
#define TOVAK_LOGO_CLASS "LoadLogo"
#define TOVAK_CLOSE_BUTTON_CLASS "CloseBtn"
constexpr const char* kMenuWindowClass = TOVAK_MENU_WINDOW_CLASS;
constexpr const char* kGameScreenClass = TOVAK_GAME_SCREEN_CLASS;
constexpr const char* kLogoClass = TOVAK_LOGO_CLASS;
constexpr const char* kCloseButtonClass = TOVAK_CLOSE_BUTTON_CLASS;
// The same names as the wide functions of Windows take them.
constexpr const wchar_t* kMenuWindowClassW = L"" TOVAK_MENU_WINDOW_CLASS;
constexpr const wchar_t* kGameScreenClassW = L"" TOVAK_GAME_SCREEN_CLASS;
constexpr const wchar_t* kLogoClassW = L"" TOVAK_LOGO_CLASS;
constexpr const wchar_t* kCloseButtonClassW = L"" TOVAK_CLOSE_BUTTON_CLASS;
