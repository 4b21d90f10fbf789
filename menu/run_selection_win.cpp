// Running a selection's game: the wait cursor, the kind of game found in its path, then an
// executable started and waited for, a substitute player started and waited for while the
// menu waits, or a game screen opened with the selection's options.
#include "menu/run_selection_win.h"

#include "base/system_library_win.h"
#include "base/diag.h"
#include "base/globals.h"
#include "base/scoped_win.h"
#include "base/wide_win.h"
#include "host/browser_emulation_win.h"
#include "menu/launch.h"
#include "menu/player.h"
#include "screen/browser_table_win.h"
#include "screen/game_session_win.h"
#include "screen/separate_browser_win.h"

#include <objbase.h>

namespace {

// Shows a launch error whose format takes the file's name or path.
void ShowLaunchError(const char* format, const char* file) {
    char text[TEXT_MAX * 2];
    FormatText(text, sizeof text, format, file);
    ShowError(text);
}

// The start-up record of a launched game: shown maximised, with the busy cursor until it
// shows a window.
STARTUPINFOW GameStartupInfo() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    return startup;
}

// Starts the executable as the player's game and waits until it ends, in its session: the
// display takes the selection's mode meanwhile. 1 when it ran; 0 after the error box.
int RunExecutable(const MenuSelection& s, const char* path, CBusyCursor& busy) {
    WriteLog(GameKindOf(GameKind::Executable).marker);
    // The launcher's part is done once the game has ended: the session's end ends the program.
    // Full screen without a mode switch: the program starts as it would and shows itself.
    auto session = MakeGameSession(ScreenRequest{s.bScreenFull, s.nScreenWidth, s.nScreenHeight,
                                                 s.nColorDepth, true, s.fullScreenWay},
                                   kCloseProgram, nullptr, s.pad, &busy);
    session->TakeScreen();
    STARTUPINFOW startup = GameStartupInfo();
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(Wide(path).c_str(), nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &info)) {
        session.reset();
        ShowLaunchError(kLaunchExecFailedFormat, path);
        return 0;
    }
    CProcess process;
    process.Take(info);
    session->Started(0, process.dwProcessId);
    WaitForSingleObject(process.hProcess.Get(), INFINITE);
    return 1;
}

// Shows a player's error box, naming its program and the key that configures it.
void ShowPlayerError(const char* format, const char* program, const char* key) {
    char text[TEXT_MAX * 2];
    FormatText(text, sizeof text, format, program, key);
    ShowError(text);
}

