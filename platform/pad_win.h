// Game controllers read through the standard controller API on a thread of their own, their
// input sent as keys to what is in front: the launcher's own windows while no game runs, the
// game while it runs.
#pragma once

#include "base/scoped_win.h"
#include "platform/pad.h"

#include <windows.h>

// A controller slot that is not connected is asked again only after this long: asking for a
// missing controller is slow on some systems.
constexpr DWORD kPadReaskMs = 2000;
// How often connected controllers are read while the launcher or its game is in front.
constexpr DWORD kPadPollMs = 16;

class CPadReader {
  public:
    CPadReader();
    ~CPadReader();
    CPadReader(const CPadReader&) = delete;
    CPadReader& operator=(const CPadReader&) = delete;

    // Controllers may be read (the configuration did not turn them off).
    void Enable() { bEnabled = true; }
    // Starts the reading thread, once, when enabled. The thread loads the first controller
    // library present; without one it ends, and the launcher goes on without controllers.
    void Start();
    // Ends the thread after it has let go of every key it holds down.
    void Stop();

    // A game runs: controller input goes to it, as the mapping says, while it is in front.
    // hGameScreen: its game screen's background window, which Back + Start closes (none for
    // an external program); processId: the external program's process (0 for a game screen).
    void BeginGame(const PadMapping& mapping, HWND hGameScreen, DWORD processId);
    // The game has ended: the launcher's windows take controller input again.
    void EndGame();

  private:
    struct Game {
        bool bRunning = false;
        PadMapping mapping;
        HWND hScreen = nullptr;
        DWORD processId = 0;
    };
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Run();
    Game CurrentGame();

    bool bEnabled = false;
    CHandle hThread;
    CHandle hStop;
    SRWLOCK lock = SRWLOCK_INIT;
    Game game; // guarded by lock
};

extern CPadReader g_Pads;
