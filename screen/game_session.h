// A game session: everything a running game takes from the desktop and gives back when it
// ends. The display (the way the game gets its screen), the game controllers, the cursor and
// the launching menu's news are taken in one object, made by every launch path, and given
// back by its destructor in one order, whichever way the game ended. The decisions are plain
// logic; the desktop is reached through IGameDesktop and the display through CDisplayMode.
#pragma once

#include "screen/display_mode.h"
#include "screen/screen_geometry.h"

#include <cstdint>
#include <memory>

// What the session asks of the rest of the desktop: the Win32 side, or a test's fake.
class IGameDesktop {
  public:
    // The controllers play the game: gameScreen is its game screen's window (0 for an external
    // program), processId the external program's process (0 for a game screen).
    virtual void GiveControllers(std::uintptr_t gameScreen, std::uint32_t processId) = 0;
    // The launcher's windows take controller input again.
    virtual void TakeControllersBack() = 0;
    // The busy cursor shown while the launch starts gives way to the one before it.
    virtual void EndBusyCursor() = 0;
    // Hides the cursor until ShowCursor.
    virtual void HideCursor() = 0;
    virtual void ShowCursor() = 0;
    // The launching menu waits for the game (it has one, and it is still there).
    virtual void TellMenuStarted() = 0;
    // Whether the launching menu's window is still there to hear that the game ended.
    virtual bool MenuOpen() = 0;
    // To the launching menu: the game ended; nCloseKind says what the menu does now.
    virtual void TellMenuEnded(int nCloseKind) = 0;
    // Ends the program after the current message.
    virtual void Quit() = 0;
    virtual ~IGameDesktop() = default;
};

// How a game gets its screen. The display-mode switch is the only way that changes the
// desktop; a windowed movie leaves the display as it is, and a scaled full screen covers its
// monitor at the monitor's own mode, the game scaled onto it.
enum class ScreenWay { Unchanged, ModeSwitch, Scaled };

// What a game asks of the screen, from its selection.
struct ScreenRequest {
    int bScreenFull;
    int nScreenWidth, nScreenHeight;
    int nColorDepth;
    // A windowed game may still change the colour depth; false: it never touches the display.
    bool bMayChangeDepth;
    // How a full screen is made: a mode switch, or the monitor as it is with the game scaled.
    FullScreenWay fullScreenWay = FullScreenWay::Switch;
};

ScreenWay ChooseScreenWay(const ScreenRequest& request);

// What the menu hears when a session ends, by the close kind and whether the menu is there.
enum class EndNews { None, TellMenu, Quit };
EndNews EndNewsFor(int nCloseKind, bool bMenuOpen);

class CGameSession {
  public:
    // nCloseKind: what the end of the game does to the launching menu (or the program).
    CGameSession(std::unique_ptr<IGameDesktop> desktop, CDisplayMode& displayMode,
                 const ScreenRequest& screen, int nKind);
    // Gives back, in this order: the controllers, the display, the cursor; then tells the menu
    // (when the game was opened and the program is not already ending).
    ~CGameSession();
    CGameSession(const CGameSession&) = delete;
    CGameSession& operator=(const CGameSession&) = delete;

    // Takes the screen the way the request needs. True when the game's screen is in place
    // (a display that refused the switch leaves the desktop's screen, and false; a scaled full
    // screen changes nothing and is always in place).
    bool TakeScreen();
    ScreenWay Way() const { return ChooseScreenWay(request); }
    // Whether the display is in the game's mode because of this session.
    bool HasSwitchedDisplay() const { return bDisplayTaken; }
    // The game's window or process exists: from now on its end is news for the menu.
    void Opened() { bOpened = true; }
    // The game runs: the busy cursor goes, the controllers play it, the menu waits.
    void Started(std::uintptr_t gameScreen, std::uint32_t processId);
    // The busy cursor of the launch gives way (once; the end of the session does it too).
    void EndBusyCursor();
    // Hides the cursor for the session's length.
    void HideCursor();
    // The program is ending (its quit message came during the game): the menu hears nothing.
    void ProgramEnding() { bProgramEnding = true; }
    void SetCloseKind(int kind) { nCloseKind = kind; }
    int CloseKind() const { return nCloseKind; }

    // The launcher lost (false) or regained (true) the foreground. Another program in front
    // gets the desktop's screen; coming back gives the game its own, and calls onRegained
    // (with context) each time it did. A change that arrives while one is being applied (a
    // mode switch sends messages of its own) is applied after it, so that the latest always
    // decides.
    void SetForeground(bool bInFront, void (*onRegained)(void*), void* context);

  private:
    std::unique_ptr<IGameDesktop> pDesktop;
    CDisplayMode& display;
    ScreenRequest request;
    int nCloseKind;
    bool bDisplayTaken = false;
    bool bOpened = false;
    bool bStarted = false;
    bool bBusyCursorEnded = false;
    bool bCursorHidden = false;
    bool bProgramEnding = false;
    bool bSwitching = false;
    bool bWantGame = true;
};
