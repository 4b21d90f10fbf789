#include "screen/game_session.h"

#include "base/diag.h"
#include "screen/browser_table.h"

#include <utility>

ScreenWay ChooseScreenWay(const ScreenRequest& request) {
    if (request.bScreenFull && request.fullScreenWay != FullScreenWay::Switch)
        return ScreenWay::Scaled;
    return request.bScreenFull || request.bMayChangeDepth ? ScreenWay::ModeSwitch
                                                          : ScreenWay::Unchanged;
}

EndNews EndNewsFor(int nCloseKind, bool bMenuOpen) {
    if (nCloseKind == kCloseProgram)
        return EndNews::Quit;
    if (bMenuOpen)
        return EndNews::TellMenu;
    // A menu that closes with its game, but is gone already, leaves nothing to come back to.
    return nCloseKind == kCloseMenu ? EndNews::Quit : EndNews::None;
}

CGameSession::CGameSession(std::unique_ptr<IGameDesktop> desktop, CDisplayMode& displayMode,
                           const ScreenRequest& screen, int nKind)
    : pDesktop(std::move(desktop)), display(displayMode), request(screen), nCloseKind(nKind) {}

CGameSession::~CGameSession() {
    if (bStarted)
        pDesktop->TakeControllersBack();
    if (bDisplayTaken)
        display.ChangeDisplayMode(0);
    if (bCursorHidden)
        pDesktop->ShowCursor();
    EndBusyCursor();
    if (!bOpened || bProgramEnding)
        return;
    switch (EndNewsFor(nCloseKind, pDesktop->MenuOpen())) {
    case EndNews::Quit:
        pDesktop->Quit();
        break;
    case EndNews::TellMenu:
        pDesktop->TellMenuEnded(nCloseKind);
        break;
    case EndNews::None:
        break;
    }
}

bool CGameSession::TakeScreen() {
    ScreenWay way = ChooseScreenWay(request);
    if (way == ScreenWay::Scaled)
        return true;
    if (way == ScreenWay::ModeSwitch &&
        display.CalcDisplayMode(request.bScreenFull, request.nScreenWidth, request.nScreenHeight,
                                request.nColorDepth) == 1) {
        display.ChangeDisplayMode(1);
        bDisplayTaken = true;
    }
    return bDisplayTaken;
}

void CGameSession::EndBusyCursor() {
    if (bBusyCursorEnded)
        return;
    pDesktop->EndBusyCursor();
    bBusyCursorEnded = true;
}

void CGameSession::Started(std::uintptr_t gameScreen, std::uint32_t processId) {
    EndBusyCursor();
    bOpened = true;
    bStarted = true;
    pDesktop->GiveControllers(gameScreen, processId);
    pDesktop->TellMenuStarted();
}

void CGameSession::HideCursor() {
    if (bCursorHidden)
        return;
    pDesktop->HideCursor();
    bCursorHidden = true;
}

void CGameSession::SetForeground(bool bInFront, void (*onRegained)(void*), void* context) {
    if (!bDisplayTaken)
        return;
    bWantGame = bInFront;
    if (bSwitching)
        return;
    bSwitching = true;
    bool bApplied = !bWantGame;
    while (bApplied != bWantGame) {
        bApplied = bWantGame;
        if (!bApplied) {
            WriteLog("ClientHostWndProc at4");
            display.ChangeDisplayMode(0);
            WriteLog("ClientHostWndProc at5");
        } else {
            WriteLog("ClientHostWndProc at6");
            display.ChangeDisplayMode(1);
            WriteLog("ClientHostWndProc at7");
            if (onRegained)
                onRegained(context);
        }
    }
    bSwitching = false;
}