// Waits until the process ends, handing this thread's messages on meanwhile, so that the
// launcher's windows repaint and answer while a player runs. False when the quit message came
// first: it is posted again for the main loop, and the process is left running.
bool WaitPumpingMessages(HANDLE hProcess) {
    for (;;) {
        DWORD wait = MsgWaitForMultipleObjects(1, &hProcess, FALSE, INFINITE, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0)
            return true;
        if (wait != WAIT_OBJECT_0 + 1) {
            // The wait for messages failed: waiting for the process alone is what remains.
            WaitForSingleObject(hProcess, INFINITE);
            return true;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// Plays the game with the player configured for its kind, in its session (the selection's
// display mode, the menu waiting); afterwards the selection's run code decides whether the
// menu comes back, closes, or the program ends. 1 when the player ran; 0 after the error box
// (the menu is then left as it was).
int RunPlayer(const MenuSelection& s, GameKind kind, const char* path,
              const LaunchSettings& settings, HWND hParentWnd, CBusyCursor& busy) {
    WriteLog("RunPlayer at1");
    PlayerCommand player = PlayerFor(settings, kind);
    char program[TEXT_MAX];
    char commandLine[kPlayerCommandMax];
    if (!MakePlayerCommand(player.command, g_szWorkDir, path, program, sizeof program, commandLine,
                           sizeof commandLine)) {
        ShowLaunchError(kPlayerCommandTooLongFormat, player.key);
        return 0;
    }
    std::wstring wideProgram = Wide(program);
    DWORD attributes = GetFileAttributesW(wideProgram.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ShowPlayerError(kPlayerMissingFormat, program, player.key);
        return 0;
    }
    // Made suspended, so that a player that cannot be started changes nothing, and one that
    // can starts in the game's display mode.
    STARTUPINFOW startup = GameStartupInfo();
    PROCESS_INFORMATION info{};
    // The command line is written to by the system: a copy of its own.
    std::wstring wideCommandLine = Wide(commandLine);
    if (!CreateProcessW(wideProgram.c_str(), &wideCommandLine[0], nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr,
                        Wide(g_szWorkDir).c_str(), &startup, &info)) {
        ShowPlayerError(kPlayerStartFailedFormat, program, player.key);
        return 0;
    }
    CProcess process;
    process.Take(info);
    WriteLog("RunPlayer at2");
    int nCloseKind = CloseKindFor(hParentWnd != nullptr, ClassifySelectionCode(s.strCode));
    auto session = MakeGameSession(ScreenRequest{s.bScreenFull, s.nScreenWidth, s.nScreenHeight,
                                                 s.nColorDepth, false, s.fullScreenWay},
                                   nCloseKind, hParentWnd, s.pad, &busy);
    session->TakeScreen();
    session->Started(0, process.dwProcessId);
    ResumeThread(process.hThread.Get());
    WriteLog("RunPlayer at3");
    if (!WaitPumpingMessages(process.hProcess.Get()))
        session->ProgramEnding();
    session.reset();
    WriteLog("RunPlayer at4");
    return 1;
}

// Whether the control that plays this kind of game is installed.
bool ControlInstalled(GameKind kind) {
    CLSID clsid;
    return SUCCEEDED(com::ClassOfProgId(Wide(GameKindOf(kind).progId).c_str(), &clsid));
}

// Tells the player that the kind's control is missing and offers its maker's download page;
// taking it ends the program.
void OfferMissingControl(GameKind kind, HWND hOwner) {
    const MissingControlOffer* offer = MissingControlOf(kind);
    if (MessageBoxW(hOwner, Wide(offer->text).c_str(), Wide(offer->caption).c_str(),
                    MB_YESNO | MB_ICONQUESTION) == IDYES) {
        OpenSeparateBrowser(offer->page);
        PostQuitMessage(0);
    }
}

// Opens the game screen for a movie or page, in its session, and loads it. 1 when the game
// plays.
int OpenGameScreen(const GameScreenOptions& options, const PadMapping& pad, const char* path,
                   HWND hParentWnd) {
    // A record is taken only now, when a game screen is about to open.
    CBrowserFuncs* record = AddBrowser();
    if (!record)
        return 0;
    // The busy cursor stays until the launch returns, page loading included.
    auto session =
        MakeGameSession(ScreenRequestFor(options), options.nCloseKind, hParentWnd, pad, nullptr);
    if (!record->OpenBrowser(options, std::move(session), hParentWnd)) {
        // A record whose game screen never made a window has nothing to close later.
        if (!record->hBkWnd)
            DeleteBrowser(record);
        return 0;
    }
    if (!record->OpenUrl(path)) {
        // The game screen stays as it was opened; the menu was not told to wait, so closing
        // that screen later only hands the menu back.
        record->session->SetCloseKind(kCloseToMenu);
        return 0;
    }
    WriteLog("CMenuWnd::RunSelection at6");
    record->session->Started(reinterpret_cast<std::uintptr_t>(record->hBkWnd), 0);
    return 1;
}

} // namespace

int RunSelection(const MenuSelection& s, const char* strTitle, const LaunchSettings& settings,
                 HWND hParentWnd) {
    WriteLog("CMenuWnd::RunSelection");
    char path[TEXT_MAX];
    if (!ResolveSelectionPath(path, sizeof path, g_szWorkDir, s.strUrl)) {
        ShowLaunchError(kLaunchPathTooLongFormat, s.strUrl);
        return 0;
    }

    CBusyCursor busy;
    int result = 0;
    GameKind kind = FindGameKind(path);
    if (kind == GameKind::Executable) {
        result = RunExecutable(s, path, busy);
    } else if (kind != GameKind::None) {
        WriteLog(GameKindOf(kind).marker);
        bool bInstalled = ControlInstalled(kind);
        if (PlayerTakesGame(settings, kind, bInstalled)) {
            result = RunPlayer(s, kind, path, settings, hParentWnd, busy);
        } else if (!bInstalled) {
            OfferMissingControl(kind, hParentWnd);
        } else {
            if (kind == GameKind::WebPage && settings.bBrowserEmulation)
                EnsureBrowserEmulation();
            result = OpenGameScreen(GameScreenOptionsFor(s, kind, strTitle, hParentWnd != nullptr),
                                    s.pad, path, hParentWnd);
        }
    } else {
        ShowLaunchError(kLaunchInvalidTypeFormat, path);
    }
    return result;
}
