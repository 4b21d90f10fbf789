// The names a game folder is written in: the configuration file and the logo beside it, the
// sections the program asks for by name, and the keys that more than one part of the program
// (the launcher, its checker) reads or names. Section and key names ignore case.
#pragma once

// The configuration file read when the command line names none, in the working directory.
constexpr const char* kConfigFileName = "tovak.ini";
// The logo shown while a game starts, beside the configuration file.
constexpr const char* kLogoFileName = "tovak_logo.gif";
// The diagnostic log's file when the configuration names none (a literal too, for the buffer
// that holds the log's path from the start).
#define TOVAK_DEFAULT_LOG_FILE "c:\\tovak.txt"
constexpr const char* kDefaultLogFileName = TOVAK_DEFAULT_LOG_FILE;

// The section of the settings that hold for the whole run (the diagnostic log, the players,
// the controllers' mapping).
constexpr const char* kSettingsSection = "settings";
// The first menu, as the launcher asks for it: the same section as the settings.
constexpr const char* kFirstMenuSection = "Settings";
// The exit screen, shown when the first menu closes if it names a title image.
constexpr const char* kExitScreenSection = "exitnag";

// Keys of the settings of the whole run.
constexpr const char* kDebugKey = "debug";
constexpr const char* kDebugFileKey = "debugfile";
constexpr const char* kPadKey = "pad";
constexpr const char* kFullScreenKey = "fullscreen";
constexpr const char* kSwfPlayerKey = "swfplayer";
constexpr const char* kDcrPlayerKey = "dcrplayer";
constexpr const char* kHtmPlayerKey = "htmplayer";
constexpr const char* kPlayerFirstKey = "playerfirst";
constexpr const char* kBrowserModeKey = "browsermode";

// Keys of a menu section.
constexpr const char* kTitleImageKey = "titleimage";
constexpr const char* kNumSelectionsKey = "numselections";
// The numbered keys of a menu's selections, without their number (selpos1, selpos2, ...).
constexpr const char* kSelPosKey = "selpos";
constexpr const char* kSelUrlKey = "selurl";
constexpr const char* kSelCodeKey = "selcode";
constexpr const char* kSelDescKey = "seldesc";
constexpr const char* kSelGameSizeKey = "selgamesize";
constexpr const char* kSelColorKey = "selcolor";
constexpr const char* kSelScreenBgColorKey = "selscreenbgcolor";
constexpr const char* kSelGameBgColorKey = "selgamebgcolor";
constexpr const char* kSelPadKey = "selpad";
constexpr const char* kSelFullScreenKey = "selfullscreen";
