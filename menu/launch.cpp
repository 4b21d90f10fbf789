#include "menu/launch.h"

#include "base/program.h"
#include "base/text.h"
#include "host/host_text.h"
#include "screen/browser_table.h"

const char* const kLaunchExecFailedFormat = "Failed to execute external program\n\nfile=%s";
const char* const kLaunchInvalidTypeFormat =
    "Invalid file type specified to launch\n\nfile=%s\n\nOnly .exe, .dcr, .htm, or .html supported";
const char* const kLaunchPathTooLongFormat = "The file name is too long to launch\n\nfile=%s";

// The download pages of the controls' makers.
#define TOVAK_CONTROL_MAKER "http://www.macromedia.com"

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
    kBrowserDownloadUrl};

const GameKindInfo kKinds[] = {
    {GameKind::None, nullptr, 0, nullptr},
    {GameKind::Executable, nullptr, 0, "CMenuWnd::RunSelection at2"},
    {GameKind::Shockwave, kShockwaveProgId, kHostShockwave, "CMenuWnd::RunSelection at3"},
    {GameKind::Flash, "ShockwaveFlash.ShockwaveFlash.7", kHostFlash, "CMenuWnd::RunSelection at4"},
    {GameKind::WebPage, kWebBrowserProgId, kHostWebBrowser, "CMenuWnd::RunSelection at5"},
};

} // namespace

GameKind FindGameKind(const char* path) {
    if (ContainsNoCase(path, ".EXE"))
        return GameKind::Executable;
    if (ContainsNoCase(path, ".DCR"))
        return GameKind::Shockwave;
    if (ContainsNoCase(path, ".SWF"))
        return GameKind::Flash;
    if (ContainsNoCase(path, ".HTM"))
        return GameKind::WebPage;
    return GameKind::None;
}

const GameKindInfo& GameKindOf(GameKind kind) {
    return kKinds[static_cast<int>(kind)];
}

int CloseKindFor(bool bHasWindow, SelectionCode code) {
    if (!bHasWindow || code == SelectionCode::RunExit)
        return kCloseProgram;
    if (code == SelectionCode::RunClose)
        return kCloseMenu;
    return kCloseToMenu;
}

GameScreenOptions GameScreenOptionsFor(const MenuSelection& s, GameKind kind, const char* strTitle,
                                       bool bHasWindow) {
    GameScreenOptions options{};
    options.nBrowserType = GameKindOf(kind).nBrowserType;
    options.clrScreenBg = s.clrScreenBg;
    options.clrGameBg = s.clrGameBg;
    options.nScreenWidth = s.nScreenWidth;
    options.nScreenHeight = s.nScreenHeight;
    options.nGameWidth = s.nGameWidth;
    options.nGameHeight = s.nGameHeight;
    options.nColorDepth = s.nColorDepth;
    options.bScreenFull = s.bScreenFull;
    options.bCloseBtn = s.bCloseBtn;
    options.bShowCursor = s.bShowCursor;
    options.nQuality = s.nQuality;
    options.nCloseKind = CloseKindFor(bHasWindow, ClassifySelectionCode(s.strCode));
    options.bCloseOnEvent = s.bCloseOnEvent;
    options.fullScreenWay = s.fullScreenWay;
    // A menu's title is one of the program's texts, so it always fits.
    CopyText(options.strTitle, sizeof options.strTitle, strTitle);
    return options;
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
