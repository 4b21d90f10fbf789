// Names the program shows in its texts.
#pragma once

// The program's file name, as error texts name it.
constexpr const char* kProgramName = "tovak.exe";

// The configuration's section of the settings that hold for the whole run (the diagnostic log,
// the players); the first menu shares it.
constexpr const char* kSettingsSection = "settings";

// The web browser's maker, whose site the texts about a missing browser name, and its
// download page.
#define TOVAK_BROWSER_MAKER_DOMAIN "www.microsoft.com"
constexpr const char* kBrowserMakerDomain = TOVAK_BROWSER_MAKER_DOMAIN;
constexpr const char* kBrowserDownloadUrl =
    "http://" TOVAK_BROWSER_MAKER_DOMAIN "/windows/ie/downloads/default.asp";
