// Running a selection's game: an executable is started and waited for; a movie or page goes
// to its substitute player when the launch settings say so, and otherwise opens a game screen
// once its control is known to be installed.
#pragma once

#include "menu/menu_config.h"
#include "menu/player.h"

#include <windows.h>

// Runs the selection's game. hParentWnd is the launching menu's window (or none): it owns the
// game screen and is told when the game (or its player) starts and ends. strTitle is the
// menu's title. 1 when the game screen is open or the executable or player has run; 0 after a
// failure (and its box).
int RunSelection(const MenuSelection& s, const char* strTitle, const LaunchSettings& settings,
                 HWND hParentWnd);
