// Running a selection's game: the wait cursor, the kind of game found in its path, then an
// executable started and waited for, or a game screen opened with the selection's options.
#include "menu/run_selection_win.h"

#include "base/diag.h"
#include "base/globals.h"
#include "base/messages.h"
#include "menu/launch.h"
#include "platform/pad_win.h"
#include "screen/browser_table_win.h"
#include "screen/display_mode.h"
#include "screen/separate_browser_win.h"

#include <objbase.h>

namespace {

// Shows a launch error whose format takes the file's name or path.
void ShowLaunchError(const char* format, const char* file) {
    char text[TEXT_MAX * 2];
    FormatText(text, sizeof text, format, file);
    ShowError(text);
}

// Starts the executable as the player's game and waits until it ends. The display takes the
// selection's mode meanwhile. 1 when it ran; 0 after the error box.
int RunExecutable(const MenuSelection& s, const char* path, HCURSOR hPrevCursor,
                  bool& bCursorRestored) {
    WriteLog(GameKindOf(GameKind::Executable).marker);
    int bChanged = g_DisplayMode.CalcDisplayMode(s.bScreenFull, s.nScreenWidth, s.nScreenHeight,
                                                 s.nColorDepth);
    if (bChanged == 1)
        g_DisplayMode.ChangeDisplayMode(1);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &process)) {
        if (bChanged == 1)
            g_DisplayMode.ChangeDisplayMode(0);
        ShowLaunchError(kLaunchExecFailedFormat, path);
        return 0;
    }
    SetCursor(hPrevCursor);
    bCursorRestored = true;
    g_Pads.BeginGame(s.pad, nullptr, process.dwProcessId);
    WaitForSingleObject(process.hProcess, INFINITE);
    g_Pads.EndGame();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (bChanged == 1)
        g_DisplayMode.ChangeDisplayMode(0);
    // The launcher's part is done once the game has ended.
    PostQuitMessage(0);
    return 1;
}

// Whether the control that plays this kind of game is installed. When it is not, the player
// is offered its maker's download page; taking it ends the program.
bool ControlInstalled(GameKind kind, HWND hOwner) {
    const GameKindInfo& info = GameKindOf(kind);
    wchar_t progId[64];
    MultiByteToWideChar(CP_ACP, 0, info.progId, -1, progId, 64);
    CLSID clsid;
    if (SUCCEEDED(CLSIDFromProgID(progId, &clsid)))
        return true;
    const MissingControlOffer* offer = MissingControlOf(kind);
    if (MessageBoxA(hOwner, offer->text, offer->caption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        OpenSeparateBrowser(offer->page);
        PostQuitMessage(0);
    }
    return false;
}

// Opens the game screen for a movie or page and loads it. 1 when the game plays.
int OpenGameScreen(const GameScreenOptions& options, const PadMapping& pad, const char* path,
                   HWND hParentWnd) {
    // A record is taken only now, when a game screen is about to open.
    CBrowserFuncs* record = AddBrowser();
    if (!record)
        return 0;
    if (!record->OpenBrowser(options, hParentWnd)) {
        // A record whose game screen never made a window has nothing to close later.
        if (!record->hBkWnd)
            DeleteBrowser(record);
        return 0;
    }
    if (!record->OpenUrl(path)) {
        // The game screen stays as it was opened; the menu was not told to wait, so closing
        // that screen later only hands the menu back.
        record->nCloseKind = kCloseToMenu;
        return 0;
    }
    WriteLog("CMenuWnd::RunSelection at6");
    g_Pads.BeginGame(pad, record->hBkWnd, 0);
    if (hParentWnd)
        SendMessageA(hParentWnd, kMsgGameStarted, 0, 0);
    return 1;
}

} // namespace

int RunSelection(const MenuSelection& s, const char* strTitle, HWND hParentWnd) {
    WriteLog("CMenuWnd::RunSelection");
    char path[TEXT_MAX];
    if (!ResolveSelectionPath(path, sizeof path, g_szWorkDir, s.strUrl)) {
        ShowLaunchError(kLaunchPathTooLongFormat, s.strUrl);
        return 0;
    }

    HCURSOR hPrevCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    bool bCursorRestored = false;
    int result = 0;
    GameKind kind = FindGameKind(path);
    if (kind == GameKind::Executable) {
        result = RunExecutable(s, path, hPrevCursor, bCursorRestored);
    } else if (kind != GameKind::None) {
        WriteLog(GameKindOf(kind).marker);
        if (ControlInstalled(kind, hParentWnd))
            result = OpenGameScreen(GameScreenOptionsFor(s, kind, strTitle, hParentWnd != nullptr),
                                    s.pad, path, hParentWnd);
    } else {
        ShowLaunchError(kLaunchInvalidTypeFormat, path);
    }
    if (!bCursorRestored)
        SetCursor(hPrevCursor);
    return result;
}
