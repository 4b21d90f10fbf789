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
