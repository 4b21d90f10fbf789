#include "menu/launch.h"

#include "app/text.h"
#include "host/host_text.h"
#include "screen/browser_table.h"

#include <cstring>

const char* const kLaunchExecFailedFormat = "Failed to execute external program\n\nfile=%s";
const char* const kLaunchInvalidTypeFormat =
    "Invalid file type specified to launch\n\nfile=%s\n\nOnly .exe, .dcr, .htm, or .html supported";
const char* const kLaunchPathTooLongFormat = "The file name is too long to launch\n\nfile=%s";

// The download pages of the controls' makers.
#define TOVAK_CONTROL_MAKER "http://www.macromedia.com"
#define TOVAK_BROWSER_MAKER "http://www.microsoft.com"

namespace {

const MissingControlOffer kMissingShockwave = {
    "Macromedia Shockwave Not Found",
    "The Macromedia Shockwave plugin was not found. It is required to use the selected "
    "game.\n\nWould you like to go to the Macromedia website to download the Shockwave plugin "
    "now?\n\nNote: You must be connected to the internet.",
    TOVAK_CONTROL_MAKER "/shockwave/download/download.cgi?&P5_Language=English"};
const MissingControlOffer kMissingFlash = {
    "Macromedia Flash Not Found",
    "The Macromedia Flash plugin version 7 or greater was not found. It is required to use the "
    "selected game.\n\nWould you like to go to the Macromedia website to download the Flash "
    "plugin now?\n\nNote: You must be connected to the internet.",
    TOVAK_CONTROL_MAKER "/shockwave/download/download.cgi?P1_Prod_Version=ShockwaveFlash"};
const MissingControlOffer kMissingBrowser = {
    "Microsoft Internet Explorer 5 or Greater Not Found",
    "Microsoft Internet Explorer 5 or greater not found. It is required to use the selected "
    "game.\n\nWould you like to go to the Microsoft website to download Internet Explorer "
    "now?\n\nNote: You must be connected to the internet.",
    TOVAK_BROWSER_MAKER "/windows/ie/downloads/default.asp"};

const GameKindInfo kKinds[] = {
    {GameKind::None, nullptr, 0, nullptr},
    {GameKind::Executable, nullptr, 0, "CMenuWnd::RunSelection at2"},
    {GameKind::Shockwave, "SWCtl.SWCtl.1", kHostShockwave, "CMenuWnd::RunSelection at3"},
    {GameKind::Flash, "ShockwaveFlash.ShockwaveFlash.7", kHostFlash, "CMenuWnd::RunSelection at4"},
    {GameKind::WebPage, "Shell.Explorer.2", kHostWebBrowser, "CMenuWnd::RunSelection at5"},
};

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// Whether the upper-cased text contains the (upper-case) needle.
bool ContainsUpper(const char* text, const char* needle) {
    std::size_t n = std::strlen(needle);
    for (; *text; ++text) {
        std::size_t k = 0;
        while (k < n && text[k] && UpperAscii(text[k]) == needle[k])
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        if (UpperAscii(*text) != UpperAscii(*prefix))
            return false;
    }
    return true;
}

} // namespace

GameKind FindGameKind(const char* path) {
    if (ContainsUpper(path, ".EXE"))
        return GameKind::Executable;
    if (ContainsUpper(path, ".DCR"))
        return GameKind::Shockwave;
    if (ContainsUpper(path, ".SWF"))
        return GameKind::Flash;
    if (ContainsUpper(path, ".HTM"))
        return GameKind::WebPage;
    return GameKind::None;
}

const GameKindInfo& GameKindOf(GameKind kind) {
    return kKinds[static_cast<int>(kind)];
}

bool IsWebAddress(const char* text) {
    return StartsWithNoCase(text, "http:") || StartsWithNoCase(text, "https:");
}

bool ResolveSelectionPath(char* dst, std::size_t size, const char* workDir, const char* url) {
    if (IsWebAddress(url)) {
        if (CopyText(dst, size, url))
            return true;
        if (size > 0)
            dst[0] = '\0';
        return false;
    }
    return JoinPath(dst, size, workDir, url);
}

int CloseKindFor(bool bHasWindow, SelectionCode code) {
    if (!bHasWindow || code == SelectionCode::RunExit)
        return kCloseProgram;
    if (code == SelectionCode::RunClose)
        return kCloseMenu;
    return kCloseToMenu;
}

const MissingControlOffer* MissingControlOf(GameKind kind) {
    switch (kind) {
    case GameKind::Shockwave:
        return &kMissingShockwave;
    case GameKind::Flash:
        return &kMissingFlash;
    case GameKind::WebPage:
        return &kMissingBrowser;
    default:
        return nullptr;
    }
}
