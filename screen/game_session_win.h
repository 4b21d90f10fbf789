// The game session on Windows: the desktop it takes from (the controller reader, the cursor)
// and the launching menu it tells, and the one way every launch path makes a session.
#pragma once

#include "base/scoped_win.h"
#include "platform/pad.h"
#include "screen/game_session.h"

#include <windows.h>

#include <memory>

// A session for a launch from the menu window hMenu (none: nothing is told, and the end of
// the game ends the program). busy: the launch's busy cursor, which gives way once the game
// runs (none when the launch path lets it go itself).
std::unique_ptr<CGameSession> MakeGameSession(const ScreenRequest& request, int nCloseKind,
                                              HWND hMenu, const PadMapping& pad, CBusyCursor* busy);
